// SPDX-License-Identifier: GPL-3.0-or-later
// The sample data set in data/: clean for the compiler, the checker and the
// decompiler.
#include "tools/DataChecker.h"
#include "tools/DataCompiler.h"
#include "TestSupport.h"
#include "tools/TextFormat.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>


namespace glyphmoor::tools::test {
namespace {

// The sample compiled once for all tests, and loaded as Glyphmoor loads it.
struct CompiledSample {
    CompiledSample()
    {
        files = Compile(SampleSources(), findings);
        if (!files)
            return;
        store.ParseRunes(files->runes);
        store.ParseItemTypes(files->items);
        store.ParseRunewords(files->runewords);
    }
    Findings findings;
    std::optional<DatFiles> files;
    DataStore store{MaxRunes, MaxItemTypes, MaxRunewords, MaxRunesPerRuneword};
};

class SampleData : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Sample().files.has_value()) << Describe(Sample().findings); }

    static const CompiledSample& Sample()
    {
        static const CompiledSample sample;
        return sample;
    }
    static const DatFiles& Files() { return *Sample().files; }
    static const DataStore& Store() { return Sample().store; }

};

TEST_F(SampleData, CompilesWithoutErrorOrWarning)
{
    EXPECT_TRUE(Sample().findings.Empty()) << Describe(Sample().findings);
}

TEST_F(SampleData, CheckFindsNothingToReport)
{
    glyphmoor::test::MemoryFiles files;
    files.files[RunesDat] = Files().runes;
    files.files[ItemsDat] = Files().items;
    files.files[RunewordsDat] = Files().runewords;
    const Findings found = CheckDatFiles(files);
    EXPECT_EQ(found.Count(Severity::Error), 0) << Describe(found);
    EXPECT_EQ(found.Count(Severity::Warning), 0) << Describe(found);
}

TEST_F(SampleData, DecompilesWithoutFindingAndBackToTheSameBytes)
{
    Findings found;
    const TextFiles text = Decompile(Files(), found);
    EXPECT_TRUE(found.Empty()) << Describe(found);
    const std::optional<DatFiles> again = Compile(text, found);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->runes, Files().runes);
    EXPECT_EQ(again->runewords, Files().runewords);
}

} // namespace
} // namespace glyphmoor::tools::test
