// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/RunewordFilter.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <string>
#include <vector>

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

    void Add(const std::string& name, const std::vector<std::string>& items,
             const std::vector<std::string>& runes)
    {
        file = Concat({file, RunewordRecord(name, items, runes, "")});
        store.ParseRunewords(file);
    }

    void AddCharacter(const std::string& name, int clvl)
    {
        roster.characters[static_cast<std::size_t>(roster.characterCount)].SetNameAndClvl(name, clvl);
        if (roster.selectedCharacter < 0)
            roster.selectedCharacter = 0;
        ++roster.characterCount;
    }

    std::vector<int> RunesNamed(const std::vector<std::string>& names) const
    {
        std::vector<int> indices;
        for (const std::string& name : names)
            indices.push_back(store.FindRune(name));
        std::sort(indices.begin(), indices.end());
        return indices;
    }

    std::vector<int> ItemsNamed(const std::vector<std::string>& names) const
    {
        std::vector<int> indices;
        for (const std::string& name : names)
            indices.push_back(store.FindItemType(name));
        std::sort(indices.begin(), indices.end());
        return indices;
    }

    std::vector<int> AllRuneIndices() const
    {
        std::vector<int> all(33);
        for (int i = 0; i < 33; ++i)
            all[static_cast<std::size_t>(i)] = i;
        return all;
    }

    std::vector<int> AllItemIndices() const
    {
        std::vector<int> all(18);
        for (int i = 0; i < 18; ++i)
            all[static_cast<std::size_t>(i)] = i;
        return all;
    }

    std::vector<std::string> Listed(const std::vector<int>& runes, const std::vector<int>& items) const
    {
        std::vector<std::string> names;
        for (const int index : FilterRunewords(store, runes, items, roster, settings))
            names.push_back(store.GetRuneword(index).GetName());
        return names;
    }

    // Every rune and item type checked: only the level and character rules act.
    std::vector<std::string> ListedWithEverything() const
    {
        return Listed(AllRuneIndices(), AllItemIndices());
    }

    DataStore store{33, 18, 168, 6};
    Bytes file = DateBytes();
    Roster roster;
    FilterSettings settings;
};

using Names = std::vector<std::string>;

// ---- Nothing checked ----

struct RulePair {
    const char* label;
    RuneRule runeRule;
    CharacterRule characterRule;

    // Failures name the case, not its bytes.
    friend std::ostream& operator<<(std::ostream& out, const RulePair& c) { return out << c.label; }
};

class FilterWithNothingChecked : public RunewordFilter, public ::testing::WithParamInterface<RulePair> {};

TEST_P(FilterWithNothingChecked, ListsNothing)
{
    Add("Salt Oath", {"Sabres"}, {"Vur"});
    AddCharacter("Wren", 99);
    settings.runeRule = GetParam().runeRule;
    settings.characterRule = GetParam().characterRule;
    EXPECT_EQ(Listed({}, AllItemIndices()), Names{});
    EXPECT_EQ(Listed(AllRuneIndices(), {}), Names{});
    EXPECT_EQ(Listed({}, {}), Names{});
    EXPECT_EQ(Listed(AllRuneIndices(), AllItemIndices()), Names{"Salt Oath"});
}

INSTANTIATE_TEST_SUITE_P(Rules, FilterWithNothingChecked,
                         ::testing::Values(RulePair{"AllRunes", AllRunes, IgnoreCharacters},
                                           RulePair{"AnyRune", AnyRune, IgnoreCharacters},
                                           RulePair{"IgnoreRunes", IgnoreRunes, IgnoreCharacters},
                                           RulePair{"IgnoreBoth", IgnoreRunes, AnyCharacter}),
                         [](const auto& info) { return std::string(info.param.label); });

// ---- Level bounds ----

class FilterLevels : public RunewordFilter {
protected:
    FilterLevels()
    {
        Add("Fifteen", {"Sabres"}, {"Hask"});
        Add("Sixteen", {"Sabres"}, {"Vur", "Jurl"});
        Add("Nineteen", {"Sabres"}, {"Nesh"});
        Add("Twenty", {"Sabres"}, {"Prax", "Kess"});
        Add("Low", {"Sabres"}, {"Vur"});
    }
};

TEST_F(FilterLevels, DefaultsListEveryRequirement)
{
    EXPECT_EQ(ListedWithEverything(), (Names{"Fifteen", "Sixteen", "Nineteen", "Twenty", "Low"}));
}

TEST_F(FilterLevels, BothBoundsAreStrict)
{
    settings.ignoreClvlLimits = false;
    settings.clvlOver = 15;
    settings.clvlUnder = 20;
    EXPECT_EQ(ListedWithEverything(), (Names{"Sixteen", "Nineteen"}));
    settings.clvlOver = 14;
    settings.clvlUnder = 21;
    EXPECT_EQ(ListedWithEverything(), (Names{"Fifteen", "Sixteen", "Nineteen", "Twenty"}));
}

TEST_F(FilterLevels, DefaultBoundsAppliedExcludeARequirementOfZero)
{
    // Bound 0 is strict too: a runeword of requirement 0 needs the limits off.
    Add("Nothing Known", {"Sabres"}, {"Nowhere"});
    settings.runeRule = IgnoreRunes;
    settings.ignoreClvlLimits = false;
    const Names limited = ListedWithEverything();
    EXPECT_EQ(std::count(limited.begin(), limited.end(), "Nothing Known"), 0);
    settings.ignoreClvlLimits = true;
    const Names all = ListedWithEverything();
    EXPECT_EQ(std::count(all.begin(), all.end(), "Nothing Known"), 1);
}

TEST_F(FilterLevels, IgnoringTheLimitsIgnoresAnyBounds)
{
    settings.ignoreClvlLimits = true;
    settings.clvlOver = 60;
    settings.clvlUnder = 20;
    EXPECT_EQ(ListedWithEverything().size(), 5u);
}

TEST_F(FilterLevels, BoundsThatLeaveNoRoomListNothing)
{
    settings.ignoreClvlLimits = false;
    settings.clvlOver = 16;
    settings.clvlUnder = 17;
    EXPECT_EQ(ListedWithEverything(), Names{});
}

// ---- Character rules ----

TEST_F(FilterLevels, SelectedCharacterQualifiesAtExactlyTheRequirement)
{
    AddCharacter("Low", 3);
    AddCharacter("Wren", 16);
    roster.selectedCharacter = 1;
    settings.characterRule = SelectedCharacter;
    EXPECT_EQ(ListedWithEverything(), (Names{"Fifteen", "Sixteen", "Low"}));
    roster.selectedCharacter = 0;
    EXPECT_EQ(ListedWithEverything(), (Names{"Low"}));
}

TEST_F(FilterLevels, AnyCharacterTakesTheBestOfTheRoster)
{
    AddCharacter("Low", 3);
    AddCharacter("Wren", 19);
    AddCharacter("Mid", 15);
    roster.selectedCharacter = 0;
    settings.characterRule = AnyCharacter;
    EXPECT_EQ(ListedWithEverything(), (Names{"Fifteen", "Sixteen", "Nineteen", "Low"}));
}

TEST_F(FilterLevels, AnyCharacterLooksOnlyAtCharactersInUse)
{
    AddCharacter("Low", 3);
    roster.characters[1].SetNameAndClvl("Stale", 99); // beyond characterCount
    settings.characterRule = AnyCharacter;
    EXPECT_EQ(ListedWithEverything(), (Names{"Low"}));
}

TEST_F(FilterLevels, IgnoreCharactersNeedsNoRoster)
{
    settings.characterRule = IgnoreCharacters;
    EXPECT_EQ(ListedWithEverything().size(), 5u);
}

TEST_F(FilterLevels, WithoutASelectedCharacterItsClvlCountsAsZero)
{
    Add("Nothing Known", {"Sabres"}, {"Nowhere"}); // requirement 0
    settings.runeRule = IgnoreRunes;
    settings.characterRule = SelectedCharacter;
    EXPECT_EQ(ListedWithEverything(), (Names{"Nothing Known"}));

    AddCharacter("Wren", 99);
    roster.selectedCharacter = -1;
    EXPECT_EQ(ListedWithEverything(), (Names{"Nothing Known"}));
    roster.selectedCharacter = 1; // past the characters in use
    EXPECT_EQ(ListedWithEverything(), (Names{"Nothing Known"}));
}

TEST_F(FilterLevels, AnyCharacterWithAnEmptyRosterListsNothing)
{
    Add("Nothing Known", {"Sabres"}, {"Nowhere"});
    settings.runeRule = IgnoreRunes;
    settings.characterRule = AnyCharacter;
    EXPECT_EQ(ListedWithEverything(), Names{});
}

// ---- Rune rules ----

TEST_F(RunewordFilter, RuneTwiceUnderAllRunesAndAnyRune)
{
    Add("Echo", {"Sabres"}, {"Pell", "Vur", "Pell"});
    const std::vector<int> items = ItemsNamed({"Sabres"});
    settings.runeRule = AllRunes;
    EXPECT_EQ(Listed(RunesNamed({"Pell", "Vur"}), items), Names{"Echo"});
    EXPECT_EQ(Listed(RunesNamed({"Pell"}), items), Names{});
    settings.runeRule = AnyRune;
    EXPECT_EQ(Listed(RunesNamed({"Pell"}), items), Names{"Echo"});
    EXPECT_EQ(Listed(RunesNamed({"Kess"}), items), Names{});
}

TEST_F(RunewordFilter, IgnoreRunesListsWhateverRunesAreChecked)
{
    Add("Salt Oath", {"Sabres"}, {"Vur", "Kess"});
    settings.runeRule = IgnoreRunes;
    EXPECT_EQ(Listed(RunesNamed({"Drom"}), ItemsNamed({"Sabres"})), Names{"Salt Oath"});
}

TEST_F(RunewordFilter, AnUnknownRuneCanNeverBeChecked)
{
    Add("Half Known", {"Sabres"}, {"Vur", "Nowhere"});
    settings.runeRule = AllRunes;
    EXPECT_EQ(Listed(AllRuneIndices(), AllItemIndices()), Names{});
    settings.runeRule = AnyRune;
    EXPECT_EQ(Listed(AllRuneIndices(), AllItemIndices()), Names{"Half Known"});
}

// ---- Item tests ----

TEST_F(RunewordFilter, FourRunesNeedACheckedTypeOfTheCategoryWithFourSockets)
{
    // Tabards: defence, 3 sockets. Bucklers: defence, 4 sockets.
    Add("Warden", {"Tabards"}, {"Vur", "Kess", "Orna", "Pell"});
    const std::vector<int> runes = RunesNamed({"Vur", "Kess", "Orna", "Pell"});
    EXPECT_EQ(Listed(runes, ItemsNamed({"Tabards"})), Names{});
    EXPECT_EQ(Listed(runes, ItemsNamed({"Tabards", "Bucklers"})), Names{"Warden"});
    // Bucklers alone fit four runes but are not among the runeword's types.
    EXPECT_EQ(Listed(runes, ItemsNamed({"Bucklers"})), Names{});
    // A weapon with six sockets is of the wrong category.
    EXPECT_EQ(Listed(runes, ItemsNamed({"Tabards", "Longbows"})), Names{});
}

TEST_F(RunewordFilter, AnUnknownItemTypeIsNeverMatched)
{
    Add("Lost", {"Kites"}, {"Vur"});
    EXPECT_EQ(Listed(AllRuneIndices(), AllItemIndices()), Names{});
}

TEST_F(RunewordFilter, GroupWordsOfferEveryTypeOfTheGroup)
{
    Add("Bolt", {"Missile Weapons"}, {"Vur", "Kess", "Orna", "Pell", "Dask"});
    const std::vector<int> runes = AllRuneIndices();
    // Arbalests (4) cannot take five runes; Longbows (6) can.
    EXPECT_EQ(Listed(runes, ItemsNamed({"Arbalests"})), Names{});
    EXPECT_EQ(Listed(runes, ItemsNamed({"Arbalests", "Longbows"})), Names{"Bolt"});
    EXPECT_EQ(Listed(runes, ItemsNamed({"Longbows"})), Names{"Bolt"});
}

// ---- Order ----

TEST_F(RunewordFilter, RowsKeepTableOrder)
{
    Add("Zenith", {"Sabres"}, {"Vur"});
    Add("Amber", {"Sabres"}, {"Kess"});
    Add("Mist", {"Cudgels"}, {"Orna"});
    Add("Bright", {"Sabres"}, {"Vur"});
    settings.runeRule = AnyRune;
    EXPECT_EQ(Listed(RunesNamed({"Vur", "Kess"}), ItemsNamed({"Sabres"})),
              (Names{"Zenith", "Amber", "Bright"}));
}

TEST_F(RunewordFilter, OnlyValidRunewordsAreVisited)
{
    Add("Salt Oath", {"Sabres"}, {"Vur"});
    // A record past runewordCount that would pass every rule.
    Runeword& stale = store.GetRuneword(5);
    stale.SetName("Stale");
    stale.SetRunes(std::vector<int>{0});
    stale.SetItemTypes(std::vector<int>{store.FindItemType("Sabres")});
    EXPECT_EQ(ListedWithEverything(), Names{"Salt Oath"});
}

TEST_F(RunewordFilter, WithoutARunewordsFileNothingIsListed)
{
    // 168 default runewords: no runes, no item types.
    ASSERT_EQ(store.GetRunewordCount(), 168);
    settings.runeRule = AllRunes;
    EXPECT_EQ(ListedWithEverything(), Names{});
    settings.runeRule = IgnoreRunes;
    EXPECT_EQ(ListedWithEverything(), Names{});
}

TEST_F(RunewordFilter, TheReusedResultIsClearedFirst)
{
    Add("Salt Oath", {"Sabres"}, {"Vur"});
    std::vector<int> passed{7, 8, 9};
    const std::vector<int> runes = AllRuneIndices();
    const std::vector<int> items = AllItemIndices();
    FilterRunewords(store, runes, items, roster, settings, passed);
    EXPECT_EQ(passed, std::vector<int>{0});
    FilterRunewords(store, {}, items, roster, settings, passed);
    EXPECT_EQ(passed, std::vector<int>{});
}

} // namespace
