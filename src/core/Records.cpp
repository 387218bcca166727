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
    for (int position = 0; position < GetRuneCount(); ++position)
        text += (position > 0 ? " " : "") + RuneName(position);
    return text;
}

std::string Runeword::RuneName(int position) const
{
    const auto at = static_cast<std::size_t>(position);
    const int rune = runes[at];
    if (store != nullptr && rune >= 0 && rune < store->GetRuneCount())
        return store->GetRune(rune).GetName();
    return at < runeNames.size() ? runeNames[at] : std::string();
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
