// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/DataStore.h"
#include "core/Roster.h"
#include "core/Settings.h"

#include <span>
#include <vector>

namespace glyphmoor {

// The indices of the runewords that pass every rule, in table order. With no
// checked rune or no checked item type nothing passes, whatever the rules.
std::vector<int> FilterRunewords(const DataStore& store, std::span<const int> checkedRunes,
                                 std::span<const int> checkedItemTypes, const Roster& roster,
                                 const FilterSettings& settings);

// The same, writing into `passed` (cleared first) so a caller can reuse it.
void FilterRunewords(const DataStore& store, std::span<const int> checkedRunes,
                     std::span<const int> checkedItemTypes, const Roster& roster,
                     const FilterSettings& settings, std::vector<int>& passed);

} // namespace glyphmoor
