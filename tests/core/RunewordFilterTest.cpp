// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/RunewordFilter.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

using namespace glyphmoor;
using namespace glyphmoor::test;

namespace {

// Runes of the test table have clvl = index + 1: Vur 1, Kess 2, Orna 3, Pell 4,
// Hask 15, Jurl 16, Nesh 19, Prax 20, Drom 33.
class RunewordFilter : public ::testing::Test {
protected:
    RunewordFilter()
    {
        store.ParseRunes(TestRunesFile());
        store.ParseItemTypes(TestItemsFile());
    }
    void Add(const std::string& name, const std::vector<std::string>& items, const std::vector<std::string>& runes)
    {
        file = Concat({file, RunewordRecord(name, items, runes, "")});
        store.ParseRunewords(file);
    }
    std::vector<int> Named(const std::vector<std::string>& names, bool runes) const
    {
        std::vector<int> indices;
        for (const std::string& name : names)
            indices.push_back(runes ? store.FindRune(name) : store.FindItemType(name));
        std::sort(indices.begin(), indices.end());
        return indices;
    }
    static std::vector<int> All(int count)
    {
        std::vector<int> all(static_cast<std::size_t>(count));
        std::iota(all.begin(), all.end(), 0);
        return all;
    }
    std::string Listed(const std::vector<int>& runes, const std::vector<int>& items) const
    {
        std::string names;
        for (const int index : FilterRunewords(store, runes, items, roster, settings))
            names += (names.empty() ? "" : " ") + store.GetRuneword(index).GetName();
        return names;
    }
    std::string ListedWithEverything() const { return Listed(All(33), All(18)); }

    DataStore store{33, 18, 168, 6};
    Bytes file = DateBytes();
    Roster roster;
    FilterSettings settings;
};

struct LevelCase {
    FilterSettings settings;
    std::vector<int> clvls; // the roster's slots, of which `count` are in use
    int count;
    int selected;
    const char* listed;
};

class FilterLevels : public RunewordFilter, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(FilterLevels, BoundsAndCharacterRules)
{
    for (const auto& [name, rune] : std::vector<std::pair<std::string, std::string>>{
             {"Fifteen", "Hask"}, {"Sixteen", "Jurl"}, {"Nineteen", "Nesh"}, {"Twenty", "Prax"}, {"Low", "Vur"},
             {"Zero", ""}})
        Add(name, {"Sabres"}, rune.empty() ? std::vector<std::string>{"Nowhere"} : std::vector<std::string>{"Vur", rune});
    const LevelCase& c = GetParam();
    for (std::size_t k = 0; k < c.clvls.size(); ++k)
        roster.characters[k].SetNameAndClvl("C", c.clvls[k]);
    roster.characterCount = c.count;
    roster.selectedCharacter = c.selected;
    settings = c.settings;
    EXPECT_EQ(ListedWithEverything(), c.listed);
}

const char* const AllSix = "Fifteen Sixteen Nineteen Twenty Low Zero";
INSTANTIATE_TEST_SUITE_P(Rules, FilterLevels, ::testing::Values(
    LevelCase{{IgnoreRunes, IgnoreCharacters, 0, 100, true}, {}, 0, -1, AllSix},
    LevelCase{{IgnoreRunes, IgnoreCharacters, 60, 20, true}, {}, 0, -1, AllSix},
    LevelCase{{IgnoreRunes, IgnoreCharacters, 15, 20, false}, {}, 0, -1, "Sixteen Nineteen"},
    LevelCase{{IgnoreRunes, IgnoreCharacters, 14, 21, false}, {}, 0, -1, "Fifteen Sixteen Nineteen Twenty"},
    LevelCase{{IgnoreRunes, IgnoreCharacters, 0, 100, false}, {}, 0, -1, "Fifteen Sixteen Nineteen Twenty Low"},
    LevelCase{{IgnoreRunes, IgnoreCharacters, 16, 17, false}, {}, 0, -1, ""},
    LevelCase{{AllRunes, IgnoreCharacters, 0, 100, true}, {}, 0, -1, "Fifteen Sixteen Nineteen Twenty Low"},
    LevelCase{{AnyRune, IgnoreCharacters, 0, 100, true}, {}, 0, -1, "Fifteen Sixteen Nineteen Twenty Low"},
    LevelCase{{IgnoreRunes, SelectedCharacter, 0, 100, true}, {3, 16}, 2, 1, "Fifteen Sixteen Low Zero"},
    LevelCase{{IgnoreRunes, SelectedCharacter, 0, 100, true}, {3, 16}, 2, 0, "Low Zero"},
    LevelCase{{IgnoreRunes, SelectedCharacter, 0, 100, true}, {}, 0, -1, "Zero"},
    LevelCase{{IgnoreRunes, SelectedCharacter, 0, 100, true}, {99, 99}, 1, 1, "Zero"},
    LevelCase{{IgnoreRunes, AnyCharacter, 0, 100, true}, {3, 19, 15}, 3, 0, "Fifteen Sixteen Nineteen Low Zero"},
    LevelCase{{IgnoreRunes, AnyCharacter, 0, 100, true}, {1, 99}, 1, 0, "Low Zero"},
    LevelCase{{IgnoreRunes, AnyCharacter, 0, 100, true}, {}, 0, -1, ""}));

TEST_F(RunewordFilter, RuneRules)
{
    Add("Echo", {"Sabres"}, {"Pell", "Vur", "Pell"});
    const std::vector<int> sabres = Named({"Sabres"}, false);
    EXPECT_EQ(Listed(Named({"Pell", "Vur"}, true), sabres), "Echo");
    EXPECT_EQ(Listed(Named({"Pell"}, true), sabres), ""); // a rune twice counts twice
    settings.runeRule = AnyRune;
    EXPECT_EQ(Listed(Named({"Pell"}, true), sabres), "Echo");
    EXPECT_EQ(Listed(Named({"Kess"}, true), sabres), "");
    settings.runeRule = IgnoreRunes;
    EXPECT_EQ(Listed(Named({"Drom"}, true), sabres), "Echo");
    // Nothing checked lists nothing, whatever the rules.
    EXPECT_EQ(Listed({}, All(18)), "");
    EXPECT_EQ(Listed(All(33), {}), "");
}

TEST_F(RunewordFilter, ItemsNeedACheckedTypeOfTheirOwnAndOneOfTheCategoryWithTheSockets)
{
    // Tabards: defence, 3 sockets. Bucklers: defence, 4 sockets.
    Add("Warden", {"Tabards"}, {"Vur", "Kess", "Orna", "Pell"});
    Add("Bolt", {"Missile Weapons"}, {"Vur", "Kess", "Orna", "Pell", "Dask"});
    Add("Lost", {"Kites"}, {"Vur"});
    const std::vector<int> runes = All(33);
    EXPECT_EQ(Listed(runes, Named({"Tabards"}, false)), "");
    EXPECT_EQ(Listed(runes, Named({"Tabards", "Bucklers"}, false)), "Warden");
    EXPECT_EQ(Listed(runes, Named({"Bucklers"}, false)), "");
    EXPECT_EQ(Listed(runes, Named({"Tabards", "Longbows"}, false)), "Bolt"); // six sockets, not Warden's category
    EXPECT_EQ(Listed(runes, Named({"Arbalests"}, false)), "");            // four sockets for five runes
    EXPECT_EQ(Listed(runes, Named({"Arbalests", "Longbows"}, false)), "Bolt");
    EXPECT_EQ(ListedWithEverything(), "Warden Bolt");
}

TEST_F(RunewordFilter, OnlyTheValidRunewordsInTableOrderIntoAClearedResult)
{
    EXPECT_EQ(ListedWithEverything(), ""); // no runewords.dat: 168 default records
    Add("Zenith", {"Sabres"}, {"Vur"});
    Add("Amber", {"Sabres"}, {"Kess"});
    Add("Mist", {"Cudgels"}, {"Orna"});
    Runeword& stale = store.GetRuneword(5); // past the count, would pass
    stale.SetRunes(std::vector<int>{0});
    stale.SetItemTypes(Named({"Sabres"}, false));
    settings.runeRule = AnyRune;
    std::vector<int> passed{7, 8, 9};
    FilterRunewords(store, Named({"Vur", "Kess"}, true), Named({"Sabres"}, false), roster, settings, passed);
    EXPECT_EQ(passed, (std::vector<int>{0, 1}));
}

} // namespace
