// SPDX-License-Identifier: GPL-3.0-or-later
// Compiling the text sources: what they mean, and every input the data files
// cannot carry refused with its file, line and what to change.
#include "tools/DataCompiler.h"
#include "tools/TextFormat.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

namespace glyphmoor::tools::test {
namespace {

TEST(Compile, SmallSourcesGiveTheRecordsTheReadersExpect)
{
    Findings found;
    const std::optional<DatFiles> files = Compile(SmallSources(), found);
    ASSERT_TRUE(files.has_value()) << Describe(found);
    DataStore store(MaxRunes, MaxItemTypes, MaxRunewords, MaxRunesPerRuneword);
    store.ParseRunes(files->runes);
    store.ParseItemTypes(files->items);
    store.ParseRunewords(files->runewords);
    EXPECT_EQ(ReadDataFileDate(files->runes), (DataFileDate{11, 10, 1}));
    EXPECT_EQ(std::make_tuple(store.GetRune(1).GetName(), store.GetRune(1).GetClvl()), std::make_tuple("Bel", 2));
    EXPECT_EQ(std::make_tuple(store.GetItemType(1).GetCategory(), store.GetItemType(1).GetMaxSockets()),
              std::make_tuple(Missile, 4));
    ASSERT_EQ(store.GetRunewordCount(), 2);
    EXPECT_EQ(store.GetRuneword(0).GetItemTypeCount(), 2); // Knife and Bow
    EXPECT_EQ(store.GetRuneword(1).RuneOrderText(), "Bel Cor Bel");
    EXPECT_EQ(store.GetRuneword(1).GetDescription(), "Two\r\nlines.");
}

TEST(Compile, AcceptsCommentsSpacesWindowsLineEndsEscapesAndCodePageCharacters)
{
    Findings found;
    const ItemTable items = ParseItemsText(
        "# items\r\ndate: 02.03.2004\r\n\r\n  item:   Wall Shield  \r\n  category: 3\r\n  sockets: +4\r\n", found);
    const RunewordTable runewords =
        ParseRunewordsText("date: 1.1.2001\nruneword: W\nitems:  Melee Weapons /Cap/  Wall\\x2FShield \n"
                           "runes:   Ash\tBel   Rune\\x20Two\n", found);
    const RuneTable runes = ParseRunesText("date: 1.1.2001\nrune: Æsc€\nlevel: 1\n| “Naïve” — 50%\n", found);
    ASSERT_TRUE(found.Empty()) << Describe(found);
    ASSERT_EQ(items.entries.size() + runewords.entries.size() + runes.entries.size(), 3u);
    const ItemEntry& item = items.entries[0];
    EXPECT_EQ(std::tie(item.name, item.category, item.maxSockets, item.where),
              std::make_tuple("Wall Shield", 3, 4, "items.txt:4"));
    EXPECT_EQ(items.date, (DataFileDate{2, 3, 4}));
    EXPECT_EQ(runewords.entries[0].itemTokens, (std::vector<std::string>{"Melee Weapons", "Cap", "Wall/Shield"}));
    EXPECT_EQ(runewords.entries[0].runeNames, (std::vector<std::string>{"Ash", "Bel", "Rune Two"}));
    EXPECT_EQ(runes.entries[0].name, "\xC6sc\x80");
    EXPECT_EQ(runes.entries[0].description, "\x93Na\xEFve\x94 \x97 50%");
}

TEST(Compile, OneRunReportsEveryMistakeOfAllThreeFilesAndWarnsWithoutRefusing)
{
    TextFiles sources = SmallSources();
    sources.runes += "rune: D\nlevel: many\n";
    sources.items += "item: E\ncategory: ranged\nsockets: 2\n";
    sources.runewords += "runeword: F\nitems: Cap\nrunes: Ash\nflavour: none\n";
    Findings found;
    EXPECT_FALSE(Compile(sources, found).has_value());
    EXPECT_EQ(found.Count(Severity::Error), 3) << Describe(found);

    sources = SmallSources();
    sources.runewords += "\nruneword: Lost\nitems: Hat\nrunes: Ash Dun\n";
    Findings warned;
    ASSERT_TRUE(Compile(sources, warned).has_value()) << Describe(warned);
    const Finding* rune = warned.Find("the rune 'Dun' of 'Lost'");
    ASSERT_NE(rune, nullptr) << Describe(warned);
    EXPECT_EQ(rune->where, "runewords.txt:13");
    EXPECT_TRUE(warned.Find("the item type 'Hat' of 'Lost'"));
}

// Each case changes one of the small sources; compiling must fail with an
// error at the given place whose message holds the given words.
struct Refusal {
    const char* name;
    int file; // 0 runes, 1 items, 2 runewords
    std::string source;
    std::string where;
    std::string message;
};

void PrintTo(const Refusal& refusal, std::ostream* out)
{
    *out << refusal.name;
}

std::string Repeat(const std::string& record, int count)
{
    std::string text = "date: 1.1.2001\n";
    for (int i = 0; i < count; ++i) {
        std::string one = record;
        for (std::size_t at = one.find('#'); at != std::string::npos; at = one.find('#'))
            one.replace(at, 1, std::to_string(i));
        text += one;
    }
    return text;
}

const std::string RunesHead = "date: 1.1.2001\nrune: Ash\nlevel: 1\n";
const std::string ItemsHead = "date: 1.1.2001\nitem: Knife\ncategory: melee\nsockets: 2\n";
const std::string RunewordsHead = "date: 1.1.2001\nruneword: Kindle\nitems: Knife\nrunes: Ash Bel\n";

// clang-format off
const Refusal Refusals[] = {
    {"StrayContinuationByte", 1, "date: 1.1.2001\nitem: Kn\x80ife\ncategory: melee\nsockets: 2\n", "items.txt:2", "not UTF-8"},
    {"ControlByteInRuneName", 0, "date: 1.1.2001\nrune: A\\x01h\nlevel: 1\n", "runes.txt:2", "control byte 0x01"},
    {"NulByteInItemName", 1, "date: 1.1.2001\nitem: Kn\\x00ife\ncategory: melee\nsockets: 2\n", "items.txt:2", "control byte 0x00"},
    {"ControlByteInRunewordName", 2, "date: 1.1.2001\nruneword: K\\x02\nitems: Knife\nrunes: Ash\n", "runewords.txt:2", "control byte 0x02"},
    {"ControlByteInItemToken", 2, "date: 1.1.2001\nruneword: K\nitems: Knife\\x04\nrunes: Ash\n", "runewords.txt:2", "control byte 0x04"},
    {"ControlByteInRuneNameOfRuneword", 2, "date: 1.1.2001\nruneword: K\nitems: Knife\nrunes: A\\x03sh\n", "runewords.txt:2", "control byte 0x03"},
    {"EndByteInRuneText", 0, RunesHead + "| one\\x00two\n", "runes.txt:2", "control byte 0x00"},
    {"RuneBreakByteInRunewordText", 2, RunewordsHead + "| one\\x03two\n", "runewords.txt:2", "control byte 0x03"},
    {"CharacterOutsideTheCodePage", 0, "date: 1.1.2001\nrune: Ωmen\nlevel: 1\n", "runes.txt:2", "'Ω' (U+03A9) is not in the Windows-1252 code page"},
    {"CharacterOutsideTheCodePageInText", 2, RunewordsHead + "| fire → ice\n", "runewords.txt:5", "(U+2192) is not in the Windows-1252"},
    {"SevenRunes", 2, "date: 1.1.2001\nruneword: Long\nitems: Knife\nrunes: A B C D E F G\n", "runewords.txt:2", "has 7 runes; an item holds at most 6"},
    {"NoRunes", 2, "date: 1.1.2001\nruneword: Bare\nitems: Knife\nrunes:\n", "runewords.txt:2", "has no runes"},
    {"EmptyItemToken", 2, "date: 1.1.2001\nruneword: Gap\nitems: Knife /  / Cap\nrunes: Ash\n", "runewords.txt:2", "an empty item name"},
    {"ThirtyFourRunes", 0, Repeat("rune: R#\nlevel: 1\n", 34), "runes.txt:68", "more than 33 runes (34)"},
    {"NineteenItemTypes", 1, Repeat("item: I#\ncategory: melee\nsockets: 2\n", 19), "items.txt:56", "more than 18 item types (19)"},
    {"OneHundredSixtyNineRunewords", 2, Repeat("runeword: W#\nitems: Knife\nrunes: Ash\n", 169), "runewords.txt:506", "more than 168 runewords (169)"},
    {"EmptyLevel", 0, "date: 1.1.2001\nrune: Ash\nlevel:\n", "runes.txt:3", "is not a whole number"},
    {"LevelAboveASignedByte", 0, "date: 1.1.2001\nrune: Ash\nlevel: 128\n", "runes.txt:2", "the level 128 does not fit the file's signed byte"},
    {"SocketsAboveASignedByte", 1, "date: 1.1.2001\nitem: Knife\ncategory: melee\nsockets: 300\n", "items.txt:2", "the socket count 300 does not fit"},
    {"CategoryZero", 1, "date: 1.1.2001\nitem: Knife\ncategory: 0\nsockets: 2\n", "items.txt:2", "the category 0 is none of 1 (melee), 2 (missile) or 3 (defence)"},
    {"CategoryWordUnknown", 1, "date: 1.1.2001\nitem: Knife\ncategory: Melee\nsockets: 2\n", "items.txt:3", "'Melee' is none of melee, missile or defence"},
    {"LineBreakByEscapes", 0, RunesHead + "| one\\x0D\\x0Atwo\n", "runes.txt:4", "split the line there"},
    {"UnknownEscape", 0, RunesHead + "| C:\\temp\n", "runes.txt:4", "unknown escape '\\tem'"},
    {"NoDate", 1, "item: Knife\ncategory: melee\nsockets: 2\n", "items.txt", "no date line"},
    {"SecondDate", 1, ItemsHead + "date: 2.2.2002\n", "items.txt:5", "a second date"},
    {"DateNotADate", 0, "date: 2024-03-01\n", "runes.txt:1", "not of the form DD.MM.YYYY"},
    {"DateYearOutOfReach", 0, "date: 1.1.2200\n", "runes.txt:1", "does not fit the three date bytes"},
    {"MissingLevel", 0, "date: 1.1.2001\nrune: Ash\n| text\n", "runes.txt:2", "has no 'level:' line"},
    {"SecondLevel", 0, RunesHead + "level: 2\n", "runes.txt:4", "a second 'level:' line"},
    {"FieldBeforeRecord", 0, "date: 1.1.2001\nlevel: 2\n", "runes.txt:2", "before the first 'rune:' line"},
    {"TextBeforeRecord", 0, "date: 1.1.2001\n| text\n", "runes.txt:2", "a text line before the first 'rune:'"},
    {"TextInItems", 1, ItemsHead + "| text\n", "items.txt:5", "items.txt has no text lines"},
    {"RecordOfAnotherFile", 0, "date: 1.1.2001\nitem: Knife\n", "runes.txt:2", "starts a record of items.txt"},
    {"LineWithoutKey", 2, RunewordsHead + "just words\n", "runewords.txt:5", "expected 'key: value'"},
};
// clang-format on

class CompileRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(CompileRefuses, WithTheFileTheLineAndWhatToChange)
{
    const Refusal& refusal = GetParam();
    TextFiles sources = SmallSources();
    (refusal.file == 0 ? sources.runes : refusal.file == 1 ? sources.items : sources.runewords) = refusal.source;
    Findings found;
    EXPECT_FALSE(Compile(sources, found).has_value());
    const Finding* finding = found.Find(refusal.message);
    ASSERT_NE(finding, nullptr) << Describe(found);
    EXPECT_EQ(finding->severity, Severity::Error);
    EXPECT_EQ(finding->where, refusal.where) << finding->message;
}

INSTANTIATE_TEST_SUITE_P(Inputs, CompileRefuses, ::testing::ValuesIn(Refusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Compile, AcceptsTheLargestTablesAndLimitsAndWarnsOfAnImpossibleDate)
{
    TextFiles sources{Repeat("rune: R#\nlevel: 127\n", 33), Repeat("item: I#\ncategory: defence\nsockets: -128\n", 18),
                      Repeat("runeword: W#\nitems: I1\nrunes: R1 R2 R3 R4 R5 R6\n", 168)};
    Findings found;
    const std::optional<DatFiles> files = Compile(sources, found);
    ASSERT_TRUE(files.has_value()) << Describe(found);
    DataStore store(MaxRunes, MaxItemTypes, MaxRunewords, MaxRunesPerRuneword);
    store.ParseRunewords(files->runewords);
    EXPECT_EQ(store.GetRunewordCount(), 168);

    Findings date;
    ParseRunesText("date: 31.02.2001\n", date);
    ASSERT_EQ(date.All().size(), 1u);
    EXPECT_EQ(date.All()[0].severity, Severity::Warning);
    EXPECT_EQ(date.All()[0].where, "runes.txt:1");
}

} // namespace
} // namespace glyphmoor::tools::test
