// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace glyphmoor {

// The checks of the character dialogs' OK, in their order. Returns the text
// of the first message to show, or an empty text when the input is good, in
// which case clvl holds the level. The name is taken exactly as typed; the
// level text may have white space at both ends.
std::string ValidateCharacterInput(const std::string& name, const std::string& clvlText, int& clvl);

} // namespace glyphmoor
