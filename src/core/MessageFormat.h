// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <variant>

namespace glyphmoor {

using FormatArg = std::variant<std::string, int>;

// Message-style formatting: "%1" .. "%9" insert an argument as text, "%1!i!"
// as a signed decimal integer and "%1!.2i!" with at least two digits (leading
// zeros). "%%" is a percent sign. Inserted texts are never scanned again, so a
// description holding "%2" shows "%2". A reference to a missing argument, or a
// type that does not fit the argument, is copied unchanged.
std::string FormatMessage(const std::string& format, std::initializer_list<FormatArg> args);

} // namespace glyphmoor
