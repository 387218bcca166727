// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Settings.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace glyphmoor;
using namespace glyphmoor::test;

namespace {

// The 28 bytes of settings.dat, little-endian, built independently of the code.
struct Raw {
    std::int32_t runeRule, characterRule, clvlOver, clvlUnder;
    std::uint8_t flag;
    std::int32_t infoKind, index, characterCount;
    bool accepted;

    Bytes File() const
    {
        Bytes out;
        for (const std::int32_t value : {runeRule, characterRule, clvlOver, clvlUnder, std::int32_t{0}, infoKind, index})
            for (int i = 0; i < 4; ++i)
                out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i)));
        out[16] = flag;
        out[17] = 0xAB; // padding, ignored
        return out;
    }
};

class SettingsFile : public ::testing::TestWithParam<Raw> {};

TEST_P(SettingsFile, IsTakenOverOrReportedDeletedAndReset)
{
    const Raw& raw = GetParam();
    TestIo t;
    t.files.files["settings.dat"] = Concat({raw.File(), Bytes{0xFF}}); // bytes after the 28th are ignored
    FilterSettings filter{AnyRune, AnyCharacter, 15, 20, false};
    InfoKind infoKind = ItemInfo;
    const int index = LoadSettings(filter, infoKind, raw.characterCount, t.io());
    if (raw.accepted) {
        EXPECT_EQ(filter, (FilterSettings{RuneRule(raw.runeRule), CharacterRule(raw.characterRule), raw.clvlOver, raw.clvlUnder, raw.flag != 0}));
        EXPECT_EQ(infoKind, raw.infoKind);
        EXPECT_EQ(index, raw.index);
        EXPECT_TRUE(t.messages.shown.empty());
        EXPECT_TRUE(t.files.Exists("settings.dat"));
    } else {
        const Message corrupt{"Error...", "Corrupt datafile: 'settings.dat'", MessageIcon::Exclamation,
                              MessageButtons::Ok};
        EXPECT_EQ(t.messages.shown, std::vector<Message>{corrupt});
        EXPECT_FALSE(t.files.Exists("settings.dat"));
        EXPECT_EQ(filter, FilterSettings{});
        EXPECT_EQ(infoKind, RunewordInfo);
        EXPECT_EQ(index, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, SettingsFile, ::testing::Values(
    Raw{2, 1, 30, 100, 0, 1, 0, 1, true},
    Raw{1, 1, 0, 0, 7, 1, 0, 1, true},
    Raw{3, 3, 100, 100, 1, 3, 2, 3, true},
    Raw{1, 3, 0, 100, 1, 3, 255, 256, true},
    Raw{0, 3, 0, 100, 1, 3, 0, 1, false},
    Raw{4, 3, 0, 100, 1, 3, 0, 1, false},
    Raw{0x01000001, 3, 0, 100, 1, 3, 0, 1, false},
    Raw{1, 0, 0, 100, 1, 3, 0, 1, false},
    Raw{1, 4, 0, 100, 1, 3, 0, 1, false},
    Raw{1, 3, -1, 100, 1, 3, 0, 1, false},
    Raw{1, 3, 101, 100, 1, 3, 0, 1, false},
    Raw{1, 3, 0, -1, 1, 3, 0, 1, false},
    Raw{1, 3, 0, 101, 1, 3, 0, 1, false},
    Raw{1, 3, 0, 100, 1, 0, 0, 1, false},
    Raw{1, 3, 0, 100, 1, 4, 0, 1, false},
    Raw{1, 3, 0, 100, 1, 3, 3, 3, false},
    Raw{1, 3, 0, 100, 1, 3, -1, 3, false},
    Raw{1, 3, 0, 100, 1, 3, 256, 256, false},
    Raw{1, 3, 0, 100, 1, 3, 0, 0, false}));

TEST(SettingsFileShort, FillsOnlyItsLeadingBytesAndKeepsTheRest)
{
    TestIo t;
    const Bytes whole = Raw{2, 1, 15, 100, 1, 1, 2, 3, true}.File();
    const FilterSettings inForce{AllRunes, AnyCharacter, 40, 60, false};
    struct Case {
        std::size_t size;
        FilterSettings filter;
        InfoKind infoKind;
        int index;
    };
    for (const Case& c : {Case{0, inForce, ItemInfo, 0}, Case{4, {AnyRune, AnyCharacter, 40, 60, false}, ItemInfo, 0},
                          Case{8, {AnyRune, SelectedCharacter, 40, 60, false}, ItemInfo, 0}, Case{24, {AnyRune, SelectedCharacter, 15, 100, true}, RuneInfo, 0},
                          Case{25, {AnyRune, SelectedCharacter, 15, 100, true}, RuneInfo, 2}}) {
        t.files.files["settings.dat"] = Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(c.size));
        FilterSettings filter = inForce;
        InfoKind infoKind = ItemInfo;
        EXPECT_EQ(LoadSettings(filter, infoKind, 3, t.io()), c.index) << c.size;
        EXPECT_EQ(filter, c.filter) << c.size;
        EXPECT_EQ(infoKind, c.infoKind) << c.size;
    }
    t.files.files.clear(); // no file: the values in force stay
    FilterSettings filter = inForce;
    InfoKind infoKind = ItemInfo;
    EXPECT_EQ(LoadSettings(filter, infoKind, 3, t.io()), 0);
    EXPECT_EQ(filter, inForce);
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST(SaveSettings, WritesTheTwentyEightBytesOrReportsAndKeepsTheOldFile)
{
    TestIo t;
    ASSERT_TRUE(SaveSettings(FilterSettings{AnyRune, SelectedCharacter, 30, 100, false}, RuneInfo, 0, t.io()));
    Bytes expected = Raw{2, 1, 30, 100, 0, 1, 0, 0, true}.File();
    expected[17] = 0; // the padding is written as 0
    EXPECT_EQ(t.files.files["settings.dat"], expected);
    EXPECT_EQ(EncodeSettings({}, RunewordInfo, 0x0102)[25], 0x01); // all four bytes of a field
    ASSERT_TRUE(SaveSettings(FilterSettings{IgnoreRunes, AnyCharacter, 1, 99, true}, ItemInfo, 255, t.io()));
    FilterSettings filter;
    InfoKind infoKind{};
    EXPECT_EQ(LoadSettings(filter, infoKind, 256, t.io()), 255);
    EXPECT_EQ(filter, (FilterSettings{IgnoreRunes, AnyCharacter, 1, 99, true}));
    EXPECT_EQ(infoKind, ItemInfo);
    const Bytes old = t.files.files["settings.dat"];
    t.files.unwritable = {"settings.dat"};
    EXPECT_FALSE(SaveSettings(FilterSettings{}, RunewordInfo, 0, t.io()));
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CannotWriteMessage("settings.dat")});
    EXPECT_EQ(t.files.files["settings.dat"], old);
}

} // namespace
