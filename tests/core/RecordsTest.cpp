// SPDX-License-Identifier: GPL-3.0-or-later
// Lookups, item categories, the runeword's derived texts, and the filter's
// tests of one runeword (CheckedSelection) case by case.
#include "core/CheckedSelection.h"
#include "core/DataStore.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

using namespace glyphmoor;
using namespace glyphmoor::test;

namespace {

class RecordsTest : public ::testing::Test {
protected:
    RecordsTest()
    {
        store.ParseRunes(TestRunesFile());
        store.ParseItemTypes(TestItemsFile());
    }
    std::vector<int> Indices(const std::string& names, bool runes) const // space-separated; "?" is unknown
    {
        std::vector<int> indices;
        std::istringstream in(names);
        for (std::string name; in >> name;)
            indices.push_back(name == "?" ? -1 : runes ? store.FindRune(name) : store.FindItemType(name));
        return indices;
    }
    Runeword& Make(const std::string& runes, const std::string& items)
    {
        Runeword& runeword = store.GetRuneword(0);
        runeword.SetRunes(Indices(runes, true));
        runeword.SetItemTypes(Indices(items, false));
        return runeword;
    }
    DataStore store{33, 18, 168, 6};
};

TEST_F(RecordsTest, FindGivesTheLowestIndexOfTheExactBytes)
{
    EXPECT_EQ(store.FindRune("Kess"), 1);
    for (const char* near : {"kess", "Kess ", "Kes"})
        EXPECT_EQ(store.FindRune(near), -1) << near;
    EXPECT_EQ(store.FindItemType("Pavises"), 17);
    store.GetItemType(5).Set("Sabres", 2, Defence);
    EXPECT_EQ(store.FindItemType("Sabres"), 3);
    store.GetRuneword(9).SetName("Grey Tide");
    store.SetRunewordCount(9);
    EXPECT_EQ(store.FindRuneword("Grey Tide"), -1); // only the valid runewords
    store.SetRunewordCount(10);
    EXPECT_EQ(store.FindRuneword("Grey Tide"), 9);
    store.SetRunewordCount(500);
    EXPECT_EQ(store.GetRunewordCount(), 168);
    store.SetRunewordCount(-3);
    EXPECT_EQ(store.GetRunewordCount(), 0);
    EXPECT_EQ(DataStore(33, 18, 168, 6).FindItemType(""), 0); // the tables before any file
}

TEST(ItemCategoryCode, MapsToCategoryAndPredicates)
{
    // code, category, then IsWeapon, IsMeleeWeapon, IsMissileWeapon, IsDefence as digits.
    for (const auto& [code, category, flags] : std::vector<std::tuple<int, ItemCategory, int>>{
             {1, Melee, 1100}, {2, Missile, 1010}, {3, Defence, 1}, {0, NoCategory, 0}, {4, NoCategory, 0},
             {-1, NoCategory, 0}}) {
        ItemType type;
        type.SetFromFile("Cudgels", 3, code);
        EXPECT_EQ(type.GetCategory(), category) << code;
        EXPECT_EQ(type.IsWeapon() * 1000 + type.IsMeleeWeapon() * 100 + type.IsMissileWeapon() * 10 +
                      type.IsDefence(), flags) << code;
    }
}

TEST_F(RecordsTest, RuneOrderTextAndClvlRequirement)
{
    Runeword& word = Make("Quel Vur ? Drom", "");
    word.SetRuneNames({"Quel", "Vur", "Nowhere", "Drom"});
    EXPECT_EQ(word.RuneOrderText(), "Quel Vur Nowhere Drom");
    EXPECT_EQ(word.ClvlRequirement(), 33);
    store.GetRune(0).SetClvl(-5);
    EXPECT_EQ(Make("Vur ?", "").ClvlRequirement(), 0); // from 0, unknown runes skipped
    EXPECT_EQ(Make("", "").RuneOrderText(), "");
    word.SetRunes(std::vector<int>{33}); // past the table: the file's name
    word.SetRuneNames({"Far"});
    EXPECT_EQ(word.RuneOrderText(), "Far");
}

struct SelectionCase {
    const char* runes;   // the runeword's, by name
    const char* items;
    const char* checkedRunes;
    const char* checkedItems;
    int rule;
    bool matches, has, fits;
};

class Selection : public RecordsTest, public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(Selection, TestsOneRuneword)
{
    const SelectionCase& c = GetParam();
    store.GetItemType(2).Set("Shroud", 3, Defence);
    store.GetItemType(5).Set("Bulwark", 4, Defence);
    store.GetItemType(16).Set("Blank", 6, NoCategory);
    const Runeword& word = Make(c.runes, c.items);
    const CheckedSelection checked(store, Indices(c.checkedRunes, true), Indices(c.checkedItems, false));
    EXPECT_EQ(checked.MatchesRunes(word, c.rule), c.matches);
    EXPECT_EQ(checked.HasCheckedItemType(word), c.has);
    EXPECT_EQ(checked.FitsCheckedItemType(word), c.fits);
}

INSTANTIATE_TEST_SUITE_P(Cases, Selection, ::testing::Values(
    SelectionCase{"Vur Kess", "Sabres", "Vur Kess", "Sabres", AllRunes, true, true, true},
    SelectionCase{"Vur Kess", "Sabres", "Vur Kess Orna Drom", "Coifs", AllRunes, true, false, false},
    SelectionCase{"Vur Kess Orna", "Sabres", "Vur Kess", "Sabres", AllRunes, false, true, true},
    SelectionCase{"Pell Vur Pell", "Sabres", "Vur Pell", "Sabres", AllRunes, true, true, true},
    SelectionCase{"Pell Vur Pell", "Sabres", "Pell", "Sabres", AllRunes, false, true, true},
    SelectionCase{"Vur ?", "Sabres", "Vur", "Sabres", AllRunes, false, true, true},
    SelectionCase{"Vur Kess Orna", "Sabres", "Orna", "Sabres", AnyRune, true, true, true},
    SelectionCase{"Pell Vur Pell", "Sabres", "Pell", "Sabres", AnyRune, true, true, true},
    SelectionCase{"Vur Kess", "Sabres", "Orna Drom", "Sabres", AnyRune, false, true, true},
    SelectionCase{"Vur", "Sabres", "Vur", "Sabres", IgnoreRunes, false, true, true},
    SelectionCase{"Vur", "Sabres", "Vur", "Sabres", 0, false, true, true},
    SelectionCase{"Vur Kess Orna Pell", "Shroud", "Vur", "Shroud", AllRunes, false, true, false},
    SelectionCase{"Vur Kess Orna Pell", "Shroud", "Vur", "Shroud Bulwark", AllRunes, false, true, true},
    SelectionCase{"Vur Kess Orna Pell", "Shroud", "Vur", "Bulwark", AllRunes, false, false, true},
    SelectionCase{"Vur Kess Orna Pell", "Cudgels", "Vur", "Longbows", AllRunes, false, false, false},
    SelectionCase{"Vur Kess Orna Pell", "Cudgels", "Vur", "Flails", AllRunes, false, false, true},
    SelectionCase{"Vur Kess Orna Pell Dask", "Flails", "Vur", "Flails", AllRunes, false, true, false},
    SelectionCase{"Vur", "?", "Vur", "Blank", AllRunes, true, false, false},
    SelectionCase{"Vur", "Sabres Coifs", "Vur", "", AllRunes, true, false, false}));

} // namespace
