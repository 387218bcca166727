// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CheckedSelection.h"

#include "core/DataStore.h"

#include <algorithm>

namespace glyphmoor {

namespace {

bool IsIndex(int index, std::size_t size)
{
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

// An item type whose file gave no category (stored as 0) shares a category
// with nothing, not even with another such type.
bool HasCategory(int category)
{
    return category >= Melee && category <= Defence;
}

} // namespace

CheckedSelection::CheckedSelection(const DataStore& store, std::span<const int> checkedRunes,
                                   std::span<const int> checkedItemTypes)
    : store(store), runeChecked(static_cast<std::size_t>(store.GetRuneCount()), 0),
      itemTypeChecked(static_cast<std::size_t>(store.GetItemTypeCount()), 0)
{
    mostSockets.fill(-1);
    for (const int rune : checkedRunes) {
        if (IsIndex(rune, runeChecked.size()))
            runeChecked[static_cast<std::size_t>(rune)] = true;
    }
    for (const int type : checkedItemTypes) {
        if (!IsIndex(type, itemTypeChecked.size()))
            continue;
        itemTypeChecked[static_cast<std::size_t>(type)] = true;
        const ItemType& itemType = store.GetItemType(type);
        if (HasCategory(itemType.GetCategory())) {
            int& most = mostSockets[static_cast<std::size_t>(itemType.GetCategory())];
            most = std::max(most, itemType.GetMaxSockets());
        }
    }
}

bool CheckedSelection::MatchesRunes(const Runeword& runeword, int rule) const
{
    int matches = 0;
    for (int position = 0; position < runeword.GetRuneCount(); ++position) {
        const int rune = runeword.GetRune(position);
        if (IsIndex(rune, runeChecked.size()) && runeChecked[static_cast<std::size_t>(rune)] != 0)
            ++matches;
    }
    switch (rule) {
    case AllRunes:
        return matches == runeword.GetRuneCount();
    case AnyRune:
        return matches >= 1;
    default:
        return false;
    }
}

bool CheckedSelection::HasCheckedItemType(const Runeword& runeword) const
{
    for (int position = 0; position < runeword.GetItemTypeCount(); ++position) {
        const int type = runeword.GetItemType(position);
        if (IsIndex(type, itemTypeChecked.size()) && itemTypeChecked[static_cast<std::size_t>(type)] != 0)
            return true;
    }
    return false;
}

bool CheckedSelection::FitsCheckedItemType(const Runeword& runeword) const
{
    for (int position = 0; position < runeword.GetItemTypeCount(); ++position) {
        const int type = runeword.GetItemType(position);
        if (!IsIndex(type, itemTypeChecked.size()))
            continue;
        const int category = store.GetItemType(type).GetCategory();
        // -1 when no type of the category is checked: never enough sockets.
        if (HasCategory(category) &&
            mostSockets[static_cast<std::size_t>(category)] >= runeword.GetRuneCount())
            return true;
    }
    return false;
}

} // namespace glyphmoor
