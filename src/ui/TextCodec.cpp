// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TextCodec.h"

#include <algorithm>
#include <array>

namespace {

// 0x80 to 0x9F of Windows-1252. The five bytes the code page leaves undefined
// map to the C1 control characters of the same value, so every byte survives
// a round trip.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

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
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += (b >= 0x80 && b <= 0x9F) ? QChar(HighControls[b - 0x80]) : QChar(b);
    }
    return text;
}

std::optional<std::string> ToCodePage(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes += static_cast<char>(u);
            continue;
        }
        bool found = false;
        for (std::size_t i = 0; i < HighControls.size(); ++i) {
            if (HighControls[i] == u) {
                bytes += static_cast<char>(0x80 + i);
                found = true;
                break;
            }
        }
        if (!found)
            return std::nullopt;
    }
    return bytes;
}
