// SPDX-License-Identifier: GPL-3.0-or-later
// runewords.dat's item lists and group words, and the data files' load and
// write (FuzzRegressionTest holds every reader to its invariants).
#include "TestSupport.h"
#include "core/DataStore.h"

#include <gtest/gtest.h>

using namespace glyphmoor;
using namespace glyphmoor::test;

namespace {

TEST(DataFiles, RunewordsReadTokensGroupWordsAndRunes)
{
    DataStore store(33, 18, 168, 6);
    store.ParseRunes(TestRunesFile());
    store.ParseItemTypes(TestItemsFile());
    auto items = [&store](int w) {
        std::vector<int> indices;
        for (int i = 0; i < store.GetRuneword(w).GetItemTypeCount(); ++i)
            indices.push_back(store.GetRuneword(w).GetItemType(i));
        return indices;
    };
    // Group words are whole, case-sensitive tokens; unknown tokens are -1 and keep their text.
    store.ParseRunewords(
        Concat({DateBytes(), RunewordRecord("A", {"Weapons"}, {"Vur"}, ""),
                RunewordRecord("B", {"Pavises", "Missile Weapons", "Melee Weapons"}, {"Vur"}, ""),
                RunewordRecord("C", {"weapons", "Melee Weapons ", "Sabres", "Kites"},
                               {"Quel", "Nowhere", "Kess"}, "a\4b\2c"),
                RunewordRecord("D", {"Weapons", "Melee Weapons", "Missile Weapons", "Bucklers"},
                               {"Vur", "Kess", "Orna", "Pell", "Dask", "Mirr", "Drom"}, "d")}));
    EXPECT_EQ(items(0), (std::vector<int>{0, 1, 3, 4, 6, 8, 9, 11, 12, 14}));
    EXPECT_EQ(store.GetRuneword(0).ClvlRequirement(), 1); // the highest Clvl of its runes
    EXPECT_EQ(items(1), (std::vector<int>{17, 1, 4, 8, 11, 0, 3, 6, 9, 12, 14}));
    EXPECT_EQ(items(2), (std::vector<int>{-1, -1, 3, -1}));
    const Runeword& odd = store.GetRuneword(2);
    EXPECT_EQ(odd.GetAllowedItemsText(), "weapons/Melee Weapons /Sabres/Kites");
    EXPECT_EQ(odd.GetItemTokens().at(1), "Melee Weapons ");
    store.GetRune(7).SetName("Quell"); // names come from the rune table where it has the rune
    EXPECT_EQ(odd.RuneOrderText(), "Quell Nowhere Kess");
    EXPECT_EQ(odd.GetDescription(), "a\r\nb\2c");
    // At most 18 indices and six runes, every token kept; the record after is read in step.
    EXPECT_EQ(items(3), (std::vector<int>{0, 1, 3, 4, 6, 8, 9, 11, 12, 14, 0, 3, 6, 9, 12, 14, 1, 4}));
    EXPECT_EQ(store.GetRuneword(3).GetItemTokens().size(), 4u);
    EXPECT_EQ(store.GetRuneword(3).RuneOrderText(), "Vur Kess Orna Pell Dask Mirr");
    EXPECT_EQ(store.GetRuneword(3).GetDescription(), "d");
}

TEST(DataFiles, AreReportedWhenTheyDoNotOpenReadUpToCapacityAndWrittenBack)
{
    TestIo t;
    DataStore store(33, 18, 168, 6);
    t.files.unreadable = {"items.dat"};
    EXPECT_FALSE(store.Load(ReferenceTable::Runes, t.io()) || store.Load(ReferenceTable::ItemTypes, t.io()) ||
                 store.Load(ReferenceTable::Runewords, t.io()));
    const Message runes{"Error...", "File not found: 'runes.dat'", MessageIcon::Exclamation,
                        MessageButtons::Ok};
    EXPECT_EQ(t.messages.shown, (std::vector<Message>{runes, FileNotFoundMessage("items.dat"),
                                                      FileNotFoundMessage("runewords.dat")}));
    Bytes runewords = DateBytes(3, 4, 5);
    for (int i = 0; i < 168; ++i)
        runewords = Concat({runewords, RunewordRecord("W" + std::to_string(i), {"Melee Weapons", "Coifs"},
                                                      {"Quel", "Kess"}, "a\4b")});
    // A record past each table's capacity is not read.
    t.files.files = {
        {"runes.dat", Concat({TestRunesFile(), RuneRecord(90, "Extra", "")})},
        {"items.dat", Concat({TestItemsFile(), ItemRecord(6, 1, "Extra")})},
        {"runewords.dat", Concat({runewords, RunewordRecord("Extra", {"Sabres"}, {"Vur"}, "")})}};
    t.files.unreadable.clear();
    EXPECT_TRUE(store.Load(ReferenceTable::Runes, t.io()) && store.Load(ReferenceTable::ItemTypes, t.io()) &&
                store.Load(ReferenceTable::Runewords, t.io()));
    EXPECT_EQ(t.files.limits.at("runewords.dat"), 1u << 20); // no more than the format can use
    EXPECT_EQ(store.GetRunewordCount(), 168);
    EXPECT_EQ(store.WriteRunes(DataFileDate{11, 10, 1}), TestRunesFile());
    EXPECT_EQ(store.WriteItemTypes(DataFileDate{11, 10, 1}), TestItemsFile());
    EXPECT_EQ(store.WriteRunewords(DataFileDate{3, 4, 5}), runewords);
}

} // namespace
