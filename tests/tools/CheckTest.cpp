// SPDX-License-Identifier: GPL-3.0-or-later
// What check reports about .dat files, loaded as Glyphmoor loads them.
#include "tools/DataChecker.h"
#include "TestSupport.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

namespace glyphmoor::tools::test {
namespace {

using glyphmoor::test::Concat;
using glyphmoor::test::DateBytes;
using glyphmoor::test::ItemRecord;
using glyphmoor::test::MemoryFiles;
using glyphmoor::test::RuneRecord;
using glyphmoor::test::RunewordRecord;

// A full, clean rune and item table in rising level order.
Bytes CleanRunes()
{
    Bytes out = DateBytes(5, 3, 1);
    for (int i = 0; i < MaxRunes; ++i) {
        const Bytes record = RuneRecord(i + 1, "R" + std::to_string(i), "About it.");
        out.insert(out.end(), record.begin(), record.end());
    }
    return out;
}

Bytes CleanItems()
{
    Bytes out = DateBytes(5, 3, 1);
    for (int i = 0; i < MaxItemTypes; ++i) {
        const Bytes record = ItemRecord(2 + i % 5, 1 + i % 3, "I" + std::to_string(i));
        out.insert(out.end(), record.begin(), record.end());
    }
    return out;
}

class Check : public ::testing::Test {
protected:
    MemoryFiles files;

    void SetUp() override
    {
        files.files[RunesDat] = CleanRunes();
        files.files[ItemsDat] = CleanItems();
        files.files[RunewordsDat] = Concat({DateBytes(5, 3, 1), RunewordRecord("Good", {"I0"}, {"R0", "R1"}, "x"),
                                            RunewordRecord("Groups", {"Weapons", "I2"}, {"R3", "R3", "R4"}, "x")});
    }
};

TEST_F(Check, CleanFilesGiveOnlyTheirCountsAndDates)
{
    const Findings found = CheckDatFiles(files);
    EXPECT_EQ(found.Count(Severity::Error), 0) << Describe(found);
    EXPECT_EQ(found.Count(Severity::Warning), 0) << Describe(found);
    ASSERT_EQ(found.All().size(), 3u) << Describe(found);
    EXPECT_EQ(found.All()[0].where, "runes.dat");
    EXPECT_EQ(found.All()[0].message, "33 runes, dated 05.03.2001");
    EXPECT_EQ(found.All()[1].message, "18 item types, dated 05.03.2001");
    EXPECT_EQ(found.All()[2].message, "2 runewords, dated 05.03.2001");
}

TEST_F(Check, FindsAnUnresolvedNameAndAnUnmakeableRuneword)
{
    // Record 2 names a rune no rune has; record 3 needs 5 sockets, but its only
    // item type I0 holds 2 (I3, melee like I0, holds 5, so Glyphmoor lists it).
    const Bytes first = RunewordRecord("Good", {"I0"}, {"R0", "R1"}, "x");
    const Bytes second = RunewordRecord("Typo", {"I1"}, {"R0", "r1"}, "x");
    files.files[RunewordsDat] = Concat({DateBytes(), first, second,
                                        RunewordRecord("Greedy", {"I0"}, {"R0", "R1", "R2", "R3", "R4"}, "x")});
    const Findings found = CheckDatFiles(files);
    EXPECT_EQ(found.Count(Severity::Error), 2) << Describe(found);

    const Finding* unresolved = found.Find("the rune 'r1' of 'Typo' is no rune of runes.dat");
    ASSERT_NE(unresolved, nullptr) << Describe(found);
    EXPECT_EQ(unresolved->where, "runewords.dat record 2 (byte " + std::to_string(3 + first.size()) + ")");
    EXPECT_EQ(unresolved->severity, Severity::Error);

    const Finding* unmakeable = found.Find("'Greedy' needs 5 sockets, but its item types hold at most 2");
    ASSERT_NE(unmakeable, nullptr) << Describe(found);
    EXPECT_EQ(unmakeable->where, "runewords.dat record 3 (byte " + std::to_string(3 + first.size() + second.size()) + ")");
    EXPECT_EQ(unmakeable->message.find("never lists"), std::string::npos);
}

TEST_F(Check, SaysWhenGlyphmoorNeverListsARuneword)
{
    files.files[ItemsDat] = Concat({DateBytes(), ItemRecord(3, 2, "I1"), ItemRecord(4, 3, "I2"), ItemRecord(6, 1, "I3")});
    files.files[RunewordsDat] =
        Concat({DateBytes(), RunewordRecord("Huge", {"I1", "I2"}, {"R0", "R1", "R2", "R3", "R4", "R5"}, "x")});
    const Findings found = CheckDatFiles(files);
    const Finding* finding = found.Find("'Huge' needs 6 sockets, but its item types hold at most 4, so no one can "
                                        "make it and Glyphmoor never lists it");
    EXPECT_NE(finding, nullptr) << Describe(found);
}

TEST_F(Check, FindsUnknownItemNamesButKnowsTheGroupWords)
{
    files.files[RunewordsDat] =
        Concat({DateBytes(), RunewordRecord("Mixed", {"Melee Weapons", "Missile Weapons", "i0", "Weapons"},
                                            {"R0"}, "x")});
    const Findings found = CheckDatFiles(files);
    EXPECT_EQ(found.Count(Severity::Error), 1) << Describe(found);
    EXPECT_TRUE(found.Find("the item type 'i0' of 'Mixed' is no item type of items.dat"));
}

TEST_F(Check, FindsDuplicateNamesInEachTable)
{
    files.files[RunesDat] = Concat({DateBytes(), RuneRecord(1, "Ash", ""), RuneRecord(2, "Ash", "")});
    files.files[ItemsDat] = Concat({DateBytes(), ItemRecord(2, 1, "Cap"), ItemRecord(3, 3, "Cap")});
    files.files[RunewordsDat] = Concat({DateBytes(), RunewordRecord("Twin", {"Cap"}, {"Ash"}, "x"),
                                        RunewordRecord("Twin", {"Cap"}, {"Ash"}, "y")});
    const Findings found = CheckDatFiles(files);
    EXPECT_TRUE(found.Find("the rune 'Ash' is also the name of rune 1")) << Describe(found);
    EXPECT_TRUE(found.Find("the item type 'Cap' is also the name of item type 1"));
    const Finding* runeword = found.Find("the runeword 'Twin' is also the name of runeword 1");
    ASSERT_NE(runeword, nullptr);
    EXPECT_EQ(runeword->where.rfind("runewords.dat record 2 (byte ", 0), 0u) << runeword->where;
}

TEST_F(Check, WarnsOfRunesOutOfLevelOrderWithinAGroupOnly)
{
    Bytes runes = DateBytes();
    for (int i = 0; i < MaxRunes; ++i) {
        // Rune 5 drops below rune 4; rune 11 starts the next group lower than
        // rune 10, which is fine.
        const int level = i == 5 ? 2 : i == 11 ? 1 : i + 1;
        const Bytes record = RuneRecord(level, "R" + std::to_string(i), "x");
        runes.insert(runes.end(), record.begin(), record.end());
    }
    files.files[RunesDat] = runes;
    const Findings found = CheckDatFiles(files);
    EXPECT_EQ(found.Count(Severity::Error), 0) << Describe(found);
    ASSERT_EQ(found.Count(Severity::Warning), 1) << Describe(found);
    const Finding* warning = found.Find("the rune 'R5' needs level 2, less than 'R4' (5)");
    ASSERT_NE(warning, nullptr) << Describe(found);
    EXPECT_EQ(warning->where.rfind("runes.dat record 6 (byte ", 0), 0u);
}

TEST_F(Check, ReportsMissingFilesAsGlyphmoorWould)
{
    files.files.erase(ItemsDat);
    const Findings found = CheckDatFiles(files);
    const Finding* missing = found.Find("File not found: 'items.dat'");
    ASSERT_NE(missing, nullptr) << Describe(found);
    EXPECT_EQ(missing->severity, Severity::Error);
    EXPECT_TRUE(found.Find("the runewords are not checked"));
}

TEST_F(Check, ReportsWhatTheReadersSkipWithTheByteOffset)
{
    files.files[ItemsDat] = Concat({DateBytes(), ItemRecord(2, 1, "Knife"), ItemRecord(3, 7, "Odd")});
    Bytes runewords = files.files[RunewordsDat];
    const std::size_t end = runewords.size();
    runewords.insert(runewords.end(), {'C', 'u', 't', 0x01, 'I'}); // ends inside its item list
    files.files[RunewordsDat] = runewords;

    const Findings found = CheckDatFiles(files);
    const Finding* category = found.Find("the category 7 is none of 1 (melee)");
    ASSERT_NE(category, nullptr) << Describe(found);
    EXPECT_EQ(category->where, "items.dat record 2 (byte 11)");
    EXPECT_TRUE(found.Find("only 2 item types: rows 3 to 18 of the item list stay blank"));
    const Finding* cut = found.Find("a record that ends inside its item or rune list");
    ASSERT_NE(cut, nullptr) << Describe(found);
    EXPECT_EQ(cut->where, "runewords.dat (byte " + std::to_string(end) + ")");

    Bytes nineteen = DateBytes(); // one record more than the table holds
    for (int i = 0; i < 19; ++i)
        nineteen = Concat({nineteen, ItemRecord(2, 1, "I" + std::to_string(i))});
    files.files[ItemsDat] = nineteen;
    EXPECT_TRUE(CheckDatFiles(files).Find("the last 6 bytes come after record 18")) << Describe(CheckDatFiles(files));
}

} // namespace
} // namespace glyphmoor::tools::test
