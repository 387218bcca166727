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

const Bytes DefaultRunes = Concat({DateBytes(), RuneRecord(1, "Ash", "Grey."), RuneRecord(2, "Bel", "Blue.")});
const Bytes DefaultItems = Concat({DateBytes(), ItemRecord(2, 1, "Knife"), ItemRecord(4, 2, "Bow"),
                                   ItemRecord(3, 3, "Cap")});
const Bytes DefaultRunewords = Concat({DateBytes(), RunewordRecord("Kindle", {"Knife"}, {"Ash", "Bel"}, "Hot.")});

struct RoundTripCase {
    const char* name;
    DatFiles files;
};

void PrintTo(const RoundTripCase& c, std::ostream* out)
{
    *out << c.name;
}

DatFiles WithRunes(Bytes runes)
{
    return {std::move(runes), DefaultItems, DefaultRunewords};
}

DatFiles WithItems(Bytes items)
{
    return {DefaultRunes, std::move(items), DefaultRunewords};
}

DatFiles WithRunewords(Bytes runewords)
{
    return {DefaultRunes, DefaultItems, std::move(runewords)};
}

DatFiles OneRune(const std::string& name, const std::string& description)
{
    return WithRunes(Concat({DateBytes(), RuneRecord(7, name, description)}));
}

DatFiles OneRuneword(const std::string& name, const std::vector<std::string>& tokens,
                     const std::vector<std::string>& runes, const std::string& description)
{
    return WithRunewords(Concat({DateBytes(), RunewordRecord(name, tokens, runes, description)}));
}

const RoundTripCase RoundTripCases[] = {
    {"RuneDoubleBreak", OneRune("Ash", "one\x02two")},
    {"RuneSingleThenDoubleBreak", OneRune("Ash", "one\x03\x02two")},
    {"RuneBreaksAtBothEnds", OneRune("Ash", "\x02middle\x03")},
    {"RuneLoneCarriageReturnAndLineFeed", OneRune("Ash", "a\r\x03\nb\n\x02\r")},
    {"RuneEmptyText", OneRune("Ash", "")},
    {"RuneSpacesAroundNameAndLines", OneRune(" Ash ", "  indented\x03trailing  \x03 ")},
    {"RuneBackslashesAndEscapeLookalikes", OneRune("A\\x41", "C:\\moor\\x20\\\\")},
    {"RuneCodePageCharacters", OneRune("\xC9\x80\x9F", "\xE6\xF8\xE5 \x85 \x96\xA0\xAD")},
    {"RuneBytesWithoutCharacterAndControlBytes", OneRune("\x81\x8D\x05\x1F\x7F", "\x8F\x90\x9D\t\x1B")},
    {"RuneNameLooksLikeSyntax", OneRune("#|level: 3", "| not a line\x03# nor a comment")},
    {"RuneLevels", WithRunes(Concat({DateBytes(), RuneRecord(-128, "Low", ""), RuneRecord(127, "High", ""),
                                     RuneRecord(0, "Zero", "")}))},
    {"NoRunes", WithRunes(DateBytes())},
    {"FullRuneTable", WithRunes([] {
         Bytes out = DateBytes();
         for (int i = 0; i < MaxRunes; ++i)
             out = Concat({out, RuneRecord(i + 1, "R" + std::to_string(i), "x")});
         return out;
     }())},
    {"ItemCategoriesAndSockets",
     WithItems(Concat({DateBytes(), ItemRecord(-128, 1, "Low"), ItemRecord(127, 2, "High"), ItemRecord(0, 3, "")}))},
    {"ItemNamedAfterGroupWordAndWithSlash", WithItems(Concat({DateBytes(), ItemRecord(6, 1, "Weapons"),
                                                              ItemRecord(2, 3, "Hood/Cowl ")}))},
    {"RunewordBreaks", OneRuneword("Kindle", {"Knife"}, {"Ash"}, "\x04one\x04\x04two\x04")},
    {"RunewordEveryGroupWord",
     OneRuneword("Kindle", {"Weapons", "Melee Weapons", "Missile Weapons"}, {"Ash", "Bel"}, "x")},
    {"RunewordGroupWordsInOtherCaseAreNames", OneRuneword("Kindle", {"weapons", "Melee weapons"}, {"Ash"}, "x")},
    {"RunewordNamesWithSpacesAndSlashes", OneRuneword(" Two words ", {"Wall Shield", "a/b", " c "}, {"Rune one", "x"}, "")},
    {"RunewordTextWithLoneCarriageReturns", OneRuneword("K", {"Knife"}, {"Ash"}, "a\r\x04\nb\r")},
    {"NoRunewords", WithRunewords(DateBytes())},
    {"OddDates", {Concat({DateBytes(0, 0, 0), RuneRecord(1, "Ash", "")}), Concat({DateBytes(-1, 127, -128)}),
                  Concat({DateBytes(31, 12, 99)})}},
};

class DecompileRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(DecompileRoundTrip, CompilesBackToTheSameBytes)
{
    const DatFiles& files = GetParam().files;
    Findings found;
    const TextFiles text = Decompile(files, found);
    ASSERT_TRUE(found.Empty()) << Describe(found);

    Findings compileFindings;
    const std::optional<DatFiles> back = Compile(text, compileFindings);
    ASSERT_TRUE(back.has_value()) << Describe(compileFindings) << text.runes << text.items << text.runewords;
    EXPECT_EQ(back->runes, files.runes) << text.runes;
    EXPECT_EQ(back->items, files.items) << text.items;
    EXPECT_EQ(back->runewords, files.runewords) << text.runewords;
}

INSTANTIATE_TEST_SUITE_P(CraftedFiles, DecompileRoundTrip, ::testing::ValuesIn(RoundTripCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DecompileText, ShowsLineBreaksAsLinesAndOddBreakBytesAsEscapes)
{
    Findings found;
    const TextFiles text = Decompile(
        {Concat({DateBytes(5, 3, 1), RuneRecord(20, "Ash", "first\x02second\x03third"),
                 RuneRecord(21, "Bel", "one\x03\x03two")}),
         DefaultItems, Concat({DateBytes(), RunewordRecord("Kindle", {"Melee Weapons", "Cap"}, {"Ash", "Bel"}, "a\x04" "b")})},
        found);
    ASSERT_TRUE(found.Empty()) << Describe(found);
    EXPECT_NE(text.runes.find("date: 05.03.2001\n"), std::string::npos) << text.runes;
    EXPECT_NE(text.runes.find("rune: Ash\nlevel: 20\n| first\n|\n| second\n| third\n"), std::string::npos)
        << text.runes;
    EXPECT_NE(text.runes.find("| one\\x03\\x03two\n"), std::string::npos) << text.runes;
    EXPECT_NE(text.runewords.find("items: Melee Weapons / Cap\nrunes: Ash Bel\n| a\n| b\n"), std::string::npos)
        << text.runewords;
}

} // namespace
} // namespace glyphmoor::tools::test
