// SPDX-License-Identifier: GPL-3.0-or-later
// Decompiling a .dat file and compiling the text gives back the same bytes.
#include "tools/DataCompiler.h"
#include "TestSupport.h"
#include "tools/TextFormat.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

namespace glyphmoor::tools::test {
namespace {

using glyphmoor::test::Concat;
using glyphmoor::test::DateBytes;
using glyphmoor::test::ItemRecord;
using glyphmoor::test::RuneRecord;
using glyphmoor::test::RunewordRecord;

// A .dat file dated 11.10.2001 holding the records given.
Bytes File(std::initializer_list<Bytes> records)
{
    Bytes out = DateBytes();
    for (const Bytes& record : records)
        out = Concat({out, record});
    return out;
}

Bytes Rune(const std::string& name, const std::string& text)
{
    return File({RuneRecord(7, name, text)});
}

Bytes Word(const std::string& name, const std::vector<std::string>& items, const std::vector<std::string>& runes,
           const std::string& text)
{
    return File({RunewordRecord(name, items, runes, text)});
}

Bytes FullRuneTable()
{
    Bytes out = DateBytes();
    for (int i = 0; i < MaxRunes; ++i)
        out = Concat({out, RuneRecord(i + 1, "R" + std::to_string(i), "x")});
    return out;
}

// Each case replaces one file (0 runes, 1 items, 2 runewords) of a small set.
struct RoundTripCase {
    const char* name;
    int file;
    Bytes bytes;
};

void PrintTo(const RoundTripCase& c, std::ostream* out)
{
    *out << c.name;
}

// clang-format off
const RoundTripCase RoundTripCases[] = {
    {"RuneDoubleBreak", 0, Rune("Ash", "one\x02two")},
    {"RuneSingleThenDoubleBreak", 0, Rune("Ash", "one\x03\x02two")},
    {"RuneBreaksAtBothEnds", 0, Rune("Ash", "\x02middle\x03")},
    {"RuneLoneCarriageReturnAndLineFeed", 0, Rune("Ash", "a\r\x03\nb\n\x02\r")},
    {"RuneSpacesAroundNameAndLines", 0, Rune(" Ash ", "  indented\x03trailing  \x03 ")},
    {"RuneBackslashesAndEscapeLookalikes", 0, Rune("A\\x41", "C:\\moor\\x20\\\\")},
    {"RuneCodePageCharacters", 0, Rune("\xC9\x80\x9F", "\xE6\xF8\xE5 \x85 \x96\xA0\xAD")},
    {"RuneBytesWithoutCharacterAndControlBytes", 0, Rune("\x81\x8D\x05\x1F\x7F", "\x8F\x90\x9D\t\x1B")},
    {"RuneNameLooksLikeSyntax", 0, Rune("#|level: 3", "| not a line\x03# nor a comment")},
    {"RuneLevels", 0, File({RuneRecord(-128, "Low", ""), RuneRecord(127, "High", ""), RuneRecord(0, "Zero", "")})},
    {"FullRuneTable", 0, FullRuneTable()},
    {"ItemCategoriesAndSockets", 1, File({ItemRecord(-128, 1, "Low"), ItemRecord(127, 2, "High"), ItemRecord(0, 3, "")})},
    {"ItemNamedAfterGroupWordAndWithSlash", 1, File({ItemRecord(6, 1, "Weapons"), ItemRecord(2, 3, "Hood/Cowl ")})},
    {"RunewordBreaks", 2, Word("Kindle", {"Knife"}, {"Ash"}, "\x04one\x04\x04two\x04")},
    {"RunewordEveryGroupWord", 2, Word("Kindle", {"Weapons", "Melee Weapons", "Missile Weapons"}, {"Ash", "Bel"}, "x")},
    {"RunewordGroupWordsInOtherCaseAreNames", 2, Word("Kindle", {"weapons", "Melee weapons"}, {"Ash"}, "x")},
    {"RunewordNamesWithSpacesAndSlashes", 2, Word(" Two words ", {"Wall Shield", "a/b", " c "}, {"Rune one", "x"}, "")},
    {"RunewordTextWithLoneCarriageReturns", 2, Word("K", {"Knife"}, {"Ash"}, "a\r\x04\nb\r")},
    {"OddRuneDate", 0, Concat({DateBytes(0, 0, 0), RuneRecord(1, "Ash", "")})},
    {"OddItemDate", 1, DateBytes(-1, 127, -128)},
};
// clang-format on

class DecompileRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(DecompileRoundTrip, CompilesBackToTheSameBytes)
{
    DatFiles files{Rune("Ash", "Grey."), File({ItemRecord(2, 1, "Knife"), ItemRecord(4, 2, "Bow")}),
                   Word("Kindle", {"Knife"}, {"Ash"}, "Hot.")};
    (GetParam().file == 0 ? files.runes : GetParam().file == 1 ? files.items : files.runewords) = GetParam().bytes;
    Findings found;
    const TextFiles text = Decompile(files, found);
    ASSERT_TRUE(found.Empty()) << Describe(found);
    const std::optional<DatFiles> back = Compile(text, found);
    ASSERT_TRUE(back.has_value()) << Describe(found) << text.runes << text.items << text.runewords;
    EXPECT_EQ(back->runes, files.runes) << text.runes;
    EXPECT_EQ(back->items, files.items) << text.items;
    EXPECT_EQ(back->runewords, files.runewords) << text.runewords;
}

INSTANTIATE_TEST_SUITE_P(CraftedFiles, DecompileRoundTrip, ::testing::ValuesIn(RoundTripCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DecompileText, ShowsLineBreaksAsLinesAndOddBreakBytesAsEscapes)
{
    Findings found;
    const TextFiles text = Decompile({Concat({DateBytes(5, 3, 1), RuneRecord(20, "Ash", "first\x02second\x03third"),
                                              RuneRecord(21, "Bel", "one\x03\x03two")}),
                                      DateBytes(), Word("Kindle", {"Melee Weapons", "Cap"}, {"Ash", "Bel"}, "a\x04" "b")},
                                     found);
    ASSERT_TRUE(found.Empty()) << Describe(found);
    EXPECT_NE(text.runes.find("date: 05.03.2001\n\nrune: Ash\nlevel: 20\n| first\n|\n| second\n| third\n"),
              std::string::npos) << text.runes;
    EXPECT_NE(text.runes.find("| one\\x03\\x03two\n"), std::string::npos) << text.runes;
    EXPECT_NE(text.runewords.find("items: Melee Weapons / Cap\nrunes: Ash Bel\n| a\n| b\n"),
              std::string::npos) << text.runewords;
}

} // namespace
} // namespace glyphmoor::tools::test
