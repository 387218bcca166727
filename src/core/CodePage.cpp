// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CodePage.h"

#include <array>
#include <cstdio>

namespace glyphmoor {

namespace {

// 0x80 to 0x9F; 0 where the code page has no character.
constexpr std::array<char32_t, 32> HighControls{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

std::optional<char32_t> CharacterOfByte(std::uint8_t byte)
{
    if (byte < 0x80 || byte >= 0xA0)
        return byte;
    const char32_t character = HighControls[byte - 0x80u];
    if (character == 0)
        return std::nullopt;
    return character;
}

std::optional<std::uint8_t> ByteOfCharacter(char32_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<std::uint8_t>(character);
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] != 0 && HighControls[i] == character)
            return static_cast<std::uint8_t>(0x80 + i);
    }
    return std::nullopt;
}

std::optional<char32_t> DecodeUtf8(const std::string& text, std::size_t& pos)
{
    const auto byteAt = [&text](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byteAt(pos++);
    if (lead < 0x80)
        return lead;
    int more = 0;
    char32_t value = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        more = 1;
        value = lead & 0x1Fu;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2;
        value = lead & 0x0Fu;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3;
        value = lead & 0x07u;
        least = 0x10000;
    } else {
        return std::nullopt;
    }
    for (int i = 0; i < more; ++i) {
        if (pos >= text.size() || (byteAt(pos) & 0xC0) != 0x80)
            return std::nullopt;
        value = (value << 6) | (byteAt(pos++) & 0x3Fu);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return std::nullopt;
    return value;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Printable(const std::string& bytes)
{
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        const std::optional<char32_t> character = CharacterOfByte(byte);
        if (!character || byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        } else {
            AppendUtf8(out, *character);
        }
    }
    return out;
}

std::string Quoted(const std::string& bytes)
{
    // Built in place: GCC 12 at -O3 warns falsely about "'" + text + "'".
    std::string quoted(1, '\'');
    quoted += Printable(bytes);
    quoted += '\'';
    return quoted;
}

} // namespace glyphmoor
