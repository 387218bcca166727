// SPDX-License-Identifier: GPL-3.0-or-later
// The sample data set in data/: complete, clean, and spread so that every
// level bound of the Filters menu changes the runeword list.
#include "tools/DataChecker.h"
#include "tools/DataCompiler.h"
#include "core/RunewordFilter.h"
#include "TestSupport.h"
#include "tools/TextFormat.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>

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

    static std::vector<std::string> DescriptionLines(const std::string& text)
    {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = text.find("\r\n", start);
            lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
            if (end == std::string::npos)
                return lines;
            start = end + 2;
        }
    }
};

TEST_F(SampleData, CompilesWithoutErrorOrWarning)
{
    EXPECT_TRUE(Sample().findings.Empty()) << Describe(Sample().findings);
}

TEST_F(SampleData, FillsEveryTable)
{
    Findings found;
    const TextFiles sources = SampleSources();
    EXPECT_EQ(ParseRunesText(sources.runes, found).entries.size(), 33u);
    EXPECT_EQ(ParseItemsText(sources.items, found).entries.size(), 18u);
    EXPECT_EQ(ParseRunewordsText(sources.runewords, found).entries.size(), 168u);
    EXPECT_EQ(Store().GetRunewordCount(), 168);
}

TEST_F(SampleData, EachFileBeginsWithTheDataSetsOwnDate)
{
    const auto date = ReadDataFileDate(Files().runes);
    ASSERT_TRUE(date.has_value());
    EXPECT_GE(date->day, 1);
    EXPECT_LE(date->day, 31);
    EXPECT_GE(date->month, 1);
    EXPECT_LE(date->month, 12);
    EXPECT_GE(date->year, 1);
    EXPECT_LE(date->year, 99);
    EXPECT_EQ(ReadDataFileDate(Files().items), date);
    EXPECT_EQ(ReadDataFileDate(Files().runewords), date);
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

TEST_F(SampleData, RunesHaveShortNamesRisingLevelsAndShortTexts)
{
    std::set<std::string> names;
    for (int i = 0; i < MaxRunes; ++i) {
        const Rune& rune = Store().GetRune(i);
        EXPECT_GE(rune.GetName().size(), 2u) << i;
        EXPECT_LE(rune.GetName().size(), 6u) << rune.GetName();
        EXPECT_TRUE(names.insert(rune.GetName()).second) << rune.GetName();
        if (i > 0) {
            EXPECT_GT(rune.GetClvl(), Store().GetRune(i - 1).GetClvl()) << rune.GetName();
        }
        const std::size_t lines = DescriptionLines(rune.GetDescription()).size();
        EXPECT_GE(lines, 2u) << rune.GetName();
        EXPECT_LE(lines, 4u) << rune.GetName();
    }
    EXPECT_EQ(Store().GetRune(0).GetClvl(), 1);
    EXPECT_GE(Store().GetRune(32).GetClvl(), 65);
    EXPECT_LE(Store().GetRune(32).GetClvl(), 75);
}

TEST_F(SampleData, ItemTypesCoverTheThreeGroupsAndTwoToSixSockets)
{
    std::set<int> sockets;
    int perCategory[4] = {};
    for (int i = 0; i < MaxItemTypes; ++i) {
        const ItemType& type = Store().GetItemType(i);
        sockets.insert(type.GetMaxSockets());
        ++perCategory[type.GetCategory()];
    }
    EXPECT_EQ(sockets, (std::set<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(perCategory[NoCategory], 0);
    EXPECT_GE(perCategory[Melee], 2);
    EXPECT_GE(perCategory[Missile], 2);
    EXPECT_GE(perCategory[Defence], 2);
}

TEST_F(SampleData, RunewordsUseEveryFormOfTheirFields)
{
    std::set<std::string> names;
    std::set<std::string> tokens;
    int repeated = 0;
    int mixtures = 0;
    int onlyInSixSockets = 0;
    std::set<int> runeCounts;
    for (int i = 0; i < Store().GetRunewordCount(); ++i) {
        const Runeword& runeword = Store().GetRuneword(i);
        EXPECT_TRUE(names.insert(runeword.GetName()).second) << runeword.GetName();
        runeCounts.insert(runeword.GetRuneCount());
        std::vector<int> runes;
        for (int p = 0; p < runeword.GetRuneCount(); ++p) {
            ASSERT_GE(runeword.GetRune(p), 0) << runeword.GetName();
            runes.push_back(runeword.GetRune(p));
        }
        repeated += std::set<int>(runes.begin(), runes.end()).size() < runes.size();
        int most = 0;
        for (int a = 0; a < runeword.GetItemTypeCount(); ++a) {
            ASSERT_GE(runeword.GetItemType(a), 0) << runeword.GetName();
            most = std::max(most, Store().GetItemType(runeword.GetItemType(a)).GetMaxSockets());
        }
        EXPECT_LE(runeword.GetRuneCount(), most) << runeword.GetName();
        bool allSix = runeword.GetRuneCount() == 6;
        for (int a = 0; a < runeword.GetItemTypeCount(); ++a)
            allSix = allSix && Store().GetItemType(runeword.GetItemType(a)).GetMaxSockets() == 6;
        onlyInSixSockets += allSix;
        tokens.insert(runeword.GetItemTokens().begin(), runeword.GetItemTokens().end());
        mixtures += runeword.GetItemTokens().size() > 1;
        const std::size_t lines = DescriptionLines(runeword.GetDescription()).size();
        EXPECT_GE(lines, 2u) << runeword.GetName();
        EXPECT_LE(lines, 6u) << runeword.GetName();
    }
    EXPECT_EQ(runeCounts, (std::set<int>{2, 3, 4, 5, 6}));
    EXPECT_GE(repeated, 5);
    EXPECT_GE(mixtures, 10);
    EXPECT_GE(onlyInSixSockets, 2);
    for (const char* group : {"Weapons", "Melee Weapons", "Missile Weapons"})
        EXPECT_EQ(tokens.count(group), 1u) << group;
    EXPECT_GE(tokens.size(), 15u);
}

// With every rune and item type ticked and the level limits applied, each
// bound of the Filters menu lists a different set of runewords than the bound
// before it (or no bound at all), and never an empty one.
struct Bound {
    const char* name;
    bool over;
    int value;
    int previous;
};

void PrintTo(const Bound& bound, std::ostream* out)
{
    *out << bound.name;
}

std::vector<Bound> MenuBounds()
{
    static const char* const overNames[] = {"Over15", "Over20", "Over25", "Over30", "Over35",
                                            "Over40", "Over45", "Over50", "Over55", "Over60"};
    static const char* const underNames[] = {"Under20", "Under25", "Under30", "Under35", "Under40",
                                             "Under45", "Under50", "Under55", "Under60", "Under65"};
    std::vector<Bound> bounds;
    for (int i = 0; i < 10; ++i)
        bounds.push_back({overNames[i], true, 15 + 5 * i, i == 0 ? 0 : 10 + 5 * i});
    for (int i = 0; i < 10; ++i)
        bounds.push_back({underNames[i], false, 20 + 5 * i, i == 9 ? 100 : 25 + 5 * i});
    return bounds;
}

class SampleFilterBound : public SampleData, public ::testing::WithParamInterface<Bound> {
protected:
    static std::vector<int> Listed(bool over, int value)
    {
        std::vector<int> runes(MaxRunes);
        std::vector<int> items(MaxItemTypes);
        std::iota(runes.begin(), runes.end(), 0);
        std::iota(items.begin(), items.end(), 0);
        FilterSettings settings;
        settings.runeRule = AllRunes;
        settings.characterRule = IgnoreCharacters;
        settings.ignoreClvlLimits = false;
        (over ? settings.clvlOver : settings.clvlUnder) = value;
        return FilterRunewords(Store(), runes, items, Roster(), settings);
    }
};

TEST_P(SampleFilterBound, ChangesTheListedRunewords)
{
    const Bound& bound = GetParam();
    const std::vector<int> listed = Listed(bound.over, bound.value);
    EXPECT_FALSE(listed.empty());
    EXPECT_NE(listed, Listed(bound.over, bound.previous)) << bound.name << " lists the same as the bound before";
}

INSTANTIATE_TEST_SUITE_P(FiltersMenu, SampleFilterBound, ::testing::ValuesIn(MenuBounds()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SampleData, WithNoBoundEveryRunewordIsListed)
{
    std::vector<int> runes(MaxRunes);
    std::vector<int> items(MaxItemTypes);
    std::iota(runes.begin(), runes.end(), 0);
    std::iota(items.begin(), items.end(), 0);
    EXPECT_EQ(FilterRunewords(Store(), runes, items, Roster(), FilterSettings()).size(), 168u);
}

} // namespace
} // namespace glyphmoor::tools::test
