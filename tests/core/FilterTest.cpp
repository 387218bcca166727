// SPDX-License-Identifier: GPL-3.0-or-later
// The runeword filter's rune and item rules against the obvious reference
// rules, over many pseudo-random tables and selections.
#include "ReferenceFilter.h"
#include "core/CheckedSelection.h"
#include "core/RunewordFilter.h"

#include <gtest/gtest.h>

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
        // The level and character rules let every runeword pass.
        const FilterSettings settings{RuneRule(pick(1, 3)), IgnoreCharacters, 0, 100, true};
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
            if (w < store.GetRunewordCount() && !checkedRunes.empty() && has && fits &&
                (settings.runeRule == IgnoreRunes ||
                 reference::MatchesRunes(word, checkedRunes, settings.runeRule)))
                expected.push_back(w);
        }
        std::vector<int> passed{99}; // the result is cleared first
        FilterRunewords(store, checkedRunes, checkedTypes, Roster{}, settings, passed);
        ASSERT_EQ(passed, expected) << round;
    }
}

} // namespace
