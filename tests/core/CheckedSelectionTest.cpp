// SPDX-License-Identifier: GPL-3.0-or-later
// The filter's fast tests must decide exactly as the obvious reference tests, on
// every selection: compared over many pseudo-random tables and selections.
#include "core/CheckedSelection.h"
#include "core/DataStore.h"
#include "ReferenceFilter.h"

#include <gtest/gtest.h>

#include <random>

using namespace glyphmoor;

TEST(CheckedSelection, DecidesAsTheRunewordTests)
{
    std::mt19937 random(20261206);
    auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
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
        std::vector<int> checkedRunes;
        for (int r = 0; r < 33; ++r) {
            if (pick(0, 2) == 0)
                checkedRunes.push_back(r);
        }
        std::vector<int> checkedTypes;
        for (int t = 0; t < 18; ++t) {
            if (pick(0, 3) == 0)
                checkedTypes.push_back(t);
        }
        const CheckedSelection checked(store, checkedRunes, checkedTypes);
        for (int w = 0; w < 40; ++w) {
            const Runeword& word = store.GetRuneword(w);
            for (int rule : {0, 1, 2, 3})
                ASSERT_EQ(checked.MatchesRunes(word, rule), reference::MatchesRunes(word, checkedRunes, rule)) << round;
            ASSERT_EQ(checked.HasCheckedItemType(word), reference::HasCheckedItemType(word, checkedTypes)) << round;
            ASSERT_EQ(checked.FitsCheckedItemType(word), reference::FitsCheckedItemType(store, word, checkedTypes)) << round;
        }
    }
}
