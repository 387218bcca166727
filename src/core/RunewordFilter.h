// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/DataStore.h"
#include "core/Roster.h"
#include "core/Settings.h"

#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace glyphmoor {

// The rows of a tick array that are ticked, in order: the filter's input.
template <std::size_t N>
std::vector<int> TickedRows(const std::array<bool, N>& ticks)
{
    std::vector<int> rows;
    for (std::size_t row = 0; row < N; ++row) {
        if (ticks[row])
            rows.push_back(static_cast<int>(row));
    }
    return rows;
}

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
