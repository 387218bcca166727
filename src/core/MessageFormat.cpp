// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/MessageFormat.h"

#include <charconv>
#include <cstddef>
#include <vector>

namespace glyphmoor {

namespace {

// Parses "!i!" or "!.Ni!" at format[pos]; returns the minimum digit count and
// moves pos past it, or returns -1 and leaves pos alone.
int ParseIntegerSpec(const std::string& format, std::size_t& pos)
{
    std::size_t p = pos;
    if (p >= format.size() || format[p] != '!')
        return -1;
    ++p;
    int digits = 1;
    if (p < format.size() && format[p] == '.') {
        ++p;
        const char* begin = format.data() + p;
        const char* end = format.data() + format.size();
        auto [next, error] = std::from_chars(begin, end, digits);
        if (error != std::errc() || next == begin || digits > 32)
            return -1;
        p += static_cast<std::size_t>(next - begin);
    }
    if (p + 1 >= format.size() || format[p] != 'i' || format[p + 1] != '!')
        return -1;
    pos = p + 2;
    return digits;
}

std::string PaddedDecimal(int value, int digits)
{
    const long long wide = value;
    std::string magnitude = std::to_string(wide < 0 ? -wide : wide);
    if (static_cast<int>(magnitude.size()) < digits)
        magnitude.insert(0, static_cast<std::size_t>(digits) - magnitude.size(), '0');
    return wide < 0 ? "-" + magnitude : magnitude;
}

} // namespace

std::string FormatMessage(const std::string& format, std::initializer_list<FormatArg> argList)
{
    const std::vector<FormatArg> args(argList);
    std::string out;
    std::size_t pos = 0;
    while (pos < format.size()) {
        const char c = format[pos];
        if (c != '%' || pos + 1 >= format.size()) {
            out += c;
            ++pos;
            continue;
        }
        const char next = format[pos + 1];
        if (next == '%') {
            out += '%';
            pos += 2;
            continue;
        }
        if (next < '1' || next > '9' || static_cast<std::size_t>(next - '1') >= args.size()) {
            out += c;
            ++pos;
            continue;
        }
        const FormatArg& arg = args[static_cast<std::size_t>(next - '1')];
        std::size_t after = pos + 2;
        const int digits = ParseIntegerSpec(format, after);
        if (digits >= 0 && std::holds_alternative<int>(arg)) {
            out += PaddedDecimal(std::get<int>(arg), digits);
            pos = after;
        } else if (digits < 0 && std::holds_alternative<std::string>(arg)) {
            out += std::get<std::string>(arg);
            pos += 2;
        } else {
            out += c;
            ++pos;
        }
    }
    return out;
}

} // namespace glyphmoor
