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

// A full rune table R0..R32, levels rising but for the one given and R11,
// which starts the next group lower (and that is fine).
Bytes Runes(int lowered = -1, int level = 0)
{
    Bytes out = DateBytes(5, 3, 1);
    for (int i = 0; i < MaxRunes; ++i)
        out = Concat({out, RuneRecord(i == lowered ? level : i == 11 ? 1 : i + 1, "R" + std::to_string(i), "x")});
    return out;
}

// A full item table I0..I17: I0 melee with 2 sockets, I3 melee with 5.
Bytes Items()
{
    Bytes out = DateBytes(5, 3, 1);
    for (int i = 0; i < MaxItemTypes; ++i)
        out = Concat({out, ItemRecord(2 + i % 5, 1 + i % 3, "I" + std::to_string(i))});
    return out;
}

const Bytes Good = RunewordRecord("Good", {"I0"}, {"R0", "R1"}, "x");

MemoryFiles Files(Bytes runes, Bytes items, Bytes runewords)
{
    MemoryFiles files;
    files.files[RunesDat] = std::move(runes);
    files.files[ItemsDat] = std::move(items);
    files.files[RunewordsDat] = std::move(runewords);
    return files;
}

TEST(Check, CleanFilesGiveOnlyTheirCountsAndDates)
{
    MemoryFiles files =
        Files(Runes(), Items(), Concat({DateBytes(5, 3, 1), Good, RunewordRecord("G", {"Weapons", "I2"}, {"R3"}, "")}));
    const Findings found = CheckDatFiles(files);
    EXPECT_EQ(found.Count(Severity::Note), 3);
    EXPECT_EQ(Describe(found), "runes.dat: note: 33 runes, dated 05.03.2001\n"
                               "items.dat: note: 18 item types, dated 05.03.2001\n"
                               "runewords.dat: note: 2 runewords, dated 05.03.2001\n");
}

struct CheckCase {
    const char* name;
    MemoryFiles files;
    std::string message;
    std::string where; // its beginning
    Severity severity;
};

void PrintTo(const CheckCase& c, std::ostream* out)
{
    *out << c.name;
}

const CheckCase CheckCases[] = {
    {"UnknownRune", Files(Runes(), Items(), Concat({DateBytes(), Good, RunewordRecord("Typo", {"I1"}, {"R0", "r1"}, "")})), "the rune 'r1' of 'Typo' is no rune of runes.dat", "runewords.dat record 2 (byte ", Severity::Error},
    {"UnknownItemNotGroupWord", Files(Runes(), Items(), Concat({DateBytes(), RunewordRecord("Mixed", {"Melee Weapons", "Missile Weapons", "i0", "Weapons"}, {"R0"}, "")})), "the item type 'i0' of 'Mixed' is no item type of items.dat", "runewords.dat record 1", Severity::Error},
    {"TooFewSocketsButListed", Files(Runes(), Items(), Concat({DateBytes(), Good, RunewordRecord("Greedy", {"I0"}, {"R0", "R1", "R2", "R3", "R4"}, "")})), "'Greedy' needs 5 sockets, but its item types hold at most 2, so no one can make it:", "runewords.dat record 2", Severity::Error},
    {"TooFewSocketsNeverListed", Files(Runes(), Concat({DateBytes(), ItemRecord(3, 2, "I1"), ItemRecord(4, 3, "I2"), ItemRecord(6, 1, "I3")}), Concat({DateBytes(), RunewordRecord("Huge", {"I1", "I2"}, {"R0", "R1", "R2", "R3", "R4", "R5"}, "")})), "hold at most 4, so no one can make it and Glyphmoor never lists it", "runewords.dat record 1", Severity::Error},
    {"DuplicateRune", Files(Concat({DateBytes(), RuneRecord(1, "Ash", ""), RuneRecord(2, "Ash", "")}), Items(), DateBytes()), "the rune 'Ash' is also the name of rune 1", "runes.dat record 2", Severity::Error},
    {"DuplicateItemType", Files(Runes(), Concat({DateBytes(), ItemRecord(2, 1, "Cap"), ItemRecord(3, 3, "Cap")}), DateBytes()), "the item type 'Cap' is also the name of item type 1", "items.dat record 2", Severity::Error},
    {"DuplicateRuneword", Files(Runes(), Items(), Concat({DateBytes(), Good, Good})), "the runeword 'Good' is also the name of runeword 1", "runewords.dat record 2 (byte ", Severity::Error},
    {"LevelDropWithinAGroup", Files(Runes(5, 2), Items(), DateBytes()), "the rune 'R5' needs level 2, less than 'R4' (5)", "runes.dat record 6 (byte ", Severity::Warning},
    {"BadCategoryAtItsOffset", Files(Runes(), Concat({DateBytes(), ItemRecord(2, 1, "Knife"), ItemRecord(3, 7, "Odd")}), DateBytes()), "the category 7 is none of 1 (melee)", "items.dat record 2 (byte 11)", Severity::Error},
    {"ShortItemTable", Files(Runes(), Concat({DateBytes(), ItemRecord(2, 1, "Knife")}), DateBytes()), "only 1 item types: rows 2 to 18 of the item list stay blank", "items.dat", Severity::Warning},
    {"RecordCutInItsLists", Files(Runes(), Items(), Concat({DateBytes(), Good, Bytes{'C', 'u', 't', 0x01, 'I'}})), "a record that ends inside its item or rune list", "runewords.dat (byte " + std::to_string(3 + Good.size()) + ")", Severity::Warning},
    {"NineteenItems", Files(Runes(), [] { Bytes b = DateBytes(); for (int i = 0; i < 19; ++i) b = Concat({b, ItemRecord(2, 1, "I" + std::to_string(i))}); return b; }(), DateBytes()), "the last 6 bytes come after record 18", "items.dat", Severity::Warning},
    {"MissingFile", [] { MemoryFiles f = Files(Runes(), Items(), DateBytes()); f.files.erase(ItemsDat); return f; }(), "File not found: 'items.dat'", "", Severity::Error},
    {"NoRunewordCheckWithoutItems", [] { MemoryFiles f = Files(Runes(), Items(), DateBytes()); f.files.erase(ItemsDat); return f; }(), "the runewords are not checked", "", Severity::Note},
};

class CheckFinds : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckFinds, TheFaultWhereItIs)
{
    MemoryFiles files = GetParam().files;
    const Findings found = CheckDatFiles(files);
    const Finding* finding = found.Find(GetParam().message);
    ASSERT_NE(finding, nullptr) << Describe(found);
    EXPECT_EQ(finding->where.rfind(GetParam().where, 0), 0u) << finding->where;
    EXPECT_EQ(finding->severity, GetParam().severity);
}

INSTANTIATE_TEST_SUITE_P(Files, CheckFinds, ::testing::ValuesIn(CheckCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace glyphmoor::tools::test
