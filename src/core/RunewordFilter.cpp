// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/RunewordFilter.h"

#include "core/CheckedSelection.h"

namespace glyphmoor {

namespace {

bool CharacterRuleHolds(const Roster& roster, int characterRule, int requirement)
{
    switch (characterRule) {
    case SelectedCharacter: {
        const bool hasSelection =
            roster.selectedCharacter >= 0 && roster.selectedCharacter < roster.characterCount;
        const int clvl = hasSelection ? roster.Selected().GetClvl() : 0;
        return clvl >= requirement;
    }
    case AnyCharacter:
        for (int k = 0; k < roster.characterCount; ++k) {
            if (roster.characters[static_cast<std::size_t>(k)].GetClvl() >= requirement)
                return true;
        }
        return false;
    default:
        return true;
    }
}

} // namespace

void FilterRunewords(const DataStore& store, std::span<const int> checkedRunes,
                     std::span<const int> checkedItemTypes, const Roster& roster,
                     const FilterSettings& settings, std::vector<int>& passed)
{
    passed.clear();
    if (checkedRunes.empty() || checkedItemTypes.empty())
        return;
    const CheckedSelection checked(store, checkedRunes, checkedItemTypes);
    for (int index = 0; index < store.GetRunewordCount(); ++index) {
        const Runeword& runeword = store.GetRuneword(index);
        const int requirement = runeword.ClvlRequirement();
        if (!settings.ignoreClvlLimits &&
            !(requirement > settings.clvlOver && requirement < settings.clvlUnder))
            continue;
        if (!CharacterRuleHolds(roster, settings.characterRule, requirement))
            continue;
        if (settings.runeRule != IgnoreRunes && !checked.MatchesRunes(runeword, settings.runeRule))
            continue;
        if (!checked.HasCheckedItemType(runeword) || !checked.FitsCheckedItemType(runeword))
            continue;
        passed.push_back(index);
    }
}

std::vector<int> FilterRunewords(const DataStore& store, std::span<const int> checkedRunes,
                                 std::span<const int> checkedItemTypes, const Roster& roster,
                                 const FilterSettings& settings)
{
    std::vector<int> passed;
    FilterRunewords(store, checkedRunes, checkedItemTypes, roster, settings, passed);
    return passed;
}

} // namespace glyphmoor
