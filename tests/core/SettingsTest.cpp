// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Settings.h"
#include "core/Records.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace glyphmoor;
using namespace glyphmoor::test;

namespace {

// The 28 bytes of settings.dat, built independently of the code under test.
struct RawSettings {
    std::int32_t runeRule = 1;
    std::int32_t characterRule = 3;
    std::int32_t clvlOver = 0;
    std::int32_t clvlUnder = 100;
    std::uint8_t flag = 1;
    std::uint8_t padding = 0;
    std::int32_t infoKind = 3;
    std::int32_t index = 0;

    Bytes File() const
    {
        Bytes out;
        auto put = [&out](std::int32_t value) {
            const auto bits = static_cast<std::uint32_t>(value);
            for (int i = 0; i < 4; ++i)
                out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
        };
        put(runeRule);
        put(characterRule);
        put(clvlOver);
        put(clvlUnder);
        out.push_back(flag);
        out.insert(out.end(), 3, padding);
        put(infoKind);
        put(index);
        return out;
    }
};

const Message CorruptSettings{"Error...", "Corrupt datafile: 'settings.dat'", MessageIcon::Exclamation,
                              MessageButtons::Ok};

struct Loaded {
    FilterSettings filter;
    InfoKind infoKind = DefaultInfoKind;
    int index = -7;
};

Loaded Load(TestIo& t, int characterCount, Loaded start = {})
{
    start.index = LoadSettings(start.filter, start.infoKind, characterCount, t.io());
    return start;
}

TEST(SettingsFile, AValidFileIsTakenOverUnchanged)
{
    TestIo t;
    RawSettings raw;
    raw.runeRule = 2;
    raw.characterRule = 1;
    raw.clvlOver = 30;
    raw.clvlUnder = 100;
    raw.flag = 0;
    raw.infoKind = 1;
    raw.index = 0;
    t.files.files["settings.dat"] = raw.File();
    const Loaded loaded = Load(t, 1);
    EXPECT_EQ(loaded.filter, (FilterSettings{AnyRune, SelectedCharacter, 30, 100, false}));
    EXPECT_EQ(loaded.infoKind, RuneInfo);
    EXPECT_EQ(loaded.index, 0);
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_TRUE(t.files.Exists("settings.dat"));
}

TEST(SettingsFile, MissingFileKeepsTheValuesAndGivesZero)
{
    TestIo t;
    Loaded start;
    start.filter = FilterSettings{AnyRune, AnyCharacter, 15, 20, false};
    start.infoKind = ItemInfo;
    const Loaded loaded = Load(t, 3, start);
    EXPECT_EQ(loaded.filter, start.filter);
    EXPECT_EQ(loaded.infoKind, ItemInfo);
    EXPECT_EQ(loaded.index, 0);
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST(SettingsFile, EmptyFileGivesTheDefaultsWithoutMessage)
{
    TestIo t;
    t.files.files["settings.dat"] = Bytes{};
    const Loaded loaded = Load(t, 1);
    EXPECT_EQ(loaded.filter, FilterSettings{});
    EXPECT_EQ(loaded.infoKind, RunewordInfo);
    EXPECT_EQ(loaded.index, 0);
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_TRUE(t.files.Exists("settings.dat"));
}

TEST(SettingsFile, AShortFileFillsOnlyItsLeadingBytes)
{
    TestIo t;
    RawSettings raw;
    raw.runeRule = 2;
    raw.characterRule = 1;
    raw.clvlOver = 15;
    raw.infoKind = 1;
    raw.index = 2;
    const Bytes whole = raw.File();

    // runeRule and characterRule only.
    t.files.files["settings.dat"] = Bytes(whole.begin(), whole.begin() + 8);
    Loaded loaded = Load(t, 3);
    EXPECT_EQ(loaded.filter, (FilterSettings{AnyRune, SelectedCharacter, 0, 100, true}));
    EXPECT_EQ(loaded.infoKind, RunewordInfo);
    EXPECT_EQ(loaded.index, 0);

    // Everything but the character index.
    t.files.files["settings.dat"] = Bytes(whole.begin(), whole.begin() + 24);
    loaded = Load(t, 3);
    EXPECT_EQ(loaded.filter, (FilterSettings{AnyRune, SelectedCharacter, 15, 100, true}));
    EXPECT_EQ(loaded.infoKind, RuneInfo);
    EXPECT_EQ(loaded.index, 0);

    // One byte of the index: its low byte.
    t.files.files["settings.dat"] = Bytes(whole.begin(), whole.begin() + 25);
    EXPECT_EQ(Load(t, 3).index, 2);

    // A lone byte replaces only the low byte of runeRule.
    t.files.files["settings.dat"] = Bytes{0x03};
    EXPECT_EQ(Load(t, 3).filter.runeRule, 3);
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST(SettingsFile, AShortFileKeepsTheValuesInForceBehindIt)
{
    TestIo t;
    t.files.files["settings.dat"] = Bytes{0x02, 0x00, 0x00, 0x00};
    Loaded start;
    start.filter = FilterSettings{AllRunes, AnyCharacter, 40, 60, false};
    start.infoKind = ItemInfo;
    const Loaded loaded = Load(t, 1, start);
    EXPECT_EQ(loaded.filter, (FilterSettings{AnyRune, AnyCharacter, 40, 60, false}));
    EXPECT_EQ(loaded.infoKind, ItemInfo);
}

TEST(SettingsFile, FlagByteSevenIsOnAndPaddingIsIgnored)
{
    TestIo t;
    RawSettings raw;
    raw.flag = 7;
    raw.padding = 0xAB;
    t.files.files["settings.dat"] = raw.File();
    const Loaded loaded = Load(t, 1);
    EXPECT_TRUE(loaded.filter.ignoreClvlLimits);
    EXPECT_TRUE(t.messages.shown.empty());

    raw.flag = 0;
    t.files.files["settings.dat"] = raw.File();
    EXPECT_FALSE(Load(t, 1).filter.ignoreClvlLimits);
}

TEST(SettingsFile, BytesAfterTheTwentyEighthAreIgnored)
{
    TestIo t;
    RawSettings raw;
    raw.runeRule = 2;
    Bytes file = raw.File();
    file.push_back(0xFF);
    t.files.files["settings.dat"] = file;
    EXPECT_EQ(Load(t, 1).filter.runeRule, 2);
    EXPECT_TRUE(t.messages.shown.empty());
}

struct SettingsCase {
    const char* label;
    std::function<void(RawSettings&)> change;
    int characterCount;

    // Failures name the case, not its bytes.
    friend std::ostream& operator<<(std::ostream& out, const SettingsCase& c) { return out << c.label; }
};

class SettingsRejected : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(SettingsRejected, ReportsDeletesAndRestoresDefaults)
{
    TestIo t;
    RawSettings raw;
    GetParam().change(raw);
    t.files.files["settings.dat"] = raw.File();
    Loaded start;
    start.filter = FilterSettings{AnyRune, AnyCharacter, 15, 20, false};
    start.infoKind = ItemInfo;
    const Loaded loaded = Load(t, GetParam().characterCount, start);
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CorruptSettings});
    EXPECT_FALSE(t.files.Exists("settings.dat"));
    EXPECT_EQ(loaded.filter, FilterSettings{});
    EXPECT_EQ(loaded.infoKind, RunewordInfo);
    EXPECT_EQ(loaded.index, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SettingsRejected,
    ::testing::Values(SettingsCase{"RuneRuleZero", [](RawSettings& r) { r.runeRule = 0; }, 1},
                      SettingsCase{"RuneRuleFour", [](RawSettings& r) { r.runeRule = 4; }, 1},
                      SettingsCase{"CharacterRuleZero", [](RawSettings& r) { r.characterRule = 0; }, 1},
                      SettingsCase{"CharacterRuleFour", [](RawSettings& r) { r.characterRule = 4; }, 1},
                      SettingsCase{"ClvlOverMinusOne", [](RawSettings& r) { r.clvlOver = -1; }, 1},
                      SettingsCase{"ClvlOver101", [](RawSettings& r) { r.clvlOver = 101; }, 1},
                      SettingsCase{"ClvlUnderMinusOne", [](RawSettings& r) { r.clvlUnder = -1; }, 1},
                      SettingsCase{"ClvlUnder101", [](RawSettings& r) { r.clvlUnder = 101; }, 1},
                      SettingsCase{"InfoKindZero", [](RawSettings& r) { r.infoKind = 0; }, 1},
                      SettingsCase{"InfoKindFour", [](RawSettings& r) { r.infoKind = 4; }, 1},
                      SettingsCase{"IndexFiveOfThree", [](RawSettings& r) { r.index = 5; }, 3},
                      SettingsCase{"IndexThreeOfThree", [](RawSettings& r) { r.index = 3; }, 3},
                      SettingsCase{"Index256", [](RawSettings& r) { r.index = 256; }, 256},
                      SettingsCase{"IndexMinusOne", [](RawSettings& r) { r.index = -1; }, 3},
                      SettingsCase{"HugeRuneRule", [](RawSettings& r) { r.runeRule = 0x01000001; }, 1},
                      SettingsCase{"NoCharacters", [](RawSettings&) {}, 0}),
    [](const auto& info) { return std::string(info.param.label); });

class SettingsAccepted : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(SettingsAccepted, AtTheBoundsIncluded)
{
    TestIo t;
    RawSettings raw;
    GetParam().change(raw);
    t.files.files["settings.dat"] = raw.File();
    const Loaded loaded = Load(t, GetParam().characterCount);
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_EQ(loaded.filter.runeRule, raw.runeRule);
    EXPECT_EQ(loaded.filter.characterRule, raw.characterRule);
    EXPECT_EQ(loaded.filter.clvlOver, raw.clvlOver);
    EXPECT_EQ(loaded.filter.clvlUnder, raw.clvlUnder);
    EXPECT_EQ(loaded.infoKind, raw.infoKind);
    EXPECT_EQ(loaded.index, raw.index);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SettingsAccepted,
    ::testing::Values(SettingsCase{"RulesThree",
                                   [](RawSettings& r) {
                                       r.runeRule = 3;
                                       r.characterRule = 3;
                                   },
                                   1},
                      SettingsCase{"RulesOne",
                                   [](RawSettings& r) {
                                       r.runeRule = 1;
                                       r.characterRule = 1;
                                   },
                                   1},
                      SettingsCase{"ClvlBoundsHundred",
                                   [](RawSettings& r) {
                                       r.clvlOver = 100;
                                       r.clvlUnder = 100;
                                   },
                                   1},
                      SettingsCase{"ClvlBoundsZero",
                                   [](RawSettings& r) {
                                       r.clvlOver = 0;
                                       r.clvlUnder = 0;
                                   },
                                   1},
                      SettingsCase{"ClvlOverNotAMenuValue", [](RawSettings& r) { r.clvlOver = 37; }, 1},
                      SettingsCase{"InfoKindOne", [](RawSettings& r) { r.infoKind = 1; }, 1},
                      SettingsCase{"IndexTwoOfThree", [](RawSettings& r) { r.index = 2; }, 3},
                      SettingsCase{"Index255Of256", [](RawSettings& r) { r.index = 255; }, 256}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SettingsFile, ARejectedFileIsGoneUntilItIsSavedAgain)
{
    TestIo t;
    RawSettings raw;
    raw.infoKind = 9;
    t.files.files["settings.dat"] = raw.File();
    Loaded loaded = Load(t, 1);
    EXPECT_FALSE(t.files.Exists("settings.dat"));

    loaded.filter.runeRule = AnyRune;
    ASSERT_TRUE(SaveSettings(loaded.filter, loaded.infoKind, 0, t.io()));
    RawSettings expected;
    expected.runeRule = 2;
    EXPECT_EQ(t.files.files["settings.dat"], expected.File());
}

// ---- Writing ----

TEST(SaveSettings, WritesTwentyEightLittleEndianBytes)
{
    TestIo t;
    ASSERT_TRUE(SaveSettings(FilterSettings{AnyRune, SelectedCharacter, 300, -2, true}, ItemInfo, 258, t.io()));
    const Bytes expected{0x02, 0,    0,    0, 0x01, 0, 0,    0, 0x2C, 0x01, 0,    0,    0xFE, 0xFF,
                         0xFF, 0xFF, 0x01, 0, 0,    0, 0x02, 0, 0,    0,    0x02, 0x01, 0,    0};
    EXPECT_EQ(t.files.files["settings.dat"], expected);
    EXPECT_EQ(EncodeSettings(FilterSettings{AnyRune, SelectedCharacter, 300, -2, true}, ItemInfo, 258), expected);
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST(SaveSettings, WhatIsSavedLoadsBack)
{
    TestIo t;
    const FilterSettings filter{AnyRune, AnyCharacter, 37, 61, false};
    ASSERT_TRUE(SaveSettings(filter, ItemInfo, 4, t.io()));
    const Loaded loaded = Load(t, 5);
    EXPECT_EQ(loaded.filter, filter);
    EXPECT_EQ(loaded.infoKind, ItemInfo);
    EXPECT_EQ(loaded.index, 4);
}

TEST(SaveSettings, AFailedWriteIsReportedAndKeepsTheOldFile)
{
    TestIo t;
    const Bytes old = RawSettings{}.File();
    t.files.files["settings.dat"] = old;
    t.files.unwritable.insert("settings.dat");
    EXPECT_FALSE(SaveSettings(FilterSettings{AnyRune, AnyCharacter, 30, 40, false}, RuneInfo, 0, t.io()));
    const Message expected{"Error...", "Error creating/loading file: 'settings.dat'",
                           MessageIcon::Exclamation, MessageButtons::Ok};
    EXPECT_EQ(t.messages.shown, std::vector<Message>{expected});
    EXPECT_EQ(t.files.files["settings.dat"], old);
}

} // namespace
