// SPDX-License-Identifier: GPL-3.0-or-later
// The glyphmoor-data command line on real directories: exit codes, help, and
// that a failed compile leaves the .dat files as they were.
#include "tools/DataTool.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace glyphmoor::tools::test {
namespace {

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

void WriteSources(const TempDir& dir, const TextFiles& sources)
{
    dir.Write(RunesText, sources.runes);
    dir.Write(ItemsText, sources.items);
    dir.Write(RunewordsText, sources.runewords);
}

TEST(DataTool, HelpAndUsageErrors)
{
    EXPECT_NE(Tool({"--help"}).out.find("Usage: glyphmoor-data COMMAND"), std::string::npos);
    const ToolRun help = Tool({"check", "--help"});
    EXPECT_EQ(help.code, ExitSuccess);
    EXPECT_NE(help.out.find("Usage: glyphmoor-data check"), std::string::npos) << help.out;
    EXPECT_EQ(Tool({"help", "check"}).out, help.out);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"build"}, {"compile"}, {"compile", "a"}, {"compile", "a", "b", "c"}, {"decompile", "a"},
             {"check", "a", "b"}, {"check", "--verbose"}, {"help", "build"}}) {
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.code, ExitUsageError) << (args.empty() ? "(none)" : args[0]);
        EXPECT_TRUE(!run.err.empty() && run.out.empty());
    }
}

TEST(DataTool, CompileCheckAndDecompileTheSample)
{
    const TempDir dat;
    const TempDir text;
    const TempDir again;
    const ToolRun compile = Tool({"compile", GLYPHMOOR_SAMPLE_DATA_DIR, dat.Str()});
    ASSERT_EQ(compile.code, ExitSuccess) << compile.err;
    EXPECT_TRUE(compile.err.empty()) << compile.err;
    const ToolRun check = Tool({"check", dat.Str()});
    EXPECT_EQ(check.code, ExitSuccess) << check.out;
    EXPECT_NE(check.out.find("0 errors, 0 warnings"), std::string::npos) << check.out;
    ASSERT_EQ(Tool({"decompile", dat.Str(), text.Str()}).code, ExitSuccess);
    ASSERT_EQ(Tool({"compile", text.Str(), again.Str()}).code, ExitSuccess);
    for (const std::string& name : {RunesDat, ItemsDat, RunewordsDat})
        EXPECT_EQ(again.Read(name), dat.Read(name)) << name;
}

TEST(DataTool, FailedCompileWritesNoneOfTheThreeAndKeepsTheOldFiles)
{
    const TempDir source;
    const TempDir target;
    TextFiles sources = SmallSources();
    sources.runewords += "\nruneword: Long\nitems: Bow\nrunes: Ash Ash Ash Ash Ash Ash Ash\n";
    WriteSources(source, sources);
    target.Write(RunesDat, "old runes");
    target.Write(ItemsDat, "old items");
    const ToolRun run = Tool({"compile", source.Str(), target.Str()});
    EXPECT_EQ(run.code, ExitDataError);
    EXPECT_NE(run.err.find("runewords.txt:13: error: the runeword 'Long' has 7 runes"), std::string::npos) << run.err;

    std::filesystem::remove(source.Path() / ItemsText);
    const ToolRun missing = Tool({"compile", source.Str(), target.Str()});
    EXPECT_EQ(missing.code, ExitDataError);
    EXPECT_NE(missing.err.find("items.txt: error: cannot be read"), std::string::npos) << missing.err;
    EXPECT_EQ(target.Read(RunesDat), "old runes");
    EXPECT_EQ(target.Read(ItemsDat), "old items");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(target.Path()), {}), 2); // no leftovers
}

TEST(DataTool, DecompileWritesButFailsWhenTheTextWillNotCompile)
{
    const TempDir dat;
    const TempDir text;
    ASSERT_EQ(Tool({"compile", GLYPHMOOR_SAMPLE_DATA_DIR, dat.Str()}).code, ExitSuccess);
    std::string items = dat.Read(ItemsDat);
    items[4] = 9; // the first item type's category
    dat.Write(ItemsDat, items);
    const ToolRun run = Tool({"decompile", dat.Str(), text.Str()});
    EXPECT_EQ(run.code, ExitDataError);
    EXPECT_NE(run.err.find("items.dat record 1 (byte 3): error: the category 9"), std::string::npos) << run.err;
    EXPECT_NE(text.Read(ItemsText).find("category: 9\n"), std::string::npos);
}

TEST(DataTool, CheckFailsOnDataErrorsAndMissingFiles)
{
    const TempDir dir;
    const ToolRun missing = Tool({"check", dir.Str()});
    EXPECT_EQ(missing.code, ExitDataError);
    EXPECT_NE(missing.out.find("File not found: 'runes.dat'"), std::string::npos) << missing.out;
    TextFiles sources = SmallSources();
    sources.runewords += "\nruneword: Lost\nitems: Cap\nrunes: Dun\n";
    WriteSources(dir, sources);
    ASSERT_EQ(Tool({"compile", dir.Str(), dir.Str()}).code, ExitSuccess);
    const ToolRun check = Tool({"check", dir.Str()});
    EXPECT_EQ(check.code, ExitDataError);
    EXPECT_NE(check.out.find("error: the rune 'Dun' of 'Lost'"), std::string::npos) << check.out;
}

} // namespace
} // namespace glyphmoor::tools::test
