// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The runeword rules written the slow, obvious way (the reference for
// CheckedSelection) and a record comparison that ignores the owning store.
#include "core/DataStore.h"

#include <algorithm>
#include <span>
#include <utility>
#include <vector>

namespace glyphmoor::reference {

// Counts the positions whose rune is checked: all of them, or at least one.
inline bool MatchesRunes(const Runeword& word, std::span<const int> checkedRunes, int rule)
{
    int matches = 0;
    for (int p = 0; p < word.GetRuneCount(); ++p)
        matches += static_cast<int>(std::count(checkedRunes.begin(), checkedRunes.end(), word.GetRune(p)));
    return rule == AllRunes ? matches == word.GetRuneCount() : rule == AnyRune && matches >= 1;
}

inline bool HasCheckedItemType(const Runeword& word, std::span<const int> checkedItemTypes)
{
    for (int p = 0; p < word.GetItemTypeCount(); ++p) {
        if (std::count(checkedItemTypes.begin(), checkedItemTypes.end(), word.GetItemType(p)) > 0)
            return true;
    }
    return false;
}

// A checked item type with enough sockets in the category of one of the
// runeword's own types.
inline bool FitsCheckedItemType(const DataStore& store, const Runeword& word,
                                std::span<const int> checkedItemTypes)
{
    const int total = store.GetItemTypeCount();
    for (const int checked : checkedItemTypes) {
        if (checked < 0 || checked >= total ||
            store.GetItemType(checked).GetMaxSockets() < word.GetRuneCount())
            continue;
        for (int p = 0; p < word.GetItemTypeCount(); ++p) {
            const int own = word.GetItemType(p);
            if (own >= 0 && own < total && store.GetItemType(checked).GetCategory() != NoCategory &&
                store.GetItemType(own).GetCategory() == store.GetItemType(checked).GetCategory())
                return true;
        }
    }
    return false;
}

inline bool SameRecord(const Runeword& a, const Runeword& b)
{
    auto indices = [](const Runeword& w) {
        std::vector<int> runes, types;
        for (int p = 0; p < w.GetRuneCount(); ++p)
            runes.push_back(w.GetRune(p));
        for (int p = 0; p < w.GetItemTypeCount(); ++p)
            types.push_back(w.GetItemType(p));
        return std::pair(runes, types);
    };
    return a.GetName() == b.GetName() && indices(a) == indices(b) &&
           a.GetAllowedItemsText() == b.GetAllowedItemsText() && a.GetDescription() == b.GetDescription() &&
           a.GetRuneNames() == b.GetRuneNames() && a.GetItemTokens() == b.GetItemTokens();
}

} // namespace glyphmoor::reference
