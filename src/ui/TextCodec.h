// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>
#include <string>

// Texts in the program's files are Windows-1252 bytes; Qt works in Unicode.
// These convert at that boundary, byte for byte for all 256 byte values.
QString FromCodePage(const std::string& bytes);
// Nothing when the text holds a character that Windows-1252 cannot hold.
std::optional<std::string> ToCodePage(const QString& text);
