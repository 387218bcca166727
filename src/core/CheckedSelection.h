// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <span>
#include <vector>

namespace glyphmoor {

class DataStore;
class Runeword;

// The checked runes and item types of one filter run, arranged so that each
// runeword is tested in a few steps: a flag per rune and item type, and for
// each item category the most sockets among the checked types of it.
class CheckedSelection {
public:
    CheckedSelection(const DataStore& store, std::span<const int> checkedRunes,
                     std::span<const int> checkedItemTypes);

    // Counts the runeword's positions whose rune is checked (a rune used twice
    // counts twice): all of them for all runes, one for any rune.
    bool MatchesRunes(const Runeword& runeword, int rule) const;
    // One of the runeword's own item types is checked.
    bool HasCheckedItemType(const Runeword& runeword) const;
    // Some checked item type shares a category with one of the runeword's
    // item types and has sockets for all its runes.
    bool FitsCheckedItemType(const Runeword& runeword) const;

private:
    const DataStore& store;
    std::vector<char> runeChecked;
    std::vector<char> itemTypeChecked;
    std::array<int, 4> mostSockets{}; // by category; -1 when none is checked
};

} // namespace glyphmoor
