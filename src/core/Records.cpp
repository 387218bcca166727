// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Records.h"

#include "core/DataStore.h"

#include <algorithm>

namespace glyphmoor {

void ItemType::Set(std::string newName, int newMaxSockets, ItemCategory newCategory)
{
    name = std::move(newName);
    maxSockets = newMaxSockets;
    category = newCategory;
}

void ItemType::SetFromFile(std::string newName, int newMaxSockets, int code)
{
    const ItemCategory fromCode = (code >= Melee && code <= Defence) ? static_cast<ItemCategory>(code)
                                                                      : NoCategory;
    Set(std::move(newName), newMaxSockets, fromCode);
}

std::string Runeword::RuneOrderText() const
{
    std::string text;
    for (std::size_t i = 0; i < runes.size(); ++i) {
        if (i > 0)
            text += ' ';
        if (store != nullptr && runes[i] >= 0 && runes[i] < store->GetRuneCount())
            text += store->GetRune(runes[i]).GetName();
        else if (i < runeNames.size())
            text += runeNames[i];
    }
    return text;
}

int Runeword::ClvlRequirement() const
{
    int requirement = 0;
    if (store == nullptr)
        return requirement;
    for (const int rune : runes) {
        if (rune >= 0 && rune < store->GetRuneCount())
            requirement = std::max(requirement, store->GetRune(rune).GetClvl());
    }
    return requirement;
}

bool Runeword::MatchesRunes(std::span<const int> checkedRunes, int rule) const
{
    int matches = 0;
    for (const int checked : checkedRunes)
        matches += static_cast<int>(std::count(runes.begin(), runes.end(), checked));
    switch (rule) {
    case AllRunes:
        return matches == GetRuneCount();
    case AnyRune:
        return matches >= 1;
    default:
        return false;
    }
}

bool Runeword::HasCheckedItemType(std::span<const int> checkedItemTypes) const
{
    return std::any_of(itemTypes.begin(), itemTypes.end(), [&](int allowed) {
        return std::find(checkedItemTypes.begin(), checkedItemTypes.end(), allowed) !=
               checkedItemTypes.end();
    });
}

bool Runeword::FitsCheckedItemType(std::span<const int> checkedItemTypes) const
{
    if (store == nullptr)
        return false;
    const int itemTypeTotal = store->GetItemTypeCount();
    for (const int checked : checkedItemTypes) {
        if (checked < 0 || checked >= itemTypeTotal)
            continue;
        const ItemType& socketed = store->GetItemType(checked);
        if (socketed.GetMaxSockets() < GetRuneCount())
            continue;
        for (const int allowed : itemTypes) {
            if (allowed >= 0 && allowed < itemTypeTotal && socketed.GetCategory() != NoCategory &&
                store->GetItemType(allowed).GetCategory() == socketed.GetCategory())
                return true;
        }
    }
    return false;
}

bool Runeword::SameRecord(const Runeword& other) const
{
    return name == other.name && runes == other.runes && itemTypes == other.itemTypes &&
           allowedItemsText == other.allowedItemsText && description == other.description &&
           runeNames == other.runeNames && itemTokens == other.itemTokens;
}

} // namespace glyphmoor
