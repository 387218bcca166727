// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TextCodec.h"

#include "core/CodePage.h"

#include <algorithm>

// The five bytes Windows-1252 leaves without a character map to the C1
// control characters of the same value, so every byte survives a round trip.
QString FromCodePage(const std::string& bytes)
{
    // Outside 0x80-0x9F the code page is Latin-1, which Qt converts fast.
    const bool latin1 = std::none_of(bytes.begin(), bytes.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b >= 0x80 && b <= 0x9F;
    });
    if (latin1)
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QString text;
    for (const char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        text += QChar(static_cast<char16_t>(glyphmoor::CharacterOfByte(b).value_or(b)));
    }
    return text;
}

std::optional<std::string> ToCodePage(const QString& text)
{
    std::string bytes;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        std::optional<std::uint8_t> byte = glyphmoor::ByteOfCharacter(u);
        if (!byte && u >= 0x80 && u <= 0x9F && !glyphmoor::CharacterOfByte(static_cast<std::uint8_t>(u)))
            byte = static_cast<std::uint8_t>(u);
        if (!byte)
            return std::nullopt;
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}
