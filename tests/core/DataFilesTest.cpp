// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/DataStore.h"
#include "ReferenceFilter.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

using namespace glyphmoor;
using namespace glyphmoor::test;
using namespace std::string_literals;

namespace {

std::vector<int> IndicesOf(const Runeword& runeword)
{
    std::vector<int> indices;
    for (int i = 0; i < runeword.GetItemTypeCount(); ++i)
        indices.push_back(runeword.GetItemType(i));
    return indices;
}

std::vector<int> RunesOf(const Runeword& runeword)
{
    std::vector<int> runes;
    for (int i = 0; i < runeword.GetRuneCount(); ++i)
        runes.push_back(runeword.GetRune(i));
    return runes;
}

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A store with the made-up rune and item tables loaded, ready for a runewords.dat.
class RunewordsFile : public ::testing::Test {
protected:
    RunewordsFile()
    {
        store.ParseRunes(TestRunesFile());
        store.ParseItemTypes(TestItemsFile());
    }

    const Runeword& ParseOne(const Bytes& record)
    {
        store.ParseRunewords(Concat({DateBytes(), record}));
        EXPECT_EQ(store.GetRunewordCount(), 1);
        return store.GetRuneword(0);
    }

    DataStore store{33, 18, 168, 6};
};

// ---- Date ----

TEST(DataFileDate, IsTheFirstThreeSignedBytes)
{
    const Bytes file{0x0B, 0x0A, 0x01, 0x14};
    EXPECT_EQ(ReadDataFileDate(file), (DataFileDate{11, 10, 1}));
    const Bytes negative{0xFF, 0x80, 0x7F};
    EXPECT_EQ(ReadDataFileDate(negative), (DataFileDate{-1, -128, 127}));
    const Bytes tooShort{0x0B, 0x0A};
    EXPECT_FALSE(ReadDataFileDate(tooShort).has_value());
}

TEST(DataFileDate, IsSkippedBeforeTheFirstRecord)
{
    // The date bytes 0B 0A 01 must not be read as a rune record.
    DataStore store(33, 18, 168, 6);
    store.ParseRunes(Concat({Bytes{0x0B, 0x0A, 0x01}, RuneRecord(5, "Vur", "x")}));
    EXPECT_EQ(store.GetRune(0).GetName(), "Vur");
    EXPECT_EQ(store.GetRune(0).GetClvl(), 5);
}

// ---- runes.dat ----

TEST(RunesFile, ReadsClvlNameAndDescriptionWithLineBreaks)
{
    DataStore store(33, 18, 168, 6);
    store.ParseRunes(Concat({DateBytes(), BytesOf("\x14Vur\x01"
                                                  "First line\x02Second line\x00"s)}));
    EXPECT_EQ(store.GetRune(0).GetClvl(), 20);
    EXPECT_EQ(store.GetRune(0).GetName(), "Vur");
    EXPECT_EQ(store.GetRune(0).GetDescription(), "First line\r\n\r\nSecond line");
    EXPECT_EQ(store.GetRune(1), Rune());
}

TEST(RunesFile, DescriptionMarkersAndOtherBytes)
{
    DataStore store(33, 18, 168, 6);
    // 0x03 is one line break; 0x01 and bytes above 0x7F are plain characters.
    store.ParseRunes(Concat({DateBytes(), RuneRecord(1, "K\xE9ss",
                                                     "a\x03"
                                                     "b\x01"
                                                     "c\xFF")}));
    EXPECT_EQ(store.GetRune(0).GetName(), "K\xE9ss");
    EXPECT_EQ(store.GetRune(0).GetDescription(), "a\r\nb\x01"
                                                 "c\xFF");
}

TEST(RunesFile, ClvlIsASignedByte)
{
    DataStore store(33, 18, 168, 6);
    store.ParseRunes(Concat({DateBytes(), RuneRecord(0xFF, "Vur", ""), RuneRecord(0x80, "Kess", "")}));
    EXPECT_EQ(store.GetRune(0).GetClvl(), -1);
    EXPECT_EQ(store.GetRune(1).GetClvl(), -128);
}

TEST(RunesFile, AllThirtyThreeRunesInFileOrder)
{
    DataStore store(33, 18, 168, 6);
    store.ParseRunes(TestRunesFile());
    for (int i = 0; i < 33; ++i) {
        EXPECT_EQ(store.GetRune(i).GetName(), TestRuneNames()[static_cast<std::size_t>(i)]);
        EXPECT_EQ(store.GetRune(i).GetClvl(), i + 1);
    }
}

TEST(RunesFile, RecordsBeyondThirtyThreeAreNotRead)
{
    DataStore store(33, 18, 168, 6);
    store.ParseRunes(Concat({TestRunesFile(), RuneRecord(90, "Extra", "never")}));
    EXPECT_EQ(store.FindRune("Extra"), -1);
    EXPECT_EQ(store.GetRune(32).GetName(), "Drom");
}

struct ShortFileCase {
    const char* label;
    Bytes file;
    int runesRead;

    // Failures name the case, not its bytes.
    friend std::ostream& operator<<(std::ostream& out, const ShortFileCase& c) { return out << c.label; }
};

class RunesFileEnd : public ::testing::TestWithParam<ShortFileCase> {};

TEST_P(RunesFileEnd, LeavesTheRestDefault)
{
    DataStore store(33, 18, 168, 6);
    store.ParseRunes(GetParam().file);
    for (int i = GetParam().runesRead; i < 33; ++i)
        EXPECT_EQ(store.GetRune(i), Rune()) << "rune " << i;
    EXPECT_EQ(store.GetRuneCount(), 33);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RunesFileEnd,
    ::testing::Values(ShortFileCase{"Empty", Bytes{}, 0}, ShortFileCase{"TwoBytes", Bytes{0x0B, 0x0A}, 0},
                      ShortFileCase{"DateOnly", DateBytes(), 0},
                      ShortFileCase{
                          "TwoRecords",
                          Concat({DateBytes(), RuneRecord(1, "Vur", "a"), RuneRecord(2, "Kess", "b")}), 2}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(RunesFile, ARecordCutByTheEndOfTheFileKeepsWhatWasRead)
{
    DataStore store(33, 18, 168, 6);
    store.ParseRunes(Concat({DateBytes(), RuneRecord(1, "Vur", "a"), BytesOf("\x07Kes")}));
    EXPECT_EQ(store.GetRune(1).GetClvl(), 7);
    EXPECT_EQ(store.GetRune(1).GetName(), "Kes");
    EXPECT_EQ(store.GetRune(1).GetDescription(), "");
    EXPECT_EQ(store.GetRune(2), Rune());

    DataStore clvlOnly(33, 18, 168, 6);
    clvlOnly.ParseRunes(Concat({DateBytes(), Bytes{0x09}}));
    EXPECT_EQ(clvlOnly.GetRune(0).GetClvl(), 9);
    EXPECT_EQ(clvlOnly.GetRune(0).GetName(), "");
}

// ---- items.dat ----

TEST(ItemsFile, ReadsSocketsCategoryAndName)
{
    DataStore store(33, 18, 168, 6);
    store.ParseItemTypes(Concat({DateBytes(),
                                 BytesOf("\x04\x01"
                                         "Cudgels"),
                                 Bytes{0x00}}));
    EXPECT_EQ(store.GetItemType(0).GetMaxSockets(), 4);
    EXPECT_EQ(store.GetItemType(0).GetCategory(), Melee);
    EXPECT_EQ(store.GetItemType(0).GetName(), "Cudgels");
}

TEST(ItemsFile, AllEighteenInFileOrder)
{
    DataStore store(33, 18, 168, 6);
    store.ParseItemTypes(TestItemsFile());
    for (int i = 0; i < 18; ++i) {
        const ItemRow& row = TestItemRows()[static_cast<std::size_t>(i)];
        EXPECT_EQ(store.GetItemType(i).GetName(), row.name);
        EXPECT_EQ(store.GetItemType(i).GetMaxSockets(), row.maxSockets);
        EXPECT_EQ(store.GetItemType(i).GetCategory(), row.category);
    }
}

TEST(ItemsFile, CategoryOutsideTheFormatBecomesNone)
{
    DataStore store(33, 18, 168, 6);
    store.ParseItemTypes(Concat(
        {DateBytes(), ItemRecord(3, 9, "Odd"), ItemRecord(2, 0xFF, "Odder"), ItemRecord(5, 3, "Pavises")}));
    EXPECT_EQ(store.GetItemType(0).GetCategory(), NoCategory);
    EXPECT_EQ(store.GetItemType(0).GetMaxSockets(), 3);
    EXPECT_EQ(store.GetItemType(0).GetName(), "Odd");
    EXPECT_EQ(store.GetItemType(1).GetCategory(), NoCategory);
    // The record after it is still read in step.
    EXPECT_EQ(store.GetItemType(2).GetName(), "Pavises");
    EXPECT_EQ(store.GetItemType(2).GetCategory(), Defence);
}

TEST(ItemsFile, SocketsAreASignedByte)
{
    DataStore store(33, 18, 168, 6);
    store.ParseItemTypes(Concat({DateBytes(), ItemRecord(0xFE, 1, "Odd")}));
    EXPECT_EQ(store.GetItemType(0).GetMaxSockets(), -2);
}

class ItemsFileEnd : public ::testing::TestWithParam<ShortFileCase> {};

TEST_P(ItemsFileEnd, TypesPastTheEndHaveEmptyNamesAndNoCategory)
{
    DataStore store(33, 18, 168, 6);
    store.ParseItemTypes(GetParam().file);
    for (int i = GetParam().runesRead; i < 18; ++i) {
        EXPECT_EQ(store.GetItemType(i).GetName(), "") << "item " << i;
        EXPECT_EQ(store.GetItemType(i).GetMaxSockets(), -1) << "item " << i;
        EXPECT_EQ(store.GetItemType(i).GetCategory(), NoCategory) << "item " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ItemsFileEnd,
    ::testing::Values(ShortFileCase{"Empty", Bytes{}, 0}, ShortFileCase{"DateOnly", DateBytes(), 0},
                      ShortFileCase{"ThreeRecords",
                                    Concat({DateBytes(), ItemRecord(3, 1, "Cudgels"),
                                            ItemRecord(2, 2, "Slings"), ItemRecord(4, 3, "Bucklers")}),
                                    3}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ItemsFile, ARecordCutAfterItsSocketsByteHasNoCategory)
{
    DataStore store(33, 18, 168, 6);
    store.ParseItemTypes(Concat({DateBytes(), ItemRecord(3, 1, "Cudgels"), Bytes{0x05}}));
    EXPECT_EQ(store.GetItemType(1).GetMaxSockets(), 5);
    EXPECT_EQ(store.GetItemType(1).GetCategory(), NoCategory);
    EXPECT_EQ(store.GetItemType(1).GetName(), "");
    EXPECT_EQ(store.GetItemType(2).GetMaxSockets(), -1);
}

// ---- runewords.dat ----

TEST_F(RunewordsFile, GroupWordThenTypeName)
{
    const Runeword& runeword = ParseOne(BytesOf("Salt Oath\x01"
                                                "Melee Weapons\x02"
                                                "Coifs\x01"
                                                "Vur\x01"
                                                "text\x00"s));
    EXPECT_EQ(runeword.GetName(), "Salt Oath");
    EXPECT_EQ(runeword.GetAllowedItemsText(), "Melee Weapons/Coifs");
    EXPECT_EQ(IndicesOf(runeword), Join(TestItemsOf(Melee), {store.FindItemType("Coifs")}));
    EXPECT_EQ(runeword.GetItemTokens(), (std::vector<std::string>{"Melee Weapons", "Coifs"}));
}

TEST_F(RunewordsFile, GroupWordsKeepTableOrderAndTokensKeepTheirOrder)
{
    const Runeword& runeword =
        ParseOne(RunewordRecord("Grey Tide", {"Pavises", "Missile Weapons", "Bucklers"}, {"Vur"}, ""));
    EXPECT_EQ(runeword.GetAllowedItemsText(), "Pavises/Missile Weapons/Bucklers");
    EXPECT_EQ(IndicesOf(runeword), Join(Join({17}, TestItemsOf(Missile)), {store.FindItemType("Bucklers")}));
}

TEST_F(RunewordsFile, WeaponsIsEveryMeleeAndMissileTypeInTableOrder)
{
    const Runeword& runeword = ParseOne(RunewordRecord("Lantern Hymn", {"Weapons"}, {"Vur"}, ""));
    EXPECT_EQ(IndicesOf(runeword), (std::vector<int>{0, 1, 3, 4, 6, 8, 9, 11, 12, 14}));
    EXPECT_EQ(runeword.GetAllowedItemsText(), "Weapons");
}

TEST_F(RunewordsFile, GroupWordsAreCaseSensitiveWholeTokens)
{
    const Runeword& runeword =
        ParseOne(RunewordRecord("Grey Tide", {"weapons", "Melee Weapons ", "Sabres"}, {"Vur"}, ""));
    EXPECT_EQ(IndicesOf(runeword), (std::vector<int>{-1, -1, 3}));
    EXPECT_EQ(runeword.GetAllowedItemsText(), "weapons/Melee Weapons /Sabres");
}

TEST_F(RunewordsFile, RunesInSocketOrder)
{
    const Runeword& runeword = ParseOne(BytesOf("Salt Oath\x01"
                                                "Slings\x01"
                                                "Quel\x03"
                                                "Kess\x01"
                                                "\x00"s));
    EXPECT_EQ(RunesOf(runeword), (std::vector<int>{store.FindRune("Quel"), store.FindRune("Kess")}));
    EXPECT_EQ(runeword.RuneOrderText(), "Quel Kess");
    EXPECT_EQ(runeword.ClvlRequirement(), store.FindRune("Quel") + 1);
}

TEST_F(RunewordsFile, UnknownNamesBecomeMinusOneAndKeepTheirText)
{
    const Runeword& runeword =
        ParseOne(RunewordRecord("Salt Oath", {"Sabres", "Kites"}, {"Vur", "Nowhere", "Kess"}, ""));
    EXPECT_EQ(IndicesOf(runeword), (std::vector<int>{3, -1}));
    EXPECT_EQ(RunesOf(runeword), (std::vector<int>{0, -1, 1}));
    EXPECT_EQ(runeword.GetRuneNames(), (std::vector<std::string>{"Vur", "Nowhere", "Kess"}));
    EXPECT_EQ(runeword.RuneOrderText(), "Vur Nowhere Kess");
    EXPECT_EQ(runeword.GetAllowedItemsText(), "Sabres/Kites");
    EXPECT_EQ(runeword.ClvlRequirement(), 2);
}

TEST_F(RunewordsFile, DescriptionTurnsByteFourIntoALineBreak)
{
    const Runeword& runeword = ParseOne(RunewordRecord("Salt Oath", {"Sabres"}, {"Vur"},
                                                       "a\x04"
                                                       "b\x02"
                                                       "c\x03"));
    EXPECT_EQ(runeword.GetDescription(), "a\r\nb\x02"
                                         "c\x03");
}

TEST_F(RunewordsFile, SevenRunesKeepTheFirstSixAndTheNextRecordInStep)
{
    store.ParseRunewords(Concat(
        {DateBytes(),
         RunewordRecord("Long One", {"Sabres"}, {"Vur", "Kess", "Orna", "Pell", "Dask", "Mirr", "Drom"}, "d"),
         RunewordRecord("Next One", {"Slings"}, {"Yon"}, "e")}));
    ASSERT_EQ(store.GetRunewordCount(), 2);
    const Runeword& first = store.GetRuneword(0);
    EXPECT_EQ(RunesOf(first), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(first.GetRuneNames().size(), 6u);
    EXPECT_EQ(first.RuneOrderText(), "Vur Kess Orna Pell Dask Mirr");
    EXPECT_EQ(first.ClvlRequirement(), 6);
    EXPECT_EQ(first.GetDescription(), "d");
    EXPECT_EQ(store.GetRuneword(1).GetName(), "Next One");
    EXPECT_EQ(store.GetRuneword(1).RuneOrderText(), "Yon");
}

TEST_F(RunewordsFile, TokensExpandingPastEighteenKeepEighteenIndicesAndAllTokens)
{
    // 10 weapons, 6 melee, 4 missile: 20 indices before the last token.
    const Runeword& runeword = ParseOne(
        RunewordRecord("Wide One", {"Weapons", "Melee Weapons", "Missile Weapons", "Bucklers"}, {"Vur"}, ""));
    std::vector<int> expected = Join(Join({0, 1, 3, 4, 6, 8, 9, 11, 12, 14}, TestItemsOf(Melee)), {1, 4});
    EXPECT_EQ(IndicesOf(runeword), expected);
    EXPECT_EQ(runeword.GetAllowedItemsText(), "Weapons/Melee Weapons/Missile Weapons/Bucklers");
    EXPECT_EQ(runeword.GetItemTokens().size(), 4u);
}

TEST(RunewordsFileWithoutItems, GroupWordMatchingNothingIsStillFollowedByASlash)
{
    // items.dat missing: no weapons, and every plain token finds item 0.
    DataStore store(33, 18, 168, 6);
    store.ParseRunes(TestRunesFile());
    store.ParseRunewords(
        Concat({DateBytes(), RunewordRecord("Salt Oath", {"Weapons", "Bucklers"}, {"Vur"}, "")}));
    const Runeword& runeword = store.GetRuneword(0);
    EXPECT_EQ(runeword.GetAllowedItemsText(), "Weapons/Bucklers");
    EXPECT_EQ(IndicesOf(runeword), (std::vector<int>{-1}));
}

TEST_F(RunewordsFile, AHundredAndFiftyRecordsSetTheCount)
{
    Bytes file = DateBytes();
    for (int i = 0; i < 150; ++i) {
        const Bytes record = RunewordRecord("Word " + std::to_string(i), {"Sabres"}, {"Vur"}, "");
        file.insert(file.end(), record.begin(), record.end());
    }
    store.ParseRunewords(file);
    EXPECT_EQ(store.GetRunewordCount(), 150);
    EXPECT_EQ(store.GetRunewordCapacity(), 168);
    EXPECT_EQ(store.FindRuneword("Word 149"), 149);
    // Entry 150 is an unused default record with an empty name: not searched.
    EXPECT_EQ(store.GetRuneword(150).GetName(), "");
    EXPECT_EQ(store.FindRuneword(""), -1);
}

TEST_F(RunewordsFile, RecordsBeyondTheCapacityAreNotRead)
{
    Bytes file = DateBytes();
    for (int i = 0; i < 170; ++i) {
        const Bytes record = RunewordRecord("Word " + std::to_string(i), {"Sabres"}, {"Vur"}, "");
        file.insert(file.end(), record.begin(), record.end());
    }
    store.ParseRunewords(file);
    EXPECT_EQ(store.GetRunewordCount(), 168);
    EXPECT_EQ(store.FindRuneword("Word 167"), 167);
    EXPECT_EQ(store.FindRuneword("Word 168"), -1);
}

struct RunewordsEndCase {
    const char* label;
    Bytes tail; // what follows one complete record
    int count;
    const char* lastName;
    const char* lastDescription;

    // Failures name the case, not its bytes.
    friend std::ostream& operator<<(std::ostream& out, const RunewordsEndCase& c) { return out << c.label; }
};

class RunewordsFileEnd : public RunewordsFile, public ::testing::WithParamInterface<RunewordsEndCase> {};

TEST_P(RunewordsFileEnd, DropsOnlyARecordCutInsideItsLists)
{
    const RunewordsEndCase& c = GetParam();
    store.ParseRunewords(
        Concat({DateBytes(), RunewordRecord("Salt Oath", {"Sabres"}, {"Vur"}, "first"), c.tail}));
    EXPECT_EQ(store.GetRunewordCount(), c.count);
    const Runeword& last = store.GetRuneword(c.count - 1);
    EXPECT_EQ(last.GetName(), c.lastName);
    EXPECT_EQ(last.GetDescription(), c.lastDescription);
    EXPECT_EQ(store.GetRuneword(1).GetRuneCount(), c.count == 2 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Tails, RunewordsFileEnd,
    ::testing::Values(
        RunewordsEndCase{"NothingMore", Bytes{}, 1, "Salt Oath", "first"},
        RunewordsEndCase{"InsideName", BytesOf("Grey"), 1, "Salt Oath", "first"},
        RunewordsEndCase{"AfterName", BytesOf("Grey Tide\x01"), 1, "Salt Oath", "first"},
        RunewordsEndCase{"InsideItemToken", BytesOf("Grey Tide\x01Sab"), 1, "Salt Oath", "first"},
        RunewordsEndCase{"AfterItemSeparator", BytesOf("Grey Tide\x01Sabres\x02"), 1, "Salt Oath", "first"},
        RunewordsEndCase{"AfterItemList", BytesOf("Grey Tide\x01Sabres\x01"), 1, "Salt Oath", "first"},
        RunewordsEndCase{"InsideRuneList", BytesOf("Grey Tide\x01Sabres\x01Vur\x03Ke"), 1, "Salt Oath",
                         "first"},
        RunewordsEndCase{"AfterRuneList", BytesOf("Grey Tide\x01Sabres\x01Vur\x01"), 2, "Grey Tide", ""},
        RunewordsEndCase{"InsideDescription",
                         BytesOf("Grey Tide\x01Sabres\x01Vur\x01"
                                 "half"),
                         2, "Grey Tide", "half"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(RunewordsFile, DateOnlyOrEmptyFileHoldsNoRunewords)
{
    store.ParseRunewords(DateBytes());
    EXPECT_EQ(store.GetRunewordCount(), 0);
    EXPECT_EQ(store.FindRuneword(""), -1);

    DataStore empty(33, 18, 168, 6);
    empty.ParseRunewords(Bytes{});
    EXPECT_EQ(empty.GetRunewordCount(), 0);
}

// ---- Loading by file name ----

TEST(LoadDataFiles, PresentFilesLoadWithoutMessages)
{
    TestIo t;
    t.files.files["runes.dat"] = TestRunesFile();
    t.files.files["items.dat"] = TestItemsFile();
    t.files.files["runewords.dat"] =
        Concat({DateBytes(), RunewordRecord("Salt Oath", {"Weapons"}, {"Kess", "Vur"}, "")});
    DataStore store(33, 18, 168, 6);
    EXPECT_TRUE(store.LoadRunes("runes.dat", t.io()));
    EXPECT_TRUE(store.LoadItemTypes("items.dat", t.io()));
    EXPECT_TRUE(store.LoadRunewords("runewords.dat", t.io()));
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_EQ(store.GetRunewordCount(), 1);
    EXPECT_EQ(store.GetRuneword(0).RuneOrderText(), "Kess Vur");
    EXPECT_EQ(store.GetRuneword(0).GetItemTypeCount(), 10);
}

TEST(LoadDataFiles, AnEmptyFileStillOpens)
{
    TestIo t;
    t.files.files["runewords.dat"] = Bytes{};
    DataStore store(33, 18, 168, 6);
    EXPECT_TRUE(store.LoadRunewords("runewords.dat", t.io()));
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_EQ(store.GetRunewordCount(), 0);
}

TEST(LoadDataFiles, EachMissingFileIsReportedInOrderAndLeavesDefaults)
{
    TestIo t;
    DataStore store(33, 18, 168, 6);
    EXPECT_FALSE(store.LoadRunes("runes.dat", t.io()));
    EXPECT_FALSE(store.LoadItemTypes("items.dat", t.io()));
    EXPECT_FALSE(store.LoadRunewords("runewords.dat", t.io()));
    const std::vector<Message> expected{
        {"Error...", "File not found: 'runes.dat'", MessageIcon::Exclamation, MessageButtons::Ok},
        {"Error...", "File not found: 'items.dat'", MessageIcon::Exclamation, MessageButtons::Ok},
        {"Error...", "File not found: 'runewords.dat'", MessageIcon::Exclamation, MessageButtons::Ok}};
    EXPECT_EQ(t.messages.shown, expected);
    EXPECT_EQ(store.GetRunewordCount(), 168);
    EXPECT_EQ(store.GetRune(0), Rune());
    EXPECT_EQ(store.GetItemType(0), ItemType());
}

TEST(LoadDataFiles, AnUnreadableFileIsReportedAsNotFound)
{
    TestIo t;
    t.files.unreadable.insert("items.dat");
    DataStore store(33, 18, 168, 6);
    EXPECT_FALSE(store.LoadItemTypes("items.dat", t.io()));
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, "File not found: 'items.dat'");
}

// ---- Writers ----

void ExpectSameTables(const DataStore& a, const DataStore& b)
{
    for (int i = 0; i < 33; ++i)
        EXPECT_EQ(a.GetRune(i), b.GetRune(i)) << "rune " << i;
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(a.GetItemType(i), b.GetItemType(i)) << "item type " << i;
    ASSERT_EQ(a.GetRunewordCount(), b.GetRunewordCount());
    for (int i = 0; i < a.GetRunewordCount(); ++i)
        EXPECT_TRUE(reference::SameRecord(a.GetRuneword(i), b.GetRuneword(i))) << "runeword " << i;
}

TEST_F(RunewordsFile, WrittenFilesAreTheBytesThatWereRead)
{
    const Bytes runewords = Concat({DateBytes(3, 4, 5),
                                    RunewordRecord("Salt Oath", {"Melee Weapons", "Coifs"}, {"Quel", "Kess"},
                                                   "a\x04"
                                                   "b"),
                                    RunewordRecord("Grey Tide", {"Kites"}, {"Nowhere"}, "")});
    store.ParseRunewords(runewords);
    EXPECT_EQ(store.WriteRunes(DataFileDate{11, 10, 1}), TestRunesFile());
    EXPECT_EQ(store.WriteItemTypes(DataFileDate{11, 10, 1}), TestItemsFile());
    EXPECT_EQ(store.WriteRunewords(DataFileDate{3, 4, 5}), runewords);
}

TEST_F(RunewordsFile, ParsingWhatWasWrittenGivesTheSameRecords)
{
    // Odd but legal content: signed bytes, unknown names, markers, a record
    // beyond the limits of the format.
    store.GetRune(4).SetClvl(-3);
    store.GetRune(5).SetDescription("one\r\n\r\n\r\ntwo\r\x01\n");
    store.GetItemType(6).SetFromFile("Odd", -1, 9);
    store.ParseRunewords(
        Concat({DateBytes(),
                RunewordRecord("Salt Oath", {"Weapons", "Melee Weapons", "Missile Weapons", "Coifs"},
                               {"Vur", "Kess", "Orna", "Pell", "Dask", "Mirr", "Drom"}, "x\x04y\x01z"),
                RunewordRecord("Grey Tide", {"Kites", "weapons"}, {"Nowhere", "Vur"}, ""),
                RunewordRecord("", {""}, {""}, "")}));

    DataStore copy(33, 18, 168, 6);
    copy.ParseRunes(store.WriteRunes({}));
    copy.ParseItemTypes(store.WriteItemTypes({}));
    copy.ParseRunewords(store.WriteRunewords({}));
    ExpectSameTables(store, copy);
}

TEST(Writers, RoundTripOfTablesBuiltInMemory)
{
    DataStore store(33, 18, 168, 6);
    for (int i = 0; i < 33; ++i) {
        store.GetRune(i).SetName("R" + std::to_string(i));
        store.GetRune(i).SetClvl(i * 3);
        store.GetRune(i).SetDescription(i % 2 ? "line\r\nnext" : "\r\n\r\nlead");
    }
    for (int i = 0; i < 18; ++i)
        store.GetItemType(i).Set("T" + std::to_string(i), i % 7, static_cast<ItemCategory>(i % 4));
    store.SetRunewordCount(2);
    for (int w = 0; w < 2; ++w) {
        Runeword& runeword = store.GetRuneword(w);
        runeword.SetName("W" + std::to_string(w));
        runeword.SetItemTokens({"T3", "Weapons"});
        runeword.SetRuneNames({"R1", "R" + std::to_string(w + 5)});
        runeword.SetRunes(std::vector<int>{1, w + 5});
        std::vector<int> items{3};
        for (int t = 0; t < 18; ++t) {
            if (store.GetItemType(t).IsWeapon())
                items.push_back(t);
        }
        runeword.SetItemTypes(items);
        runeword.SetAllowedItemsText("T3/Weapons");
        runeword.SetDescription("first\r\nsecond");
    }

    DataStore copy(33, 18, 168, 6);
    copy.ParseRunes(store.WriteRunes({1, 2, 3}));
    copy.ParseItemTypes(store.WriteItemTypes({1, 2, 3}));
    copy.ParseRunewords(store.WriteRunewords({1, 2, 3}));
    ExpectSameTables(store, copy);
    EXPECT_EQ(ReadDataFileDate(store.WriteRunewords({1, 2, 3})), (DataFileDate{1, 2, 3}));
}

TEST(Writers, TheWholeTableIsWrittenAsDefaultsWhenTheFileWasShort)
{
    // Items past the end of a short items.dat must come back as they were.
    DataStore store(33, 18, 168, 6);
    store.ParseItemTypes(Concat({DateBytes(), ItemRecord(3, 1, "Cudgels")}));
    DataStore copy(33, 18, 168, 6);
    copy.ParseItemTypes(store.WriteItemTypes({}));
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(store.GetItemType(i), copy.GetItemType(i)) << i;
}

} // namespace
