// SPDX-License-Identifier: GPL-3.0-or-later
// The runeword filter against the obvious reference rules, over many
// pseudo-random tables, selections, rosters and settings.
#include "ReferenceFilter.h"
#include "core/CheckedSelection.h"
#include "core/RunewordFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace glyphmoor;

namespace {

TEST(RunewordFilter, DecidesAsTheReferenceRules)
{
    std::mt19937 random(20261206);
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int round = 0; round < 200; ++round) {
        DataStore store(33, 18, 40, 6);
        for (int r = 0; r < 33; ++r)
            store.GetRune(r).SetClvl(pick(1, 30));
        for (int t = 0; t < 18; ++t)
            store.GetItemType(t).SetFromFile("t" + std::to_string(t), pick(-2, 6), pick(0, 4));
        for (int w = 0; w < 40; ++w) {
            std::vector<int> runes(static_cast<std::size_t>(pick(0, 6)));
            for (int& rune : runes)
                rune = pick(-1, 32);
            std::vector<int> types(static_cast<std::size_t>(pick(0, 5)));
            for (int& type : types)
                type = pick(-1, 17);
            store.GetRuneword(w).SetRunes(runes);
            store.GetRuneword(w).SetItemTypes(types);
        }
        store.SetRunewordCount(pick(0, 40));
        // Every eighth round one list is (most likely) empty.
        std::vector<int> checkedRunes, checkedTypes;
        for (int r = 0; r < 33; ++r) {
            if (pick(0, round % 8 == 0 ? 40 : 2) == 0)
                checkedRunes.push_back(r);
        }
        for (int t = 0; t < 18; ++t) {
            if (pick(0, round % 8 == 4 ? 40 : 3) == 0)
                checkedTypes.push_back(t);
        }
        Roster roster;
        roster.characterCount = pick(0, 3);
        roster.selectedCharacter = pick(-1, 3);
        for (int k = 0; k < 4; ++k) // a slot past the count holds a level too, as after a delete
            roster.characters[static_cast<std::size_t>(k)].SetClvl(pick(1, 30));
        const FilterSettings settings{RuneRule(pick(1, 3)), CharacterRule(pick(1, 3)), pick(0, 20),
                                      pick(10, 31), pick(0, 3) == 0};
        const CheckedSelection checked(store, checkedRunes, checkedTypes);
        std::vector<int> expected;
        for (int w = 0; w < 40; ++w) {
            const Runeword& word = store.GetRuneword(w);
            for (int rule : {0, 1, 2, 3})
                ASSERT_EQ(checked.MatchesRunes(word, rule), reference::MatchesRunes(word, checkedRunes, rule))
                    << round;
            const bool has = reference::HasCheckedItemType(word, checkedTypes);
            const bool fits = reference::FitsCheckedItemType(store, word, checkedTypes);
            ASSERT_EQ(checked.HasCheckedItemType(word), has) << round;
            ASSERT_EQ(checked.FitsCheckedItemType(word), fits) << round;
            int requirement = 0;
            for (int p = 0; p < word.GetRuneCount(); ++p) {
                if (word.GetRune(p) >= 0 && word.GetRune(p) < 33)
                    requirement = std::max(requirement, store.GetRune(word.GetRune(p)).GetClvl());
            }
            // No selected character counts as level 0.
            bool someone = settings.characterRule == IgnoreCharacters ||
                           (settings.characterRule == SelectedCharacter && requirement == 0);
            for (int k = 0; k < roster.characterCount; ++k) {
                const bool counts = settings.characterRule == AnyCharacter || k == roster.selectedCharacter;
                someone |= counts && roster.characters[static_cast<std::size_t>(k)].GetClvl() >= requirement;
            }
            const bool inWindow = settings.ignoreClvlLimits ||
                                  (requirement > settings.clvlOver && requirement < settings.clvlUnder);
            if (w < store.GetRunewordCount() && !checkedRunes.empty() && has && fits && inWindow && someone &&
                (settings.runeRule == IgnoreRunes ||
                 reference::MatchesRunes(word, checkedRunes, settings.runeRule)))
                expected.push_back(w);
        }
        std::vector<int> passed{99}; // the result is cleared first
        FilterRunewords(store, checkedRunes, checkedTypes, roster, settings, passed);
        ASSERT_EQ(passed, expected) << round;
    }
}

} // namespace
