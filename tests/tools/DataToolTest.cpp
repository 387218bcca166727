// SPDX-License-Identifier: GPL-3.0-or-later
// glyphmoor-data: messages with file and line or record and byte; old files kept
// when a compile fails. Crafted decompile round trips: the datadecompile seeds.
#include "tools/DataTool.h"
#include "../fuzz/FuzzChecks.h"
#include "tools/DataChecker.h"
#include "tools/DataCompiler.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace glyphmoor::tools {
namespace {

using namespace glyphmoor::test;
namespace fs = std::filesystem;

std::string Describe(const Findings& findings)
{
    std::ostringstream out;
    findings.Print(out);
    return out.str();
}

// Runes Ash (1), Bel (2), Cor (3); item types Knife (melee, 2), Bow (missile,
// 4), Cap (defence, 3); the runewords Kindle and Veil.
const TextFiles Small = {
    "date: 11.10.2001\n\nrune: Ash\nlevel: 1\n| Grey.\n\nrune: Bel\nlevel: 2\n| Blue.\n\n"
    "rune: Cor\nlevel: 3\n| Red.\n",
    "date: 11.10.2001\n\nitem: Knife\ncategory: melee\nsockets: 2\n\nitem: Bow\ncategory: missile\n"
    "sockets: 4\n\nitem: Cap\ncategory: defence\nsockets: 3\n",
    "date: 11.10.2001\n\nruneword: Kindle\nitems: Weapons\nrunes: Ash Bel\n\nruneword: Veil\n"
    "items: Cap\nrunes: Bel Cor Bel\n| Two\n| lines.\n"};

TEST(Compile, GivesTheRecordsTheReadersExpect)
{
    TextFiles sources = Small;
    sources.runes += "\n# more\r\n  rune:   Æsc€  \r\nlevel: +4\r\n| “Naïve” — 50%\n";
    sources.runewords += "runeword: W\nitems:  Melee Weapons /Cap \nrunes:   Ash\tBel   Æsc€\n";
    Findings found;
    const std::optional<DatFiles> files = Compile(sources, found);
    ASSERT_TRUE(files.has_value()) << Describe(found);
    const fuzz::Store store(files->runes, files->items, files->runewords);
    EXPECT_EQ(std::make_tuple(store.GetRune(3).GetClvl(), store.GetRune(3).GetName(),
                              store.GetRune(3).GetDescription()),
              std::make_tuple(4, "\xC6sc\x80", "\x93Na\xEFve\x94 \x97 50%"));
    EXPECT_EQ(std::make_tuple(store.GetItemType(1).GetCategory(), store.GetItemType(1).GetMaxSockets()),
              std::make_tuple(Missile, 4));
    EXPECT_EQ(store.GetRuneword(0).GetItemTypeCount(), 2); // Knife and Bow
    EXPECT_EQ(store.GetRuneword(1).GetDescription(), "Two\r\nlines.");
    EXPECT_EQ(store.GetRuneword(2).RuneOrderText(), "Ash Bel \xC6sc\x80");
}

// `count` records, each made from its number.
std::string Repeat(int count, std::string (*record)(std::string))
{
    std::string text = "date: 1.1.2001\n";
    for (int i = 0; i < count; ++i)
        text += record(std::to_string(i));
    return text;
}

// One small source replaced (0 runes, 1 items, 2 runewords) compiles with an
// error (so, not at all) or a warning at the place given; a row without a place
// just compiles.
// clang-format off
const std::tuple<int, std::string, std::string, std::string, Severity> SourceCases[] = {
    {1, "date: 1.1.2001\nitem: Kn\x80ife\ncategory: melee\nsockets: 2\n", "items.txt:2", "not UTF-8: save the file as UTF-8, or write the byte meant as \\xHH", Severity::Error},
    {0, "date: 1.1.2001\nrune: A\\x01h\nlevel: 1\n", "runes.txt:2", "control byte 0x01", Severity::Error},
    {2, "date: 1.1.2001\nruneword: Kindle\nitems: Knife\nrunes: Ash Bel\n" "| one\\x03two\n", "runewords.txt:2", "control byte 0x03", Severity::Error},
    {2, "date: 1.1.2001\nruneword: Kindle\nitems: Knife\nrunes: Ash Bel\n" "| fire → ice\n", "runewords.txt:5", "(U+2192) is not in the Windows-1252 code page the data files use: replace it, or write the byte meant as \\xHH", Severity::Error},
    {2, "date: 1.1.2001\nruneword: Long\nitems: Knife\nrunes: A B C D E F G\n", "runewords.txt:2", "has 7 runes; an item holds at most 6", Severity::Error},
    {2, "date: 1.1.2001\nruneword: Bare\nitems: Knife\n", "runewords.txt:2", "has no runes", Severity::Error},
    {2, "date: 1.1.2001\nruneword: Empty\nitems: Knife\nrunes:\n", "runewords.txt:2", "'Empty' has no runes", Severity::Error},
    {2, "date: 1.1.2001\nruneword: Gap\nitems: Knife /  / Cap\nrunes: Ash\n", "runewords.txt:2", "an empty item name", Severity::Error},
    {0, Repeat(34, [](std::string i) { return "rune: R" + i + "\nlevel: 1\n"; }), "runes.txt:68", "more than 33 runes (34)", Severity::Error},
    {1, Repeat(19, [](std::string i) { return "item: I" + i + "\ncategory: melee\nsockets: 2\n"; }), "items.txt:56", "more than 18 item types (19)", Severity::Error},
    {2, Repeat(169, [](std::string i) { return "runeword: W" + i + "\nitems: Knife\nrunes: Ash\n"; }), "runewords.txt:506", "more than 168 runewords (169)", Severity::Error},
    {0, "date: 1.1.2001\nrune: Ash\nlevel:\n", "runes.txt:3", "is not a whole number", Severity::Error},
    {0, "date: 1.1.2001\nrune: Ash\nlevel: 128\n", "runes.txt:2", "the level 128 does not fit the file's signed byte", Severity::Error},
    {1, "date: 1.1.2001\nitem: Knife\ncategory: melee\nsockets: 300\n", "items.txt:2", "the socket count 300 does not fit", Severity::Error},
    {1, "date: 1.1.2001\nitem: Knife\ncategory: 0\nsockets: 2\n", "items.txt:2", "the category 0 is none of 1 (melee), 2 (missile) or 3 (defence)", Severity::Error},
    {1, "date: 1.1.2001\nitem: Knife\ncategory: Melee\nsockets: 2\n", "items.txt:3", "'Melee' is none of melee, missile or defence", Severity::Error},
    {0, "date: 1.1.2001\nrune: Ash\nlevel: 1\n" "| one\\x0D\\x0Atwo\n", "runes.txt:4", "split the line there", Severity::Error},
    {0, "date: 1.1.2001\nrune: Ash\nlevel: 1\n" "| C:\\temp\n", "runes.txt:4", "unknown escape '\\tem'", Severity::Error},
    {1, "item: Knife\ncategory: melee\nsockets: 2\n", "items.txt", "no date line", Severity::Error},
    {0, "date: 2024-03-01\n", "runes.txt:1", "not of the form DD.MM.YYYY", Severity::Error},
    {0, "date: 1.1.2200\n", "runes.txt:1", "is not a date: the year 2200 is outside 2000 to 2099", Severity::Error},
    {0, "date: 31.02.2026\n", "runes.txt:1", "is not a date: February 2026 has no day 31", Severity::Error},
    {0, "date: 32.13.2026\n", "runes.txt:1", "is not a date: there is no month 13", Severity::Error},
    {0, "date: 00.00.2000\n", "runes.txt:1", "is not a date: there is no month 0", Severity::Error},
    {0, "date: 07.12.26\n", "runes.txt:1", "two-digit year: write the year in full, 07.12.2026", Severity::Error},
    {0, "date: 1.1.2001\nrune: Ash\n| text\n", "runes.txt:2", "has no 'level:' line", Severity::Error},
    {0, "date: 1.1.2001\nrune: Ash\nlevel: 1\n" "level: 2\n", "runes.txt:4", "a second 'level:' line", Severity::Error},
    {0, "date: 1.1.2001\nlevel: 2\n", "runes.txt:2", "before the first 'rune:' line", Severity::Error},
    {1, "date: 1.1.2001\nitem: Knife\ncategory: melee\nsockets: 2\n" "| text\n", "items.txt:5", "items.txt has no text lines", Severity::Error},
    {0, "date: 1.1.2001\nitem: Knife\n", "runes.txt:2", "starts a record of items.txt", Severity::Error},
    {2, "date: 1.1.2001\nruneword: Kindle\nitems: Knife\nrunes: Ash Bel\n" "just words\n", "runewords.txt:5", "expected 'key: value'", Severity::Error},
    {2, "date: 1.1.2001\nruneword: Lost\nitems: Bow\nrunes: Dun Ash Dun\n" "runeword: Gone\nitems: Bow\nrunes: Dun\n", "runewords.txt:2", "no rune 'Dun': 'Lost' and 1 more runeword name it", Severity::Error},
    {2, "date: 1.1.2001\nruneword: Lost\nitems: Hat / Bow\nrunes: Ash\n", "runewords.txt:2", "no item type 'Hat': did you mean 'Cap'? 'Lost' names it", Severity::Error},
    {2, "date: 1.1.2001\nruneword: Lost\nitems: Bow\nrunes: Ash Bell\n", "runewords.txt:2", "no rune 'Bell': did you mean 'Bel'?", Severity::Error},
    {2, "date: 1.1.2001\nruneword: Lost\nitems: Bow\nrunes: Ash Ash Ash Ash Ash\n", "runewords.txt:2", "needs 5 sockets, but its item types hold at most 4", Severity::Error},
    {0, "date: 29.02.2028\nrune: Ash\nlevel: 127\nrune: Bel\nlevel: 1\nrune: Cor\nlevel: 1\n", "runes.txt:4", "levels should rise", Severity::Warning},
    {0, Repeat(30, [](std::string i) { return "rune: R" + i + "\nlevel: 1\n"; }) + Small.runes.substr(17), "", "", Severity::Note},
    {1, Repeat(15, [](std::string i) { return "item: I" + i + "\ncategory: defence\nsockets: -128\n"; }) + Small.items.substr(17), "", "", Severity::Note},
    {2, Repeat(168, [](std::string i) { return "runeword: W" + i + "\nitems: Bow\nrunes: Ash\n"; }), "", "", Severity::Note},
};
// clang-format on

TEST(Compile, RefusesWithTheFileTheLineAndWhatToChange)
{
    for (const auto& [file, source, where, message, severity] : SourceCases) {
        SCOPED_TRACE(source);
        TextFiles sources = Small;
        (file == 0 ? sources.runes : file == 1 ? sources.items : sources.runewords) = source;
        Findings found;
        EXPECT_EQ(Compile(sources, found).has_value(), severity != Severity::Error) << Describe(found);
        EXPECT_EQ(found.Count(Severity::Error), severity == Severity::Error ? 1 : 0) << Describe(found);
        const Finding* finding = found.Find(message);
        if (where.empty())
            continue;
        ASSERT_NE(finding, nullptr) << Describe(found);
        EXPECT_EQ(finding->severity, severity);
        EXPECT_EQ(finding->where, where) << finding->message;
    }
}

const Bytes Good = RunewordRecord("Good", {"Cudgels"}, {"Vur", "Kess"}, "x");
const Bytes Five = RunewordRecord("Five", {"Slings"}, {"Vur", "Vur", "Vur", "Vur", "Vur"}, "");

// The three .dat files; the finding, where it is (its beginning) and how bad.
// clang-format off
const std::tuple<Bytes, Bytes, Bytes, std::string, std::string, Severity> CheckCases[] = {
    {TestRunesFile(), TestItemsFile(), Concat({DateBytes(), Good, RunewordRecord("Typo", {"Slings"}, {"Vur", "kess"}, "")}), "no rune 'kess': did you mean 'Kess'? 'Typo' names it", "runewords.dat record 2 (byte ", Severity::Error},
    {TestRunesFile(), TestItemsFile(), Concat({DateBytes(), RunewordRecord("Mixed", {"Melee Weapons", "Missile Weapons", "cudgels", "Weapons"}, {"Vur"}, "")}), "no item type 'cudgels': did you mean 'Cudgels'?", "runewords.dat record 1", Severity::Error},
    {TestRunesFile(), TestItemsFile(), Concat({DateBytes(), RunewordRecord("Lost", {"Wands", "Slings"}, {"Vur", "Vur", "Vur"}, "")}), "no item type 'Wands': 'Lost' names it", "runewords.dat record 1", Severity::Error},
    {TestRunesFile(), TestItemsFile(), Concat({DateBytes(), RunewordRecord("Gap", {"Slings", ""}, {"Vur"}, "")}), "an empty item name in the allowed items of 'Gap'", "runewords.dat record 1", Severity::Error},
    {TestRunesFile(), TestItemsFile(), Concat({DateBytes(), Good, Five}), "'Five' needs 5 sockets, but its item types hold at most 2, so no one can make it:", "runewords.dat record 2", Severity::Error},
    {TestRunesFile(), Concat({DateBytes(), ItemRecord(2, 2, "Slings"), ItemRecord(4, 3, "Caps"), ItemRecord(3, 1, "Clubs")}), Concat({DateBytes(), Five}), "hold at most 2, so no one can make it and Glyphmoor never lists it", "runewords.dat record 1", Severity::Error},
    {TestRunesFile(), TestItemsFile(), Concat({DateBytes(), Good, Good}), "the runeword 'Good' is also the name of runeword 1", "runewords.dat record 2 (byte ", Severity::Error},
    {Concat({DateBytes(), RuneRecord(5, "Ash", ""), RuneRecord(2, "Bel", "")}), TestItemsFile(), DateBytes(), "the rune 'Bel' needs level 2, less than 'Ash' (5)", "runes.dat record 2 (byte 9)", Severity::Warning},
    {TestRunesFile(), Concat({DateBytes(), ItemRecord(2, 1, "Knife"), ItemRecord(3, 7, "Odd")}), DateBytes(), "the category 7 is none of 1 (melee)", "items.dat record 2 (byte 11)", Severity::Error},
    {TestRunesFile(), Concat({DateBytes(), ItemRecord(2, 1, "Knife")}), DateBytes(), "only 1 item types: rows 2 to 18 of the item list stay blank", "items.dat", Severity::Warning},
    {TestRunesFile(), TestItemsFile(), Concat({DateBytes(), Good, BytesOf("Cut\x01I")}), "a record that ends inside its item or rune list", "runewords.dat (byte " + std::to_string(3 + Good.size()) + ")", Severity::Warning},
    {TestRunesFile(), Concat({TestItemsFile(), ItemRecord(2, 1, "I18")}), DateBytes(), "the last 6 bytes come after record 18", "items.dat", Severity::Warning},
};
// clang-format on

TEST(Check, FindsEachFaultAtItsRecordAndByte)
{
    for (const auto& [runes, items, runewords, message, where, severity] : CheckCases) {
        MemoryFiles files;
        files.files = {{RunesFileName, runes}, {ItemsFileName, items}, {RunewordsFileName, runewords}};
        const Findings found = CheckDatFiles(files);
        const Finding* finding = found.Find(message);
        ASSERT_NE(finding, nullptr) << message << "\n" << Describe(found);
        EXPECT_EQ(finding->where.rfind(where, 0), 0u) << finding->where;
        EXPECT_EQ(finding->severity, severity) << message;
        EXPECT_EQ(found.Count(Severity::Error), severity == Severity::Error ? 1 : 0) << Describe(found);
    }
}

struct Tool {
    explicit Tool(const std::vector<std::string>& args) : code(RunDataTool(args, out, err)) {}
    std::ostringstream out, err;
    int code;
};

// The run ended with the code given, and its output or error output holds the text.
::testing::AssertionResult Says(const Tool& run, int code, const std::string& text)
{
    const std::string all = run.out.str() + run.err.str();
    if (run.code == code && all.find(text) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "exit code " << run.code << ":\n" << all;
}

TEST(DataTool, CompileCheckAndDecompileTheSample)
{
    const TempFolder dat, text, again;
    EXPECT_TRUE(Says(Tool({"compile", GLYPHMOOR_SAMPLE_DATA_DIR, dat.path.string()}), ExitSuccess, ""));
    EXPECT_TRUE(Says(Tool({"check", dat.path.string()}), ExitSuccess, "0 errors, 0 warnings"));
    EXPECT_TRUE(Says(Tool({"decompile", dat.path.string(), text.path.string()}), ExitSuccess, ""));
    EXPECT_TRUE(Says(Tool({"compile", text.path.string(), again.path.string()}), ExitSuccess, ""));
    for (const std::string name : ReferenceFileNames)
        EXPECT_EQ(again.Read(name), dat.Read(name)) << name;

    std::string items = dat.Read(ItemsFileName);
    items[4] = 9; // the first item type's category: the text is written all the same
    dat.Write(ItemsFileName, items);
    const std::string error = "items.dat record 1 (byte 3): error: the category 9";
    EXPECT_TRUE(Says(Tool({"decompile", dat.path.string(), text.path.string()}), ExitDataError, error));
    EXPECT_NE(text.Read(ItemsText).find("category: 9\n"), std::string::npos);
    EXPECT_TRUE(Says(Tool({"check", dat.path.string()}), ExitDataError, error));
}

TEST(DataTool, FailedCompileWritesNoneOfTheThreeAndKeepsTheOldFiles)
{
    const TempFolder source, target;
    const TextFiles sources = Small;
    source.Write(RunesText, sources.runes);
    source.Write(RunewordsText, sources.runewords + "\nruneword: Long\nitems: Bow\nrunes: A A A A A A A\n");
    target.Write(RunesFileName, "old runes");
    target.Write(ItemsFileName, "old items");
    const std::vector<std::string> compile = {"compile", source.path.string(), target.path.string()};
    EXPECT_TRUE(Says(Tool(compile), ExitDataError, "items.txt: error: cannot be read"));
    source.Write(ItemsText, sources.items);
    EXPECT_TRUE(
        Says(Tool(compile), ExitDataError, "runewords.txt:13: error: the runeword 'Long' has 7 runes"));
    EXPECT_EQ(target.Read(RunesFileName) + target.Read(ItemsFileName), "old runesold items");
    EXPECT_EQ(std::distance(fs::directory_iterator(target.path), {}), 2); // no leftovers
    EXPECT_TRUE(Says(Tool({"check", source.path.string()}), ExitDataError, "File not found: 'runes.dat'"));
    EXPECT_TRUE(Says(Tool({"check", source.path.string()}), ExitDataError, "3 errors, 2 warnings"));
}

} // namespace
} // namespace glyphmoor::tools
