// SPDX-License-Identifier: GPL-3.0-or-later
// glyphmoor-data: compile refuses what the .dat files cannot carry with its
// file and line, check names the record and byte of each fault, and the
// command line leaves old files as they were when a compile fails. That .dat
// files decompile to text that compiles back to the same bytes is checked on
// the datadecompile seeds (FuzzRegressionTest) and on the sample data here.
#include "tools/DataTool.h"
#include "TestSupport.h"
#include "tools/DataChecker.h"
#include "tools/DataCompiler.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdlib.h>

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
TextFiles Small()
{
    return {"date: 11.10.2001\n\nrune: Ash\nlevel: 1\n| Grey.\n\nrune: Bel\nlevel: 2\n| Blue.\n\n"
            "rune: Cor\nlevel: 3\n| Red.\n",
            "date: 11.10.2001\n\nitem: Knife\ncategory: melee\nsockets: 2\n\nitem: Bow\ncategory: missile\n"
            "sockets: 4\n\nitem: Cap\ncategory: defence\nsockets: 3\n",
            "date: 11.10.2001\n\nruneword: Kindle\nitems: Weapons\nrunes: Ash Bel\n\nruneword: Veil\n"
            "items: Cap\nrunes: Bel Cor Bel\n| Two\n| lines.\n"};
}

TEST(Compile, GivesTheRecordsTheReadersExpect)
{
    TextFiles sources = Small();
    sources.runes += "\n# more\r\n  rune:   Æsc€  \r\nlevel: +4\r\n| “Naïve” — 50%\n";
    sources.runewords +=
        "runeword: W\nitems:  Melee Weapons /Cap/  Wall\\x2FShield \nrunes:   Ash\tBel   Æsc€\n";
    Findings found;
    const std::optional<DatFiles> files = Compile(sources, found);
    ASSERT_TRUE(files.has_value()) << Describe(found);
    DataStore store(MaxRunes, MaxItemTypes, MaxRunewords, MaxRunesPerRuneword);
    store.ParseRunes(files->runes);
    store.ParseItemTypes(files->items);
    store.ParseRunewords(files->runewords);
    EXPECT_EQ(ReadDataFileDate(files->runes), (DataFileDate{11, 10, 1}));
    EXPECT_EQ(std::make_tuple(store.GetRune(3).GetClvl(), store.GetRune(3).GetName(),
                              store.GetRune(3).GetDescription()),
              std::make_tuple(4, "\xC6sc\x80", "\x93Na\xEFve\x94 \x97 50%"));
    EXPECT_EQ(std::make_tuple(store.GetItemType(1).GetCategory(), store.GetItemType(1).GetMaxSockets()),
              std::make_tuple(Missile, 4));
    ASSERT_EQ(store.GetRunewordCount(), 3);
    EXPECT_EQ(store.GetRuneword(0).GetItemTypeCount(), 2); // Knife and Bow
    EXPECT_EQ(store.GetRuneword(1).GetDescription(), "Two\r\nlines.");
    EXPECT_EQ(store.GetRuneword(2).GetItemTokens(),
              (std::vector<std::string>{"Melee Weapons", "Cap", "Wall/Shield"}));
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

const std::string RunesHead = "date: 1.1.2001\nrune: Ash\nlevel: 1\n";
const std::string ItemsHead = "date: 1.1.2001\nitem: Knife\ncategory: melee\nsockets: 2\n";
const std::string WordsHead = "date: 1.1.2001\nruneword: Kindle\nitems: Knife\nrunes: Ash Bel\n";

// One small source replaced (0 runes, 1 items, 2 runewords): compile fails
// with an error (or, not refused, compiles with a warning) at the place given.
struct SourceCase {
    int file;
    std::string source;
    std::string where;
    std::string message;
    bool refused = true;
};

// clang-format off
const SourceCase SourceCases[] = {
    {1, "date: 1.1.2001\nitem: Kn\x80ife\ncategory: melee\nsockets: 2\n", "items.txt:2", "not UTF-8"},
    {0, "date: 1.1.2001\nrune: A\\x01h\nlevel: 1\n", "runes.txt:2", "control byte 0x01"},
    {1, "date: 1.1.2001\nitem: Kn\\x00ife\ncategory: melee\nsockets: 2\n", "items.txt:2", "control byte 0x00"},
    {2, "date: 1.1.2001\nruneword: K\nitems: Knife\\x04\nrunes: Ash\n", "runewords.txt:2", "control byte 0x04"},
    {2, "date: 1.1.2001\nruneword: K\nitems: Knife\nrunes: A\\x03sh\n", "runewords.txt:2", "control byte 0x03"},
    {0, RunesHead + "| one\\x00two\n", "runes.txt:2", "control byte 0x00"},
    {2, WordsHead + "| one\\x03two\n", "runewords.txt:2", "control byte 0x03"},
    {0, "date: 1.1.2001\nrune: Ωmen\nlevel: 1\n", "runes.txt:2", "'Ω' (U+03A9) is not in the Windows-1252 code page"},
    {2, WordsHead + "| fire → ice\n", "runewords.txt:5", "(U+2192) is not in the Windows-1252"},
    {2, "date: 1.1.2001\nruneword: Long\nitems: Knife\nrunes: A B C D E F G\n", "runewords.txt:2", "has 7 runes; an item holds at most 6"},
    {2, "date: 1.1.2001\nruneword: Bare\nitems: Knife\nrunes:\n", "runewords.txt:2", "has no runes"},
    {2, "date: 1.1.2001\nruneword: Gap\nitems: Knife /  / Cap\nrunes: Ash\n", "runewords.txt:2", "an empty item name"},
    {0, Repeat(34, [](std::string i) { return "rune: R" + i + "\nlevel: 1\n"; }), "runes.txt:68", "more than 33 runes (34)"},
    {1, Repeat(19, [](std::string i) { return "item: I" + i + "\ncategory: melee\nsockets: 2\n"; }), "items.txt:56", "more than 18 item types (19)"},
    {2, Repeat(169, [](std::string i) { return "runeword: W" + i + "\nitems: Knife\nrunes: Ash\n"; }), "runewords.txt:506", "more than 168 runewords (169)"},
    {0, "date: 1.1.2001\nrune: Ash\nlevel:\n", "runes.txt:3", "is not a whole number"},
    {0, "date: 1.1.2001\nrune: Ash\nlevel: 128\n", "runes.txt:2", "the level 128 does not fit the file's signed byte"},
    {1, "date: 1.1.2001\nitem: Knife\ncategory: melee\nsockets: 300\n", "items.txt:2", "the socket count 300 does not fit"},
    {1, "date: 1.1.2001\nitem: Knife\ncategory: 0\nsockets: 2\n", "items.txt:2", "the category 0 is none of 1 (melee), 2 (missile) or 3 (defence)"},
    {1, "date: 1.1.2001\nitem: Knife\ncategory: Melee\nsockets: 2\n", "items.txt:3", "'Melee' is none of melee, missile or defence"},
    {0, RunesHead + "| one\\x0D\\x0Atwo\n", "runes.txt:4", "split the line there"},
    {0, RunesHead + "| C:\\temp\n", "runes.txt:4", "unknown escape '\\tem'"},
    {1, "item: Knife\ncategory: melee\nsockets: 2\n", "items.txt", "no date line"},
    {1, ItemsHead + "date: 2.2.2002\n", "items.txt:5", "a second date"},
    {0, "date: 2024-03-01\n", "runes.txt:1", "not of the form DD.MM.YYYY"},
    {0, "date: 1.1.2200\n", "runes.txt:1", "does not fit the three date bytes"},
    {0, "date: 1.1.2001\nrune: Ash\n| text\n", "runes.txt:2", "has no 'level:' line"},
    {0, RunesHead + "level: 2\n", "runes.txt:4", "a second 'level:' line"},
    {0, "date: 1.1.2001\nlevel: 2\n", "runes.txt:2", "before the first 'rune:' line"},
    {0, "date: 1.1.2001\n| text\n", "runes.txt:2", "a text line before the first 'rune:'"},
    {1, ItemsHead + "| text\n", "items.txt:5", "items.txt has no text lines"},
    {0, "date: 1.1.2001\nitem: Knife\n", "runes.txt:2", "starts a record of items.txt"},
    {2, WordsHead + "just words\n", "runewords.txt:5", "expected 'key: value'"},
    {2, WordsHead + "\nruneword: Lost\nitems: Hat\nrunes: Ash Dun\n", "runewords.txt:6", "the rune 'Dun' of 'Lost'", false},
    {2, WordsHead + "\nruneword: Lost\nitems: Hat\nrunes: Ash Dun\n", "runewords.txt:6", "the item type 'Hat' of 'Lost'", false},
    {0, "date: 31.02.2001\nrune: Ash\nlevel: 127\n", "runes.txt:1", "is not a day of the years 2000 to 2099", false},
    {0, Repeat(33, [](std::string i) { return "rune: R" + i + "\nlevel: 127\n"; }), "", "", false},
    {1, Repeat(18, [](std::string i) { return "item: I" + i + "\ncategory: defence\nsockets: -128\n"; }), "", "", false},
    {2, Repeat(168, [](std::string i) { return "runeword: W" + i + "\nitems: Bow\nrunes: Ash\n"; }), "", "", false},
};
// clang-format on

TEST(Compile, RefusesWithTheFileTheLineAndWhatToChange)
{
    for (const SourceCase& row : SourceCases) {
        SCOPED_TRACE(row.source);
        TextFiles sources = Small();
        (row.file == 0 ? sources.runes : row.file == 1 ? sources.items : sources.runewords) = row.source;
        Findings found;
        EXPECT_EQ(Compile(sources, found).has_value(), !row.refused) << Describe(found);
        const Finding* finding = found.Find(row.message);
        if (row.where.empty())
            continue;
        ASSERT_NE(finding, nullptr) << Describe(found);
        EXPECT_EQ(finding->severity, row.refused ? Severity::Error : Severity::Warning);
        EXPECT_EQ(finding->where, row.where) << finding->message;
    }
}

const Bytes Runes = TestRunesFile();
const Bytes Items = TestItemsFile();
const Bytes Good = RunewordRecord("Good", {"Cudgels"}, {"Vur", "Kess"}, "x");
const Bytes Five = RunewordRecord("Five", {"Slings"}, {"Vur", "Vur", "Vur", "Vur", "Vur"}, "");

// The three .dat files; the finding, where it is (its beginning) and how bad.
struct CheckCase {
    Bytes runes;
    Bytes items;
    Bytes runewords;
    std::string message;
    std::string where;
    Severity severity;
};

// clang-format off
const CheckCase CheckCases[] = {
    {Runes, Items, Concat({DateBytes(), Good, RunewordRecord("Typo", {"Slings"}, {"Vur", "kess"}, "")}), "the rune 'kess' of 'Typo' is no rune of runes.dat", "runewords.dat record 2 (byte ", Severity::Error},
    {Runes, Items, Concat({DateBytes(), RunewordRecord("Mixed", {"Melee Weapons", "Missile Weapons", "cudgels", "Weapons"}, {"Vur"}, "")}), "the item type 'cudgels' of 'Mixed' is no item type of items.dat", "runewords.dat record 1", Severity::Error},
    {Runes, Items, Concat({DateBytes(), Good, Five}), "'Five' needs 5 sockets, but its item types hold at most 2, so no one can make it:", "runewords.dat record 2", Severity::Error},
    {Runes, Concat({DateBytes(), ItemRecord(2, 2, "Slings"), ItemRecord(4, 3, "Caps"), ItemRecord(3, 1, "Clubs")}), Concat({DateBytes(), Five}), "hold at most 2, so no one can make it and Glyphmoor never lists it", "runewords.dat record 1", Severity::Error},
    {Concat({DateBytes(), RuneRecord(1, "Ash", ""), RuneRecord(2, "Ash", "")}), Items, DateBytes(), "the rune 'Ash' is also the name of rune 1", "runes.dat record 2", Severity::Error},
    {Runes, Concat({DateBytes(), ItemRecord(2, 1, "Cap"), ItemRecord(3, 3, "Cap")}), DateBytes(), "the item type 'Cap' is also the name of item type 1", "items.dat record 2", Severity::Error},
    {Runes, Items, Concat({DateBytes(), Good, Good}), "the runeword 'Good' is also the name of runeword 1", "runewords.dat record 2 (byte ", Severity::Error},
    {Concat({DateBytes(), RuneRecord(5, "Ash", ""), RuneRecord(2, "Bel", "")}), Items, DateBytes(), "the rune 'Bel' needs level 2, less than 'Ash' (5)", "runes.dat record 2 (byte 9)", Severity::Warning},
    {Runes, Concat({DateBytes(), ItemRecord(2, 1, "Knife"), ItemRecord(3, 7, "Odd")}), DateBytes(), "the category 7 is none of 1 (melee)", "items.dat record 2 (byte 11)", Severity::Error},
    {Runes, Concat({DateBytes(), ItemRecord(2, 1, "Knife")}), DateBytes(), "only 1 item types: rows 2 to 18 of the item list stay blank", "items.dat", Severity::Warning},
    {Runes, Items, Concat({DateBytes(), Good, BytesOf("Cut\x01I")}), "a record that ends inside its item or rune list", "runewords.dat (byte " + std::to_string(3 + Good.size()) + ")", Severity::Warning},
    {Runes, Concat({Items, ItemRecord(2, 1, "I18")}), DateBytes(), "the last 6 bytes come after record 18", "items.dat", Severity::Warning},
};
// clang-format on

TEST(Check, FindsEachFaultAtItsRecordAndByte)
{
    for (const CheckCase& row : CheckCases) {
        MemoryFiles files;
        files.files = {{RunesDat, row.runes}, {ItemsDat, row.items}, {RunewordsDat, row.runewords}};
        const Findings found = CheckDatFiles(files);
        const Finding* finding = found.Find(row.message);
        ASSERT_NE(finding, nullptr) << row.message << "\n" << Describe(found);
        EXPECT_EQ(finding->where.rfind(row.where, 0), 0u) << finding->where;
        EXPECT_EQ(finding->severity, row.severity) << row.message;
    }
    MemoryFiles missing;
    missing.files = {{RunesDat, Runes}, {RunewordsDat, DateBytes()}};
    const Findings found = CheckDatFiles(missing);
    EXPECT_TRUE(found.Find("File not found: 'items.dat'") && found.Find("the runewords are not checked"))
        << Describe(found);
}

struct ToolRun {
    int code;
    std::string out;
    std::string err;
};

ToolRun Tool(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunDataTool(args, out, err);
    return {code, out.str(), err.str()};
}

// A fresh directory, removed again.
struct TempDir {
    TempDir()
    {
        std::string name = (fs::temp_directory_path() / "glyphmoor-data-XXXXXX").string();
        path = ::mkdtemp(name.data());
    }
    ~TempDir() { fs::remove_all(path); }
    std::string Read(const std::string& name) const
    {
        std::ostringstream content;
        content << std::ifstream(path / name).rdbuf();
        return content.str();
    }
    void Write(const std::string& name, const std::string& text) const { std::ofstream(path / name) << text; }
    fs::path path;
};

TEST(DataTool, HelpAndUsageErrors)
{
    const ToolRun help = Tool({"check", "--help"});
    EXPECT_EQ(help.code, ExitSuccess);
    EXPECT_NE(help.out.find("Usage: glyphmoor-data check"), std::string::npos) << help.out;
    EXPECT_EQ(Tool({"help", "check"}).out, help.out);
    const std::vector<std::vector<std::string>> wrong = {
        {}, {"build"}, {"compile", "a"}, {"decompile", "a"}, {"check", "a", "b"}, {"check", "--verbose"}};
    for (const auto& args : wrong) {
        const ToolRun run = Tool(args);
        EXPECT_TRUE(run.code == ExitUsageError && !run.err.empty() && run.out.empty()) << run.err;
    }
}

TEST(DataTool, CompileCheckAndDecompileTheSample)
{
    const TempDir dat;
    const TempDir text;
    const TempDir again;
    const ToolRun compile = Tool({"compile", GLYPHMOOR_SAMPLE_DATA_DIR, dat.path});
    ASSERT_TRUE(compile.code == ExitSuccess && compile.err.empty()) << compile.err;
    const ToolRun check = Tool({"check", dat.path});
    EXPECT_EQ(check.code, ExitSuccess) << check.out;
    EXPECT_NE(check.out.find("0 errors, 0 warnings"), std::string::npos) << check.out;
    ASSERT_EQ(Tool({"decompile", dat.path, text.path}).code, ExitSuccess);
    ASSERT_EQ(Tool({"compile", text.path, again.path}).code, ExitSuccess);
    for (const std::string& name : {RunesDat, ItemsDat, RunewordsDat})
        EXPECT_EQ(again.Read(name), dat.Read(name)) << name;

    std::string items = dat.Read(ItemsDat);
    items[4] = 9; // the first item type's category: the text is written, the error names record and byte
    dat.Write(ItemsDat, items);
    const ToolRun run = Tool({"decompile", dat.path, text.path});
    EXPECT_EQ(run.code, ExitDataError);
    EXPECT_NE(run.err.find("items.dat record 1 (byte 3): error: the category 9"), std::string::npos)
        << run.err;
    EXPECT_NE(text.Read(ItemsText).find("category: 9\n"), std::string::npos);
    EXPECT_EQ(Tool({"check", dat.path}).code, ExitDataError);
}

TEST(DataTool, FailedCompileWritesNoneOfTheThreeAndKeepsTheOldFiles)
{
    const TempDir source;
    const TempDir target;
    TextFiles sources = Small();
    source.Write(RunesText, sources.runes);
    source.Write(RunewordsText, sources.runewords + "\nruneword: Long\nitems: Bow\nrunes: A A A A A A A\n");
    target.Write(RunesDat, "old runes");
    target.Write(ItemsDat, "old items");
    const ToolRun missing = Tool({"compile", source.path, target.path});
    EXPECT_EQ(missing.code, ExitDataError);
    EXPECT_NE(missing.err.find("items.txt: error: cannot be read"), std::string::npos) << missing.err;
    source.Write(ItemsText, sources.items);
    const ToolRun run = Tool({"compile", source.path, target.path});
    EXPECT_EQ(run.code, ExitDataError);
    EXPECT_NE(run.err.find("runewords.txt:13: error: the runeword 'Long' has 7 runes"), std::string::npos)
        << run.err;
    EXPECT_EQ(target.Read(RunesDat) + target.Read(ItemsDat), "old runesold items");
    EXPECT_EQ(std::distance(fs::directory_iterator(target.path), {}), 2); // no leftovers
    const ToolRun check = Tool({"check", source.path});
    EXPECT_EQ(check.code, ExitDataError);
    EXPECT_NE(check.out.find("File not found: 'runes.dat'"), std::string::npos) << check.out;
}

} // namespace
} // namespace glyphmoor::tools
