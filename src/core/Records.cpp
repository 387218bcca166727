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

} // namespace glyphmoor
