// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CheckedSelection.h"
#include "core/DataStore.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

#include <vector>

using namespace glyphmoor;
using namespace glyphmoor::test;

namespace {

// A store holding the made-up rune and item tables; runewords are built in
// memory by each test.
class RecordsTest : public ::testing::Test {
protected:
    RecordsTest()
    {
        store.ParseRunes(TestRunesFile());
        store.ParseItemTypes(TestItemsFile());
    }

    int Rune(const std::string& name) const { return store.FindRune(name); }
    int Item(const std::string& name) const { return store.FindItemType(name); }

    Runeword& Make(std::vector<int> runes, std::vector<int> itemTypes)
    {
        Runeword& runeword = store.GetRuneword(0);
        runeword.SetRunes(runes);
        runeword.SetItemTypes(itemTypes);
        return runeword;
    }

    // The filter's tests of one runeword against a selection.
    bool Matches(const Runeword& w, const std::vector<int>& runes, int rule) const
    {
        return CheckedSelection(store, runes, {}).MatchesRunes(w, rule);
    }
    bool Has(const Runeword& w, const std::vector<int>& types) const
    {
        return CheckedSelection(store, {}, types).HasCheckedItemType(w);
    }
    bool Fits(const Runeword& w, const std::vector<int>& types) const
    {
        return CheckedSelection(store, {}, types).FitsCheckedItemType(w);
    }

    DataStore store{33, 18, 168, 6};
};

// ---- Defaults and lookups ----

TEST(RecordDefaults, AreTheFreeRecords)
{
    const DataStore store(33, 18, 168, 6);
    EXPECT_EQ(store.GetRuneCount(), 33);
    EXPECT_EQ(store.GetItemTypeCount(), 18);
    EXPECT_EQ(store.GetRunewordCount(), 168);
    EXPECT_EQ(store.GetRunewordCapacity(), 168);
    EXPECT_EQ(store.GetMaxRunesPerRuneword(), 6);
    EXPECT_EQ(store.GetRune(32), Rune());
    EXPECT_EQ(store.GetRune(32).GetClvl(), 0);
    EXPECT_EQ(store.GetItemType(17).GetMaxSockets(), -1);
    EXPECT_EQ(store.GetItemType(17).GetCategory(), NoCategory);
    EXPECT_EQ(store.GetRuneword(167).GetRuneCount(), 0);
    EXPECT_EQ(store.GetRuneword(167).GetItemTypeCount(), 0);
    EXPECT_EQ(store.GetRuneword(167).RuneOrderText(), "");
    EXPECT_EQ(store.GetRuneword(167).ClvlRequirement(), 0);
}

TEST(RecordDefaults, EmptyItemNamesMakeTheEmptyTokenFindTheFirstType)
{
    // What runewords.dat looks up when items.dat was missing.
    const DataStore store(33, 18, 168, 6);
    EXPECT_EQ(store.FindItemType(""), 0);
    EXPECT_EQ(store.FindRune(""), 0);
}

TEST_F(RecordsTest, FindComparesExactBytes)
{
    EXPECT_EQ(store.FindRune("Kess"), 1);
    EXPECT_EQ(store.FindRune("kess"), -1);
    EXPECT_EQ(store.FindRune("KESS"), -1);
    EXPECT_EQ(store.FindRune("Kess "), -1);
    EXPECT_EQ(store.FindRune("Kes"), -1);
    EXPECT_EQ(store.FindItemType("Pavises"), 17);
    EXPECT_EQ(store.FindItemType("pavises"), -1);
}

TEST_F(RecordsTest, FindGivesTheLowestIndexOfADuplicateName)
{
    store.GetItemType(5).Set("Sabres", 2, Defence);
    EXPECT_EQ(store.FindItemType("Sabres"), 3);
    store.GetRune(30).SetName("Orna");
    EXPECT_EQ(store.FindRune("Orna"), 2);
}

TEST_F(RecordsTest, FindRunewordSearchesOnlyTheValidRunewords)
{
    store.GetRuneword(0).SetName("Salt Oath");
    store.GetRuneword(9).SetName("Grey Tide");
    store.SetRunewordCount(9);
    EXPECT_EQ(store.FindRuneword("Salt Oath"), 0);
    EXPECT_EQ(store.FindRuneword("Grey Tide"), -1);
    store.SetRunewordCount(10);
    EXPECT_EQ(store.FindRuneword("Grey Tide"), 9);
    store.SetRunewordCount(500);
    EXPECT_EQ(store.GetRunewordCount(), 168);
}

// ---- Item categories ----

struct CategoryCase {
    const char* label;
    int code;
    ItemCategory category;
    bool weapon, melee, missile, defence;

    // Failures name the case, not its bytes.
    friend std::ostream& operator<<(std::ostream& out, const CategoryCase& c) { return out << c.label; }
};

class ItemCategoryCode : public ::testing::TestWithParam<CategoryCase> {};

TEST_P(ItemCategoryCode, MapsToCategoryAndPredicates)
{
    const CategoryCase& c = GetParam();
    ItemType type;
    type.SetFromFile("Cudgels", 3, c.code);
    EXPECT_EQ(type.GetName(), "Cudgels");
    EXPECT_EQ(type.GetMaxSockets(), 3);
    EXPECT_EQ(type.GetCategory(), c.category);
    EXPECT_EQ(type.IsWeapon(), c.weapon);
    EXPECT_EQ(type.IsMeleeWeapon(), c.melee);
    EXPECT_EQ(type.IsMissileWeapon(), c.missile);
    EXPECT_EQ(type.IsDefence(), c.defence);
}

INSTANTIATE_TEST_SUITE_P(Codes, ItemCategoryCode,
                         ::testing::Values(CategoryCase{"Melee", 1, Melee, true, true, false, false},
                                           CategoryCase{"Missile", 2, Missile, true, false, true, false},
                                           CategoryCase{"Defence", 3, Defence, false, false, false, true},
                                           CategoryCase{"Zero", 0, NoCategory, false, false, false, false},
                                           CategoryCase{"Four", 4, NoCategory, false, false, false, false},
                                           CategoryCase{"Nine", 9, NoCategory, false, false, false, false},
                                           CategoryCase{"Negative", -1, NoCategory, false, false, false,
                                                        false}),
                         [](const auto& info) { return std::string(info.param.label); });

// ---- Rune order and level requirement ----

TEST_F(RecordsTest, RuneOrderTextJoinsNamesInSocketOrder)
{
    EXPECT_EQ(Make({Rune("Quel"), Rune("Vur"), Rune("Drom")}, {}).RuneOrderText(), "Quel Vur Drom");
    EXPECT_EQ(Make({Rune("Yon")}, {}).RuneOrderText(), "Yon");
    EXPECT_EQ(Make({}, {}).RuneOrderText(), "");
}

TEST_F(RecordsTest, RuneOrderTextShowsAnUnknownRuneUnderItsFileName)
{
    Runeword& runeword = Make({Rune("Vur"), -1, Rune("Kess")}, {});
    runeword.SetRuneNames({"Vur", "Nowhere", "Kess"});
    EXPECT_EQ(runeword.RuneOrderText(), "Vur Nowhere Kess");
}

TEST_F(RecordsTest, ClvlRequirementIsTheHighestRuneClvl)
{
    store.GetRune(0).SetClvl(11);
    store.GetRune(1).SetClvl(13);
    store.GetRune(2).SetClvl(9);
    EXPECT_EQ(Make({0, 1, 2}, {}).ClvlRequirement(), 13);
    EXPECT_EQ(Make({2, 0}, {}).ClvlRequirement(), 11);
    EXPECT_EQ(Make({}, {}).ClvlRequirement(), 0);
}

TEST_F(RecordsTest, ClvlRequirementStartsFromZeroAndSkipsUnknownRunes)
{
    store.GetRune(0).SetClvl(-5);
    store.GetRune(1).SetClvl(0);
    EXPECT_EQ(Make({0, 1}, {}).ClvlRequirement(), 0);
    store.GetRune(2).SetClvl(7);
    EXPECT_EQ(Make({-1, 2, -1}, {}).ClvlRequirement(), 7);
    EXPECT_EQ(Make({-1}, {}).ClvlRequirement(), 0);
}

// ---- MatchesRunes ----

struct RuneMatchCase {
    const char* label;
    std::vector<std::string> runeword; // rune names; "?" is a rune the table lacks
    std::vector<std::string> checked;  // in ascending table order
    int rule;
    bool matches;

    // Failures name the case, not its bytes.
    friend std::ostream& operator<<(std::ostream& out, const RuneMatchCase& c) { return out << c.label; }
};

class MatchesRunes : public RecordsTest, public ::testing::WithParamInterface<RuneMatchCase> {};

TEST_P(MatchesRunes, CountsPositionsWhoseRuneIsChecked)
{
    const RuneMatchCase& c = GetParam();
    std::vector<int> runes;
    for (const std::string& name : c.runeword)
        runes.push_back(name == "?" ? -1 : Rune(name));
    std::vector<int> checked;
    for (const std::string& name : c.checked)
        checked.push_back(Rune(name));
    EXPECT_EQ(Matches(Make(runes, {}), checked, c.rule), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MatchesRunes,
    ::testing::Values(
        RuneMatchCase{"AllCheckedExactly", {"Vur", "Kess"}, {"Vur", "Kess"}, AllRunes, true},
        RuneMatchCase{
            "AllWithExtraChecked", {"Vur", "Kess"}, {"Vur", "Kess", "Orna", "Drom"}, AllRunes, true},
        RuneMatchCase{"AllMissingOne", {"Vur", "Kess", "Orna"}, {"Vur", "Kess"}, AllRunes, false},
        RuneMatchCase{"AllRuneTwiceChecked", {"Pell", "Vur", "Pell"}, {"Vur", "Pell"}, AllRunes, true},
        RuneMatchCase{"AllRuneTwiceOtherMissing", {"Pell", "Vur", "Pell"}, {"Pell"}, AllRunes, false},
        RuneMatchCase{"AllUnknownRuneNeverMatches", {"Vur", "?"}, {"Vur"}, AllRunes, false},
        RuneMatchCase{"AnyOneOfThree", {"Vur", "Kess", "Orna"}, {"Orna"}, AnyRune, true},
        RuneMatchCase{"AnyRuneTwiceAloneIsEnough", {"Pell", "Vur", "Pell"}, {"Pell"}, AnyRune, true},
        RuneMatchCase{"AnyNoneChecked", {"Vur", "Kess"}, {"Orna", "Drom"}, AnyRune, false},
        RuneMatchCase{"IgnoreRuleIsFalseHere", {"Vur"}, {"Vur"}, IgnoreRunes, false},
        RuneMatchCase{"RuleZeroIsFalse", {"Vur"}, {"Vur"}, 0, false}),
    [](const auto& info) { return std::string(info.param.label); });

// ---- Item tests ----

TEST_F(RecordsTest, HasCheckedItemTypeNeedsOneOwnTypeChecked)
{
    const Runeword& runeword = Make({0}, {Item("Sabres"), Item("Coifs")});
    const std::vector<int> coifs{Item("Coifs")};
    const std::vector<int> others{Item("Cudgels"), Item("Bucklers"), Item("Pavises")};
    EXPECT_TRUE(Has(runeword, coifs));
    EXPECT_FALSE(Has(runeword, others));
    EXPECT_FALSE(Has(runeword, {}));
    EXPECT_FALSE(Has(Make({0}, {-1}), others));
}

TEST_F(RecordsTest, FitsCheckedItemTypeNeedsEnoughSocketsInTheSameCategory)
{
    // Four runes; the runeword's only type is a defence item with 3 sockets.
    store.GetItemType(2).Set("Shroud", 3, Defence);
    store.GetItemType(5).Set("Bulwark", 4, Defence);
    const Runeword& runeword = Make({0, 1, 2, 3}, {2});
    const std::vector<int> onlyOwn{2};
    const std::vector<int> withBigger{2, 5};
    EXPECT_FALSE(Fits(runeword, onlyOwn));
    EXPECT_TRUE(Fits(runeword, withBigger));
    // The checked type that fits need not be one of the runeword's own.
    const std::vector<int> biggerOnly{5};
    EXPECT_TRUE(Fits(runeword, biggerOnly));
    EXPECT_FALSE(Has(runeword, biggerOnly));
}

TEST_F(RecordsTest, FitsCheckedItemTypeIgnoresOtherCategories)
{
    // Longbows (missile, 6 sockets) cannot carry a runeword made for melee.
    const Runeword& runeword = Make({0, 1, 2, 3}, {Item("Cudgels")});
    const std::vector<int> missile{Item("Longbows")};
    EXPECT_FALSE(Fits(runeword, missile));
    const std::vector<int> melee{Item("Cudgels"), Item("Billhooks")};
    EXPECT_TRUE(Fits(runeword, melee));
}

TEST_F(RecordsTest, FitsCheckedItemTypeAcceptsExactlyRuneCountSockets)
{
    const std::vector<int> flails{Item("Flails")}; // 4 sockets
    EXPECT_TRUE(Fits(Make({0, 1, 2, 3}, {Item("Flails")}), flails));
    EXPECT_FALSE(Fits(Make({0, 1, 2, 3, 4}, {Item("Flails")}), flails));
}

TEST_F(RecordsTest, FitsCheckedItemTypeNeverMatchesAnUnknownItemType)
{
    // A checked type without category must not pair with an unknown entry.
    store.GetItemType(17).Set("", 6, NoCategory);
    const std::vector<int> checked{17};
    EXPECT_FALSE(Fits(Make({0}, {-1}), checked));
    EXPECT_FALSE(Has(Make({0}, {-1}), checked));
}

} // namespace
