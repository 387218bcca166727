// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileFormat.h"

namespace glyphmoor {

std::optional<DataFileDate> ReadDataFileDate(ByteView bytes)
{
    if (bytes.size() < DataFileDateSize)
        return std::nullopt;
    return DataFileDate{static_cast<std::int8_t>(bytes[0]), static_cast<std::int8_t>(bytes[1]),
                        static_cast<std::int8_t>(bytes[2])};
}

std::string DescriptionFromFile(std::string_view stored, DescriptionOf kind)
{
    std::string text;
    text.reserve(stored.size());
    for (const char c : stored) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (kind == DescriptionOf::Rune && byte == dat::RuneDoubleBreak)
            text += "\r\n\r\n";
        else if (byte == (kind == DescriptionOf::Rune ? dat::RuneBreak : dat::RunewordBreak))
            text += "\r\n";
        else
            text += c;
    }
    return text;
}

void AppendDescriptionToFile(Bytes& out, std::string_view text, DescriptionOf kind)
{
    const bool rune = kind == DescriptionOf::Rune;
    for (std::size_t i = 0; i < text.size();) {
        if (rune && text.compare(i, 4, "\r\n\r\n") == 0) {
            out.push_back(dat::RuneDoubleBreak);
            i += 4;
        } else if (text.compare(i, 2, "\r\n") == 0) {
            out.push_back(rune ? dat::RuneBreak : dat::RunewordBreak);
            i += 2;
        } else {
            out.push_back(static_cast<std::uint8_t>(text[i]));
            ++i;
        }
    }
}

} // namespace glyphmoor
