// SPDX-License-Identifier: GPL-3.0-or-later
// The readers and writers of runes.dat, items.dat and runewords.dat.
#include "ReferenceFilter.h"
#include "TestSupport.h"
#include "core/DataStore.h"

#include <gtest/gtest.h>

using namespace glyphmoor;
using namespace glyphmoor::test;

namespace {

std::vector<int> ItemsOf(const Runeword& w)
{
    std::vector<int> indices;
    for (int i = 0; i < w.GetItemTypeCount(); ++i)
        indices.push_back(w.GetItemType(i));
    return indices;
}

ItemType Type(const std::string& name, int maxSockets, ItemCategory category)
{
    ItemType type;
    type.Set(name, maxSockets, category);
    return type;
}

Bytes Words(int count)
{
    Bytes file = DateBytes();
    for (int i = 0; i < count; ++i)
        file = Concat({file, RunewordRecord("Word " + std::to_string(i), {"Sabres"}, {"Vur"}, "")});
    return file;
}

TEST(RuneAndItemFiles, ReadSignedBytesTextsAndDefaultsPastTheEnd)
{
    EXPECT_EQ(ReadDataFileDate(Bytes{0x0B, 0xFF, 0x80, 0x14}), (DataFileDate{11, -1, -128}));
    EXPECT_FALSE(ReadDataFileDate(Bytes{0x0B, 0x0A}));
    DataStore store(33, 18, 168, 6);
    store.ParseRunes(Concat({DateBytes(),
                             RuneRecord(0xFF, "K\xE9ss",
                                        "a\x02"
                                        "b\x03"
                                        "c\x01"
                                        "d\xFF"),
                             RuneRecord(20, "Vur", ""), BytesOf("\x07Kes")}));
    EXPECT_EQ(store.GetRune(0).GetClvl(), -1);
    EXPECT_EQ(store.GetRune(0).GetName(), "K\xE9ss");
    EXPECT_EQ(store.GetRune(0).GetDescription(), "a\r\n\r\nb\r\nc\x01"
                                                 "d\xFF");
    EXPECT_EQ(store.GetRune(1).GetClvl(), 20);
    EXPECT_EQ(store.GetRune(2).GetName(), "Kes"); // a record cut by the end keeps what was read
    EXPECT_EQ(store.GetRune(2).GetClvl(), 7);
    EXPECT_EQ(store.GetRune(3), Rune());
    store.ParseRunes(Concat({TestRunesFile(), RuneRecord(90, "Extra", "never")}));
    EXPECT_EQ(store.GetRune(32).GetName(), "Drom");
    EXPECT_EQ(store.FindRune("Extra"), -1);

    store.ParseItemTypes(Concat({DateBytes(), ItemRecord(0xFE, 1, "Cudgels"), ItemRecord(3, 9, "Odd"),
                                 ItemRecord(2, 0xFF, "Odder"), ItemRecord(5, 3, "Pavises"), Bytes{0x05}}));
    EXPECT_EQ(store.GetItemType(0), Type("Cudgels", -2, Melee));
    EXPECT_EQ(store.GetItemType(1).GetCategory(), NoCategory); // codes outside 1 to 3
    EXPECT_EQ(store.GetItemType(2).GetCategory(), NoCategory);
    EXPECT_EQ(store.GetItemType(3), Type("Pavises", 5, Defence));
    EXPECT_EQ(store.GetItemType(4), Type("", 5, NoCategory)); // cut after its sockets
    for (int i = 5; i < 18; ++i)
        EXPECT_EQ(store.GetItemType(i), Type("", -1, NoCategory)) << i;
}

// A store with the made-up rune and item tables, ready for a runewords.dat.
class RunewordsFile : public ::testing::Test {
protected:
    RunewordsFile()
    {
        store.ParseRunes(TestRunesFile());
        store.ParseItemTypes(TestItemsFile());
    }
    const Runeword& ParseOne(const std::vector<std::string>& tokens, const std::vector<std::string>& runes,
                             const std::string& description = "")
    {
        store.ParseRunewords(Concat({DateBytes(), RunewordRecord("Salt Oath", tokens, runes, description)}));
        EXPECT_EQ(store.GetRunewordCount(), 1);
        return store.GetRuneword(0);
    }
    DataStore store{33, 18, 168, 6};
};

TEST_F(RunewordsFile, ItemTokensAndGroupWords)
{
    const std::vector<int> weapons{0, 1, 3, 4, 6, 8, 9, 11, 12, 14};
    EXPECT_EQ(ItemsOf(ParseOne({"Weapons"}, {"Vur"})), weapons);
    EXPECT_EQ(ItemsOf(ParseOne({"Melee Weapons", "Coifs"}, {"Vur"})),
              (std::vector<int>{0, 3, 6, 9, 12, 14, 7}));
    EXPECT_EQ(ItemsOf(ParseOne({"Pavises", "Missile Weapons", "Bucklers"}, {"Vur"})),
              (std::vector<int>{17, 1, 4, 8, 11, 2}));
    // Group words are whole, case-sensitive tokens; unknown tokens are -1 and keep their text.
    const Runeword& odd = ParseOne({"weapons", "Melee Weapons ", "Sabres", "Kites"}, {"Vur"});
    EXPECT_EQ(ItemsOf(odd), (std::vector<int>{-1, -1, 3, -1}));
    EXPECT_EQ(odd.GetAllowedItemsText(), "weapons/Melee Weapons /Sabres/Kites");
    EXPECT_EQ(odd.GetItemTokens(),
              (std::vector<std::string>{"weapons", "Melee Weapons ", "Sabres", "Kites"}));
    // At most 18 indices, every token kept.
    const Runeword& wide = ParseOne({"Weapons", "Melee Weapons", "Missile Weapons", "Bucklers"}, {"Vur"});
    EXPECT_EQ(ItemsOf(wide), (std::vector<int>{0, 1, 3, 4, 6, 8, 9, 11, 12, 14, 0, 3, 6, 9, 12, 14, 1, 4}));
    EXPECT_EQ(wide.GetItemTokens().size(), 4u);
    // Without items.dat a group word matches nothing and is still followed by a slash.
    DataStore noItems(33, 18, 168, 6);
    noItems.ParseRunewords(Concat({DateBytes(), RunewordRecord("S", {"Weapons", "Bucklers"}, {"Vur"}, "")}));
    EXPECT_EQ(noItems.GetRuneword(0).GetAllowedItemsText(), "Weapons/Bucklers");
    EXPECT_EQ(ItemsOf(noItems.GetRuneword(0)), (std::vector<int>{-1}));
}

TEST_F(RunewordsFile, RunesInSocketOrderTheDescriptionAndTheCount)
{
    const Runeword& word = ParseOne({"Sabres"}, {"Quel", "Nowhere", "Kess"},
                                    "a\x04"
                                    "b\x02"
                                    "c\x03");
    EXPECT_EQ(word.GetRuneNames(), (std::vector<std::string>{"Quel", "Nowhere", "Kess"}));
    EXPECT_EQ(word.RuneOrderText(), "Quel Nowhere Kess");
    EXPECT_EQ(word.GetDescription(), "a\r\nb\x02"
                                     "c\x03");
    // Seven runes: the first six are kept and the next record is read in step.
    store.ParseRunewords(Concat(
        {DateBytes(),
         RunewordRecord("Long", {"Sabres"}, {"Vur", "Kess", "Orna", "Pell", "Dask", "Mirr", "Drom"}, "d"),
         RunewordRecord("Next", {"Slings"}, {"Yon"}, "e")}));
    ASSERT_EQ(store.GetRunewordCount(), 2);
    EXPECT_EQ(store.GetRuneword(0).RuneOrderText(), "Vur Kess Orna Pell Dask Mirr");
    EXPECT_EQ(store.GetRuneword(0).GetRuneNames().size(), 6u);
    EXPECT_EQ(store.GetRuneword(0).GetDescription(), "d");
    EXPECT_EQ(store.GetRuneword(1).RuneOrderText(), "Yon");
    store.ParseRunewords(Words(170));
    EXPECT_EQ(store.GetRunewordCount(), 168);
    EXPECT_EQ(store.FindRuneword("Word 167"), 167);
    EXPECT_EQ(store.FindRuneword("Word 168"), -1);
}

class RunewordsFileEnd : public RunewordsFile,
                         public ::testing::WithParamInterface<std::pair<const char*, int>> {};

// What follows one complete record, and how many records load.
TEST_P(RunewordsFileEnd, DropsOnlyARecordCutInsideItsLists)
{
    store.ParseRunewords(Concat(
        {DateBytes(), RunewordRecord("Salt", {"Sabres"}, {"Vur"}, "first"), BytesOf(GetParam().first)}));
    EXPECT_EQ(store.GetRunewordCount(), GetParam().second);
    EXPECT_EQ(store.GetRuneword(0).GetDescription(), "first");
}

INSTANTIATE_TEST_SUITE_P(Tails, RunewordsFileEnd,
                         ::testing::Values(std::pair("", 1), std::pair("Grey", 1), std::pair("Grey\x01", 1),
                                           std::pair("Grey\x01Sab", 1), std::pair("Grey\x01Sabres\x02", 1),
                                           std::pair("Grey\x01Sabres\x01", 1),
                                           std::pair("Grey\x01Sabres\x01Vur\x03Ke", 1),
                                           std::pair("Grey\x01Sabres\x01Vur\x01", 2),
                                           std::pair("Grey\x01Sabres\x01Vur\x01half", 2)));

TEST(LoadDataFiles, EachFileThatDoesNotOpenIsReportedInOrder)
{
    TestIo t;
    DataStore store(33, 18, 168, 6);
    t.files.unreadable = {"items.dat"};
    EXPECT_FALSE(store.LoadRunes("runes.dat", t.io()));
    EXPECT_FALSE(store.LoadItemTypes("items.dat", t.io()));
    EXPECT_FALSE(store.LoadRunewords("runewords.dat", t.io()));
    const Message runes{"Error...", "File not found: 'runes.dat'", MessageIcon::Exclamation,
                        MessageButtons::Ok};
    EXPECT_EQ(t.messages.shown, (std::vector<Message>{runes, FileNotFoundMessage("items.dat"),
                                                      FileNotFoundMessage("runewords.dat")}));
    t.files.files = {{"runes.dat", TestRunesFile()}, {"items.dat", TestItemsFile()}, {"runewords.dat", {}}};
    t.files.unreadable.clear();
    EXPECT_TRUE(store.LoadRunes("runes.dat", t.io()));
    EXPECT_TRUE(store.LoadItemTypes("items.dat", t.io()));
    EXPECT_TRUE(store.LoadRunewords("runewords.dat", t.io())); // empty, but it opens
    EXPECT_EQ(t.messages.shown.size(), 3u);
    EXPECT_EQ(store.GetRunewordCount(), 0);
    EXPECT_EQ(store.GetRune(1).GetName(), "Kess");
    EXPECT_EQ(t.files.limits.at("runewords.dat"), 1u << 20); // read no more than the format can use
}

TEST_F(RunewordsFile, WritersGiveBackTheBytesAndTheRecords)
{
    const Bytes runewords = Concat({DateBytes(3, 4, 5),
                                    RunewordRecord("Salt Oath", {"Melee Weapons", "Coifs"}, {"Quel", "Kess"},
                                                   "a\x04"
                                                   "b"),
                                    RunewordRecord("Grey Tide", {"Kites", "weapons"},
                                                   {"Nowhere", "Vur", "Kess", "Orna", "Pell", "Dask"}, ""),
                                    RunewordRecord("", {""}, {""}, "")});
    store.ParseRunewords(runewords);
    EXPECT_EQ(store.WriteRunes(DataFileDate{11, 10, 1}), TestRunesFile());
    EXPECT_EQ(store.WriteItemTypes(DataFileDate{11, 10, 1}), TestItemsFile());
    EXPECT_EQ(store.WriteRunewords(DataFileDate{3, 4, 5}), runewords);
    // Contents set in memory come back through the files.
    store.GetRune(4).SetClvl(-3);
    store.GetRune(5).SetDescription("one\r\n\r\n\r\ntwo\r\x01\n");
    store.GetItemType(6).Set("Odd", -1, Melee);
    DataStore copy(33, 18, 168, 6);
    copy.ParseRunes(store.WriteRunes({}));
    copy.ParseItemTypes(store.WriteItemTypes({}));
    copy.ParseRunewords(store.WriteRunewords({}));
    for (int i = 0; i < 33; ++i)
        EXPECT_EQ(store.GetRune(i), copy.GetRune(i)) << "rune " << i;
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(store.GetItemType(i), copy.GetItemType(i)) << "item type " << i;
    ASSERT_EQ(copy.GetRunewordCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(reference::SameRecord(store.GetRuneword(i), copy.GetRuneword(i))) << "runeword " << i;
}

} // namespace
