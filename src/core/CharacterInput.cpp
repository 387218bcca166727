// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CharacterInput.h"

namespace glyphmoor {

std::string ValidateCharacterInput(const std::string& name, const std::string& clvlText, int& clvl)
{
    if (name.empty())
        return "You must enter a character name";
    if (clvlText.empty())
        return "You must enter a character level";
    const char* const space = " \t\r\n\v\f";
    const std::size_t first = clvlText.find_first_not_of(space);
    const std::string digits =
        first == std::string::npos ? std::string() : clvlText.substr(first, clvlText.find_last_not_of(space) - first + 1);
    if (digits.find_first_not_of("0123456789") != std::string::npos)
        return "Invalid character level";
    int value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
        if (value > 99)
            break;
    }
    if (value < 1 || value > 99)
        return "Clvl must be between 1 and 99";
    clvl = value;
    return {};
}

} // namespace glyphmoor
