// SPDX-License-Identifier: GPL-3.0-or-later
// The readers and writers of runes.dat, items.dat and runewords.dat.
#include "core/DataStore.h"
#include "ReferenceFilter.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace glyphmoor;
using namespace glyphmoor::test;
using namespace std::string_literals;

namespace {

std::vector<int> ItemsOf(const Runeword& w)
{
    std::vector<int> indices;
    for (int i = 0; i < w.GetItemTypeCount(); ++i)
        indices.push_back(w.GetItemType(i));
    return indices;
}

std::vector<int> RunesOf(const Runeword& w)
{
    std::vector<int> indices;
    for (int i = 0; i < w.GetRuneCount(); ++i)
        indices.push_back(w.GetRune(i));
    return indices;
}

Bytes Words(int count)
{
    Bytes file = DateBytes();
    for (int i = 0; i < count; ++i)
        file = Concat({file, RunewordRecord("Word " + std::to_string(i), {"Sabres"}, {"Vur"}, "")});
    return file;
}

TEST(RunesFile, ReadsSignedClvlNameAndDescriptionAfterTheDate)
{
    EXPECT_EQ(ReadDataFileDate(Bytes{0x0B, 0xFF, 0x80, 0x14}), (DataFileDate{11, -1, -128}));
    EXPECT_FALSE(ReadDataFileDate(Bytes{0x0B, 0x0A}));
    DataStore store(33, 18, 168, 6);
    store.ParseRunes(Concat({Bytes{0x0B, 0x0A, 0x01}, RuneRecord(0xFF, "K\xE9ss", "a\x02" "b\x03" "c\x01" "d\xFF"),
                             RuneRecord(20, "Vur", ""), BytesOf("\x07Kes")}));
    EXPECT_EQ(store.GetRune(0).GetClvl(), -1);
    EXPECT_EQ(store.GetRune(0).GetName(), "K\xE9ss");
    EXPECT_EQ(store.GetRune(0).GetDescription(), "a\r\n\r\nb\r\nc\x01" "d\xFF");
    EXPECT_EQ(store.GetRune(1).GetClvl(), 20);
    // A record cut by the end keeps what was read; the rest stay default.
    EXPECT_EQ(store.GetRune(2).GetName(), "Kes");
    EXPECT_EQ(store.GetRune(2).GetClvl(), 7);
    EXPECT_EQ(store.GetRune(3), Rune());
    store.ParseRunes(Concat({TestRunesFile(), RuneRecord(90, "Extra", "never")}));
    EXPECT_EQ(store.GetRune(32).GetName(), "Drom");
    EXPECT_EQ(store.GetRune(32).GetClvl(), 33);
    EXPECT_EQ(store.FindRune("Extra"), -1);
}

TEST(ItemsFile, ReadsSignedSocketsCategoryAndNameWithDefaultsPastTheEnd)
{
    DataStore store(33, 18, 168, 6);
    store.ParseItemTypes(Concat({DateBytes(), ItemRecord(0xFE, 1, "Cudgels"), ItemRecord(3, 9, "Odd"),
                                 ItemRecord(2, 0xFF, "Odder"), ItemRecord(5, 3, "Pavises"), Bytes{0x05}}));
    EXPECT_EQ(store.GetItemType(0).GetMaxSockets(), -2);
    EXPECT_EQ(store.GetItemType(0).GetCategory(), Melee);
    EXPECT_EQ(store.GetItemType(0).GetName(), "Cudgels");
    EXPECT_EQ(store.GetItemType(1).GetCategory(), NoCategory); // codes outside 1 to 3
    EXPECT_EQ(store.GetItemType(2).GetCategory(), NoCategory);
    EXPECT_EQ(store.GetItemType(3).GetName(), "Pavises");
    EXPECT_EQ(store.GetItemType(3).GetCategory(), Defence);
    EXPECT_EQ(store.GetItemType(4).GetMaxSockets(), 5); // cut after its sockets
    for (int i = 4; i < 18; ++i) {
        EXPECT_EQ(store.GetItemType(i).GetName(), "");
        EXPECT_EQ(store.GetItemType(i).GetMaxSockets(), i == 4 ? 5 : -1);
        EXPECT_EQ(store.GetItemType(i).GetCategory(), NoCategory);
    }
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
    int Item(const std::string& name) const { return store.FindItemType(name); }

    DataStore store{33, 18, 168, 6};
};

TEST_F(RunewordsFile, ItemTokensAndGroupWords)
{
    const std::vector<int> weapons{0, 1, 3, 4, 6, 8, 9, 11, 12, 14};
    EXPECT_EQ(ItemsOf(ParseOne({"Weapons"}, {"Vur"})), weapons);
    std::vector<int> expected = TestItemsOf(Melee);
    expected.push_back(Item("Coifs"));
    EXPECT_EQ(ItemsOf(ParseOne({"Melee Weapons", "Coifs"}, {"Vur"})), expected);
    expected = {17};
    for (const int i : TestItemsOf(Missile))
        expected.push_back(i);
    expected.push_back(Item("Bucklers"));
    EXPECT_EQ(ItemsOf(ParseOne({"Pavises", "Missile Weapons", "Bucklers"}, {"Vur"})), expected);
    // Group words are whole, case-sensitive tokens; unknown tokens are -1 and keep their text.
    const Runeword& odd = ParseOne({"weapons", "Melee Weapons ", "Sabres", "Kites"}, {"Vur"});
    EXPECT_EQ(ItemsOf(odd), (std::vector<int>{-1, -1, 3, -1}));
    EXPECT_EQ(odd.GetAllowedItemsText(), "weapons/Melee Weapons /Sabres/Kites");
    EXPECT_EQ(odd.GetItemTokens(), (std::vector<std::string>{"weapons", "Melee Weapons ", "Sabres", "Kites"}));
    // At most 18 indices, every token kept.
    const Runeword& wide = ParseOne({"Weapons", "Melee Weapons", "Missile Weapons", "Bucklers"}, {"Vur"});
    expected = weapons;
    for (const int i : TestItemsOf(Melee))
        expected.push_back(i);
    expected.insert(expected.end(), {1, 4});
    EXPECT_EQ(ItemsOf(wide), expected);
    EXPECT_EQ(wide.GetItemTokens().size(), 4u);
}

TEST_F(RunewordsFile, RunesInSocketOrderAndTheDescription)
{
    const Runeword& word = ParseOne({"Sabres"}, {"Quel", "Nowhere", "Kess"}, "a\x04" "b\x02" "c\x03");
    EXPECT_EQ(RunesOf(word), (std::vector<int>{store.FindRune("Quel"), -1, 1}));
    EXPECT_EQ(word.GetRuneNames(), (std::vector<std::string>{"Quel", "Nowhere", "Kess"}));
    EXPECT_EQ(word.RuneOrderText(), "Quel Nowhere Kess");
    EXPECT_EQ(word.ClvlRequirement(), store.FindRune("Quel") + 1);
    EXPECT_EQ(word.GetDescription(), "a\r\nb\x02" "c\x03");
    // Seven runes: the first six are kept and the next record is read in step.
    store.ParseRunewords(Concat({DateBytes(),
        RunewordRecord("Long", {"Sabres"}, {"Vur", "Kess", "Orna", "Pell", "Dask", "Mirr", "Drom"}, "d"),
        RunewordRecord("Next", {"Slings"}, {"Yon"}, "e")}));
    ASSERT_EQ(store.GetRunewordCount(), 2);
    EXPECT_EQ(store.GetRuneword(0).RuneOrderText(), "Vur Kess Orna Pell Dask Mirr");
    EXPECT_EQ(store.GetRuneword(0).GetRuneNames().size(), 6u);
    EXPECT_EQ(store.GetRuneword(0).GetDescription(), "d");
    EXPECT_EQ(store.GetRuneword(1).RuneOrderText(), "Yon");
}

TEST_F(RunewordsFile, CountAndCapacity)
{
    store.ParseRunewords(Words(150));
    EXPECT_EQ(store.GetRunewordCount(), 150);
    EXPECT_EQ(store.FindRuneword("Word 149"), 149);
    EXPECT_EQ(store.FindRuneword(""), -1); // the unused records are not searched
    store.ParseRunewords(Words(170));
    EXPECT_EQ(store.GetRunewordCount(), 168);
    EXPECT_EQ(store.FindRuneword("Word 168"), -1);
    for (const Bytes& file : {DateBytes(), Bytes{}}) {
        store.ParseRunewords(file);
        EXPECT_EQ(store.GetRunewordCount(), 0);
    }
    // Without items.dat a group word matches nothing and is still followed by a slash.
    DataStore noItems(33, 18, 168, 6);
    noItems.ParseRunewords(Concat({DateBytes(), RunewordRecord("S", {"Weapons", "Bucklers"}, {"Vur"}, "")}));
    EXPECT_EQ(noItems.GetRuneword(0).GetAllowedItemsText(), "Weapons/Bucklers");
    EXPECT_EQ(ItemsOf(noItems.GetRuneword(0)), (std::vector<int>{-1}));
}

struct EndCase {
    const char* tail; // what follows one complete record
    int count;
    const char* lastDescription;
};

class RunewordsFileEnd : public RunewordsFile, public ::testing::WithParamInterface<EndCase> {};

TEST_P(RunewordsFileEnd, DropsOnlyARecordCutInsideItsLists)
{
    store.ParseRunewords(Concat({DateBytes(), RunewordRecord("Salt", {"Sabres"}, {"Vur"}, "first"),
                                 BytesOf(GetParam().tail)}));
    EXPECT_EQ(store.GetRunewordCount(), GetParam().count);
    EXPECT_EQ(store.GetRuneword(GetParam().count - 1).GetDescription(), GetParam().lastDescription);
}

INSTANTIATE_TEST_SUITE_P(Tails, RunewordsFileEnd, ::testing::Values(
    EndCase{"", 1, "first"},
    EndCase{"Grey", 1, "first"},
    EndCase{"Grey\x01", 1, "first"},
    EndCase{"Grey\x01Sab", 1, "first"},
    EndCase{"Grey\x01Sabres\x02", 1, "first"},
    EndCase{"Grey\x01Sabres\x01", 1, "first"},
    EndCase{"Grey\x01Sabres\x01Vur\x03Ke", 1, "first"},
    EndCase{"Grey\x01Sabres\x01Vur\x01", 2, ""},
    EndCase{"Grey\x01Sabres\x01Vur\x01half", 2, "half"}));

TEST(LoadDataFiles, EachFileThatDoesNotOpenIsReportedInOrder)
{
    TestIo t;
    DataStore store(33, 18, 168, 6);
    t.files.unreadable = {"items.dat"};
    EXPECT_FALSE(store.LoadRunes("runes.dat", t.io()));
    EXPECT_FALSE(store.LoadItemTypes("items.dat", t.io()));
    EXPECT_FALSE(store.LoadRunewords("runewords.dat", t.io()));
    const Message runes{"Error...", "File not found: 'runes.dat'", MessageIcon::Exclamation, MessageButtons::Ok};
    EXPECT_EQ(t.messages.shown, (std::vector<Message>{runes, FileNotFoundMessage("items.dat"),
                                                      FileNotFoundMessage("runewords.dat")}));
    EXPECT_EQ(store.GetRunewordCount(), 168);

    t.files.files = {{"runes.dat", TestRunesFile()}, {"items.dat", TestItemsFile()}, {"runewords.dat", {}}};
    t.files.unreadable.clear();
    EXPECT_TRUE(store.LoadRunes("runes.dat", t.io()));
    EXPECT_TRUE(store.LoadItemTypes("items.dat", t.io()));
    EXPECT_TRUE(store.LoadRunewords("runewords.dat", t.io())); // empty, but it opens
    EXPECT_EQ(t.messages.shown.size(), 3u);
    EXPECT_EQ(store.GetRunewordCount(), 0);
    EXPECT_EQ(store.GetRune(1).GetName(), "Kess");
}

TEST_F(RunewordsFile, WritersGiveBackTheBytesAndTheRecords)
{
    const Bytes runewords = Concat({DateBytes(3, 4, 5),
        RunewordRecord("Salt Oath", {"Melee Weapons", "Coifs"}, {"Quel", "Kess"}, "a\x04" "b"),
        RunewordRecord("Grey Tide", {"Kites", "weapons"}, {"Nowhere", "Vur", "Kess", "Orna", "Pell", "Dask"}, ""),
        RunewordRecord("", {""}, {""}, "")});
    store.ParseRunewords(runewords);
    EXPECT_EQ(store.WriteRunes(DataFileDate{11, 10, 1}), TestRunesFile());
    EXPECT_EQ(store.WriteItemTypes(DataFileDate{11, 10, 1}), TestItemsFile());
    EXPECT_EQ(store.WriteRunewords(DataFileDate{3, 4, 5}), runewords);

    // Contents set in memory come back through the files.
    store.GetRune(4).SetClvl(-3);
    store.GetRune(5).SetDescription("one\r\n\r\n\r\ntwo\r\x01\n");
    store.GetItemType(6).Set("Odd", -1, store.GetItemType(6).GetCategory());
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
