// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace glyphmoor {

// Windows-1252, the code page of every text in the program's files. Five byte values (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) have no character; every other byte has exactly one.
std::optional<char32_t> CharacterOfByte(std::uint8_t byte);
std::optional<std::uint8_t> ByteOfCharacter(char32_t character);

// One character decoded from UTF-8, or nothing when the bytes at `pos` are
// not valid UTF-8. Advances `pos` past what was read either way.
std::optional<char32_t> DecodeUtf8(const std::string& text, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t character);

// Windows-1252 bytes as readable UTF-8 for messages: control bytes and bytes
// without a character show as \xHH.
std::string Printable(const std::string& bytes);
// The same between single quotes, for messages.
std::string Quoted(const std::string& bytes);

} // namespace glyphmoor
