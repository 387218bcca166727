// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Roster.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <string>
#include <vector>

using namespace glyphmoor;
using namespace glyphmoor::test;

namespace {

// A valid chars.dat record built byte by byte, independently of the code
// under test: slot, Clvl, name padded with 0x02, 33 + 18 ticks, 3 highlights.
Bytes Record(int slot, int clvl = 40, const std::string& name = "Wren")
{
    Bytes record(71, 0x00);
    record[0] = static_cast<std::uint8_t>(slot);
    record[1] = static_cast<std::uint8_t>(clvl);
    for (std::size_t i = 0; i < 15; ++i)
        record[2 + i] = i < name.size() ? static_cast<std::uint8_t>(name[i]) : 0x02;
    record[17 + 4] = 1; // rune 4 ticked
    record[50 + 2] = 1; // item type 2 ticked
    record[68] = 4;
    record[69] = 2;
    record[70] = 7;
    return record;
}

Bytes Records(int count, int clvlBase = 10)
{
    Bytes file;
    for (int k = 0; k < count; ++k) {
        const Bytes record = Record(k, clvlBase + k % 80, "Hero" + std::to_string(k));
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

Bytes RecordAt(const Bytes& file, int k)
{
    return Bytes(file.begin() + 71 * k, file.begin() + 71 * (k + 1));
}

const Message CorruptRoster{"Error...", "Corrupt datafile: 'chars.dat'", MessageIcon::Exclamation,
                            MessageButtons::Ok};
const Message CannotWriteRoster{"Error...", "Error creating/loading file: 'chars.dat'",
                                MessageIcon::Exclamation, MessageButtons::Ok};

void MakeCharacter(Character& character, const std::string& name, int clvl)
{
    character.SetNameAndClvl(name, clvl);
    character.SetHighlights(0, 0, 0);
}

// ---- Character in memory ----

TEST(Character, StartsFreeAndClearKeepsTheSlot)
{
    Character character(12);
    EXPECT_TRUE(character.IsFree());
    EXPECT_EQ(character.GetHighlight(HighlightedRune), -1);
    EXPECT_EQ(character.GetHighlight(HighlightedItemType), -1);
    EXPECT_EQ(character.GetHighlight(HighlightedRuneword), -1);

    character.SetNameAndClvl("Wren", 40);
    character.SetRuneTick(32, true);
    character.SetItemTypeTick(17, true);
    character.SetHighlights(3, 4, 5);
    character.Clear();
    EXPECT_EQ(character.GetSlot(), 12);
    EXPECT_TRUE(character.IsFree());
    EXPECT_FALSE(character.GetRuneTick(32));
    EXPECT_FALSE(character.GetItemTypeTick(17));
    EXPECT_EQ(character.GetHighlight(HighlightedRuneword), -1);
}

TEST(Character, AssignCopiesEverythingButTheSlot)
{
    Character from(3);
    from.SetNameAndClvl("Wren", 40);
    from.SetRuneTick(5, true);
    from.SetItemTypeTick(6, true);
    from.SetHighlights(1, 2, 150);
    Character to(9);
    to.Assign(from);
    EXPECT_EQ(to.GetSlot(), 9);
    EXPECT_EQ(to.GetName(), "Wren");
    EXPECT_EQ(to.GetClvl(), 40);
    EXPECT_EQ(to.GetRuneTicks(), from.GetRuneTicks());
    EXPECT_EQ(to.GetItemTypeTicks(), from.GetItemTypeTicks());
    EXPECT_EQ(to.GetHighlight(HighlightedRuneword), 150);
}

TEST(Character, SetHighlightsLeavesMinusOneValuesUnchanged)
{
    Character character;
    character.SetHighlights(3, 4, 5);
    character.SetHighlights(-1, 9, -1);
    EXPECT_EQ(character.GetHighlight(HighlightedRune), 3);
    EXPECT_EQ(character.GetHighlight(HighlightedItemType), 9);
    EXPECT_EQ(character.GetHighlight(HighlightedRuneword), 5);
    EXPECT_EQ(character.GetHighlight(0), 0);
    EXPECT_EQ(character.GetHighlight(4), 0);
}

TEST(Character, ClvlTextIsPlainDecimal)
{
    Character character;
    character.SetClvl(7);
    EXPECT_EQ(character.GetClvlText(), "7");
    character.SetClvl(99);
    EXPECT_EQ(character.GetClvlText(), "99");
}

// ---- Record layout ----

TEST(CharacterRecord, LayoutOfAWrittenRecord)
{
    TestIo t;
    Roster roster;
    Character& character = roster.characters[0];
    character.SetNameAndClvl("Wren", 40);
    character.SetRuneTick(4, true);
    character.SetItemTypeTick(2, true);
    character.SetHighlights(4, 2, 7);
    ASSERT_TRUE(character.Save(t.io()));
    EXPECT_EQ(t.files.files["chars.dat"], Record(0));
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST(CharacterRecord, OneByteNameIsFollowedByFourteenPadBytes)
{
    TestIo t;
    Roster roster;
    MakeCharacter(roster.characters[0], "Q", 1);
    ASSERT_TRUE(roster.characters[0].Save(t.io()));
    const Bytes& file = t.files.files["chars.dat"];
    ASSERT_EQ(file.size(), 71u);
    EXPECT_EQ(file[2], 'Q');
    EXPECT_EQ(Bytes(file.begin() + 3, file.begin() + 17), Bytes(14, 0x02));
}

TEST(CharacterRecord, FifteenByteNameFillsTheFieldAndLoadsBackWhole)
{
    TestIo t;
    Roster roster;
    const std::string name = "Abcdefghijklmn\xE9"; // 15 bytes, the last one above 0x7F
    ASSERT_EQ(name.size(), 15u);
    MakeCharacter(roster.characters[0], name, 99);
    ASSERT_TRUE(roster.characters[0].Save(t.io()));
    EXPECT_EQ(t.files.files["chars.dat"][16], 0xE9);
    EXPECT_EQ(t.files.files["chars.dat"][17], 0x00); // first rune tick, no pad byte

    Roster loaded;
    LoadRoster(loaded, t.io());
    ASSERT_EQ(loaded.characterCount, 1);
    EXPECT_EQ(loaded.characters[0].GetName(), name);
    EXPECT_EQ(loaded.characters[0].GetClvl(), 99);
}

TEST(CharacterRecord, SlotTwoHundredIsStoredAsC8AndLoadsBack)
{
    TestIo t;
    t.files.files["chars.dat"] = Records(200);
    Roster roster;
    MakeCharacter(roster.characters[200], "Twohundred", 20);
    ASSERT_TRUE(roster.characters[200].Save(t.io()));
    const Bytes& file = t.files.files["chars.dat"];
    ASSERT_EQ(file.size(), 71u * 201);
    EXPECT_EQ(file[71 * 200], 0xC8);

    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characterCount, 201);
    EXPECT_EQ(roster.characters[200].GetName(), "Twohundred");
    EXPECT_EQ(roster.characters[200].GetSlot(), 200);
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST(CharacterRecord, EveryFieldSurvivesSaveAndLoad)
{
    TestIo t;
    Roster roster;
    Character& character = roster.characters[0];
    character.SetNameAndClvl("Wren Ashdown", 57);
    for (int i = 0; i < 33; i += 3)
        character.SetRuneTick(i, true);
    for (int i = 1; i < 18; i += 4)
        character.SetItemTypeTick(i, true);
    character.SetHighlights(32, 17, 167);
    ASSERT_TRUE(character.Save(t.io()));

    Roster loaded;
    LoadRoster(loaded, t.io());
    ASSERT_EQ(loaded.characterCount, 1);
    const Character& back = loaded.characters[0];
    EXPECT_EQ(back.GetName(), "Wren Ashdown");
    EXPECT_EQ(back.GetClvl(), 57);
    EXPECT_EQ(back.GetRuneTicks(), character.GetRuneTicks());
    EXPECT_EQ(back.GetItemTypeTicks(), character.GetItemTypeTicks());
    EXPECT_EQ(back.GetHighlight(HighlightedRune), 32);
    EXPECT_EQ(back.GetHighlight(HighlightedItemType), 17);
    EXPECT_EQ(back.GetHighlight(HighlightedRuneword), 167);
}

TEST(CharacterRecord, ANameHoldingThePadByteComesBackCutThere)
{
    TestIo t;
    Roster roster;
    MakeCharacter(roster.characters[0],
                  "Ab\x02"
                  "cd",
                  5);
    ASSERT_TRUE(roster.characters[0].Save(t.io()));
    Roster loaded;
    LoadRoster(loaded, t.io());
    ASSERT_EQ(loaded.characterCount, 1);
    EXPECT_EQ(loaded.characters[0].GetName(), "Ab");
}

TEST(CharacterRecord, HighlightsOfMinusOneAreStoredAsZeroSoTheRecordStaysLoadable)
{
    TestIo t;
    Roster roster;
    roster.characters[0].SetNameAndClvl("Wren", 40); // highlights still -1
    ASSERT_TRUE(roster.characters[0].Save(t.io()));
    const Bytes& file = t.files.files["chars.dat"];
    EXPECT_EQ(Bytes(file.begin() + 68, file.end()), (Bytes{0, 0, 0}));
    Roster loaded;
    LoadRoster(loaded, t.io());
    EXPECT_EQ(loaded.characterCount, 1);
    EXPECT_TRUE(t.messages.shown.empty());
}

// ---- Bad records ----

struct BadRecordCase {
    const char* label;
    std::function<void(Bytes&)> spoil; // applied to record 0 of a one-record file

    // Failures name the case, not its bytes.
    friend std::ostream& operator<<(std::ostream& out, const BadRecordCase& c) { return out << c.label; }
};

class BadRecord : public ::testing::TestWithParam<BadRecordCase> {};

TEST_P(BadRecord, IsReportedOnceAndLeavesTheSlotFree)
{
    TestIo t;
    Bytes file = Record(0);
    GetParam().spoil(file);
    t.files.files["chars.dat"] = file;
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characterCount, 0);
    EXPECT_TRUE(roster.characters[0].IsFree());
    EXPECT_EQ(roster.characters[0].GetHighlight(HighlightedRune), -1);
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CorruptRoster});
    EXPECT_EQ(t.files.files["chars.dat"], file);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, BadRecord,
    ::testing::Values(BadRecordCase{"SlotByteNotItsOwn", [](Bytes& r) { r[0] = 1; }},
                      BadRecordCase{"ClvlZero", [](Bytes& r) { r[1] = 0; }},
                      BadRecordCase{"ClvlHundred", [](Bytes& r) { r[1] = 100; }},
                      BadRecordCase{"ClvlHigh", [](Bytes& r) { r[1] = 0xFF; }},
                      BadRecordCase{"EmptyName",
                                    [](Bytes& r) { std::fill(r.begin() + 2, r.begin() + 17, 0x02); }},
                      BadRecordCase{"NameStartsWithPad", [](Bytes& r) { r[2] = 0x02; }},
                      BadRecordCase{"RuneTickTwo", [](Bytes& r) { r[17 + 32] = 2; }},
                      BadRecordCase{"ItemTickTwo", [](Bytes& r) { r[50] = 2; }},
                      BadRecordCase{"ItemTickFF", [](Bytes& r) { r[67] = 0xFF; }},
                      BadRecordCase{"HighlightedRune33", [](Bytes& r) { r[68] = 33; }},
                      BadRecordCase{"HighlightedItemType18", [](Bytes& r) { r[69] = 18; }},
                      BadRecordCase{"HighlightedRuneword168", [](Bytes& r) { r[70] = 168; }},
                      BadRecordCase{"HighlightedRunewordFF", [](Bytes& r) { r[70] = 0xFF; }}),
    [](const auto& info) { return std::string(info.param.label); });

struct GoodRecordCase {
    const char* label;
    std::function<void(Bytes&)> change;

    // Failures name the case, not its bytes.
    friend std::ostream& operator<<(std::ostream& out, const GoodRecordCase& c) { return out << c.label; }
};

class EdgeRecord : public ::testing::TestWithParam<GoodRecordCase> {};

TEST_P(EdgeRecord, LoadsWithoutMessage)
{
    TestIo t;
    Bytes file = Record(0);
    GetParam().change(file);
    t.files.files["chars.dat"] = file;
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characterCount, 1);
    EXPECT_TRUE(t.messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, EdgeRecord,
    ::testing::Values(GoodRecordCase{"ClvlOne", [](Bytes& r) { r[1] = 1; }},
                      GoodRecordCase{"ClvlNinetyNine", [](Bytes& r) { r[1] = 99; }},
                      GoodRecordCase{"HighlightedRuneword150", [](Bytes& r) { r[70] = 150; }},
                      GoodRecordCase{"HighlightedRuneword167", [](Bytes& r) { r[70] = 167; }},
                      GoodRecordCase{"LastRowsHighlighted",
                                     [](Bytes& r) {
                                         r[68] = 32;
                                         r[69] = 17;
                                     }},
                      GoodRecordCase{"AllTicksSet",
                                     [](Bytes& r) { std::fill(r.begin() + 17, r.begin() + 68, 1); }}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(CharacterRecord, HighlightedRuneword150LoadsAs150)
{
    TestIo t;
    Bytes file = Record(0);
    file[70] = 150;
    t.files.files["chars.dat"] = file;
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characters[0].GetHighlight(HighlightedRuneword), 150);
}

TEST(CharacterRecord, ASlotByteOfFiveAtPositionFourIsBad)
{
    TestIo t;
    Bytes file = Records(6);
    file[71 * 4] = 5;
    t.files.files["chars.dat"] = file;
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characterCount, 4);
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CorruptRoster});
}

// ---- LoadRoster ----

TEST(LoadRoster, NoFileMeansAnEmptyRosterAndNoMessage)
{
    TestIo t;
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characterCount, 0);
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_FALSE(t.files.Exists("chars.dat.corrupt"));
}

TEST(LoadRoster, AnUnreadableFileIsLikeNoFile)
{
    TestIo t;
    t.files.unreadable.insert("chars.dat");
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characterCount, 0);
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST(LoadRoster, ReadsEveryWholeRecordInOrderAndTheFileOnce)
{
    TestIo t;
    t.files.files["chars.dat"] = Records(5);
    Roster roster;
    LoadRoster(roster, t.io());
    ASSERT_EQ(roster.characterCount, 5);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(roster.characters[static_cast<std::size_t>(k)].GetName(), "Hero" + std::to_string(k));
        EXPECT_EQ(roster.characters[static_cast<std::size_t>(k)].GetClvl(), 10 + k);
        EXPECT_TRUE(roster.characters[static_cast<std::size_t>(k)].GetRuneTick(4));
        EXPECT_TRUE(roster.characters[static_cast<std::size_t>(k)].GetItemTypeTick(2));
    }
    EXPECT_TRUE(roster.characters[5].IsFree());
    EXPECT_EQ(t.files.reads, std::vector<std::string>{"chars.dat"});
}

TEST(LoadRoster, NeverReadsMoreThan256Records)
{
    TestIo t;
    Bytes file = Records(256);
    Bytes extra = Record(0); // a record 256 whose slot byte wraps to 0
    file.insert(file.end(), extra.begin(), extra.end());
    t.files.files["chars.dat"] = file;
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characterCount, 256);
    EXPECT_EQ(roster.characters[255].GetSlot(), 255);
    EXPECT_EQ(roster.characters[255].GetName(), "Hero255");
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST(LoadRoster, EmptyFileLoadsNothingWithoutMessage)
{
    TestIo t;
    t.files.files["chars.dat"] = Bytes{};
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characterCount, 0);
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST(LoadRoster, ATrailingPartialRecordIsIgnoredAndTheNextSaveCompletesIt)
{
    TestIo t;
    Bytes file = Records(3);
    const Bytes whole = Record(3);
    const Bytes partial(whole.begin(), whole.begin() + 40);
    file.insert(file.end(), partial.begin(), partial.end());
    t.files.files["chars.dat"] = file;

    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characterCount, 3);
    EXPECT_TRUE(t.messages.shown.empty());

    MakeCharacter(roster.characters[3], "Newcomer", 2);
    ASSERT_TRUE(roster.characters[3].Save(t.io()));
    const Bytes& saved = t.files.files["chars.dat"];
    ASSERT_EQ(saved.size(), 71u * 4);
    EXPECT_EQ(Bytes(saved.begin(), saved.begin() + 71 * 3), Records(3));
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characterCount, 4);
    EXPECT_EQ(roster.characters[3].GetName(), "Newcomer");
}

TEST(LoadRoster, BadRecordThreeOfSix)
{
    TestIo t;
    Bytes file = Records(6);
    file[71 * 3 + 1] = 0; // Clvl 0
    t.files.files["chars.dat"] = file;

    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characterCount, 3);
    EXPECT_EQ(roster.characters[2].GetName(), "Hero2");
    EXPECT_TRUE(roster.characters[3].IsFree());
    EXPECT_TRUE(roster.characters[4].IsFree());
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CorruptRoster});
    // Nothing in the file is touched, and a copy is kept as found.
    EXPECT_EQ(t.files.files["chars.dat"], file);
    EXPECT_EQ(t.files.files["chars.dat.corrupt"], file);

    // Creating a character writes slot 3 over the bad record; the next start
    // reads records 4 and 5 again.
    MakeCharacter(roster.characters[3], "Newcomer", 12);
    ASSERT_TRUE(roster.characters[3].Save(t.io()));
    const Bytes& saved = t.files.files["chars.dat"];
    ASSERT_EQ(saved.size(), 71u * 6);
    EXPECT_EQ(RecordAt(saved, 4), RecordAt(file, 4));
    EXPECT_EQ(RecordAt(saved, 5), RecordAt(file, 5));

    Roster again;
    t.messages.shown.clear();
    LoadRoster(again, t.io());
    EXPECT_EQ(again.characterCount, 6);
    EXPECT_EQ(again.characters[3].GetName(), "Newcomer");
    EXPECT_EQ(again.characters[5].GetName(), "Hero5");
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST(LoadRoster, TheCorruptCopyExistsBeforeTheMessageIsShown)
{
    TestIo t;
    Bytes file = Records(2);
    file[71 + 69] = 18;
    t.files.files["chars.dat"] = file;
    bool copied = false;
    t.messages.whileShown = [&t, &copied](const Message&) { copied = t.files.Exists("chars.dat.corrupt"); };
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_TRUE(copied);
}

TEST(LoadRoster, AnExistingCorruptCopyIsNotOverwritten)
{
    TestIo t;
    Bytes file = Records(2);
    file[71 + 50] = 2;
    t.files.files["chars.dat"] = file;
    t.files.files["chars.dat.corrupt"] = BytesOf("older copy");
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characterCount, 1);
    EXPECT_EQ(t.files.files["chars.dat.corrupt"], BytesOf("older copy"));
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CorruptRoster});
}

// ---- Save ----

TEST(SaveCharacter, FirstRecordCreatesA71ByteFile)
{
    TestIo t;
    Roster roster;
    MakeCharacter(roster.characters[0], "Wren", 1);
    EXPECT_TRUE(roster.characters[0].Save(t.io()));
    EXPECT_EQ(t.files.files["chars.dat"].size(), 71u);
}

TEST(SaveCharacter, WritesOnlyItsOwnRecord)
{
    TestIo t;
    const Bytes file = Records(4);
    t.files.files["chars.dat"] = file;
    Roster roster;
    LoadRoster(roster, t.io());
    roster.characters[1].SetName("Renamed");
    roster.characters[1].SetRuneTick(0, true);
    ASSERT_TRUE(roster.characters[1].Save(t.io()));
    const Bytes& saved = t.files.files["chars.dat"];
    ASSERT_EQ(saved.size(), file.size());
    for (int k : {0, 2, 3})
        EXPECT_EQ(RecordAt(saved, k), RecordAt(file, k)) << k;
    EXPECT_NE(RecordAt(saved, 1), RecordAt(file, 1));
}

TEST(SaveCharacter, ASlotPastTheEndGrowsTheFileToItsRecord)
{
    TestIo t;
    t.files.files["chars.dat"] = Records(1);
    Roster roster;
    MakeCharacter(roster.characters[3], "Far", 30);
    ASSERT_TRUE(roster.characters[3].Save(t.io()));
    EXPECT_EQ(t.files.files["chars.dat"].size(), 71u * 4);
    EXPECT_EQ(t.files.files["chars.dat"][71 * 3], 3);
}

struct RefusedCase {
    const char* label;
    std::string name;
    int clvl;

    // Failures name the case, not its bytes.
    friend std::ostream& operator<<(std::ostream& out, const RefusedCase& c) { return out << c.label; }
};

class SaveRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(SaveRefused, ShowsTheMessageAndWritesNothing)
{
    TestIo t;
    const Bytes file = Records(2);
    t.files.files["chars.dat"] = file;
    Roster roster;
    roster.characters[1].SetNameAndClvl(GetParam().name, GetParam().clvl);
    roster.characters[1].SetHighlights(0, 0, 0);
    EXPECT_FALSE(roster.characters[1].Save(t.io()));
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CannotWriteRoster});
    EXPECT_EQ(t.files.files["chars.dat"], file);
    EXPECT_EQ(t.files.replaceCount, 0);
}

INSTANTIATE_TEST_SUITE_P(Inputs, SaveRefused,
                         ::testing::Values(RefusedCase{"SixteenByteName", "Abcdefghijklmnop", 10},
                                           RefusedCase{"EmptyName", "", 10},
                                           RefusedCase{"NameStartingWithPadByte",
                                                       "\x02"
                                                       "Wren",
                                                       10},
                                           RefusedCase{"ClvlZero", "Wren", 0},
                                           RefusedCase{"ClvlHundred", "Wren", 100}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(SaveCharacter, AFileThatCannotBeWrittenIsReportedAndKept)
{
    TestIo t;
    const Bytes file = Records(2);
    t.files.files["chars.dat"] = file;
    t.files.unwritable.insert("chars.dat");
    Roster roster;
    MakeCharacter(roster.characters[2], "Wren", 10);
    EXPECT_FALSE(roster.characters[2].Save(t.io()));
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CannotWriteRoster});
    EXPECT_EQ(t.files.files["chars.dat"], file);
    EXPECT_EQ(roster.characters[2].GetName(), "Wren");
}

TEST(SaveCharacter, AFileThatExistsButCannotBeReadIsNotReplaced)
{
    // Writing a fresh file here would throw away every other record.
    TestIo t;
    t.files.unreadable.insert("chars.dat");
    Roster roster;
    MakeCharacter(roster.characters[0], "Wren", 10);
    EXPECT_FALSE(roster.characters[0].Save(t.io()));
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CannotWriteRoster});
    EXPECT_EQ(t.files.replaceCount, 0);
}

// ---- RewriteRoster ----

TEST(RewriteRoster, WritesExactlyTheCharactersInUse)
{
    TestIo t;
    t.files.files["chars.dat"] = Records(5);
    Roster roster;
    LoadRoster(roster, t.io());
    // Delete the third of five: the roster is compacted, the last slot freed.
    for (int k = 2; k < 4; ++k)
        roster.characters[static_cast<std::size_t>(k)].Assign(
            roster.characters[static_cast<std::size_t>(k) + 1]);
    roster.characters[4].Clear();
    roster.characterCount = 4;

    ASSERT_TRUE(RewriteRoster(roster, t.io()));
    const Bytes& file = t.files.files["chars.dat"];
    ASSERT_EQ(file.size(), 71u * 4);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(file[static_cast<std::size_t>(71 * k)], k);
    Roster loaded;
    LoadRoster(loaded, t.io());
    ASSERT_EQ(loaded.characterCount, 4);
    EXPECT_EQ(loaded.characters[2].GetName(), "Hero3");
    EXPECT_EQ(loaded.characters[3].GetName(), "Hero4");
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST(RewriteRoster, NoCharactersLeavesAnEmptyFile)
{
    TestIo t;
    t.files.files["chars.dat"] = Records(2);
    Roster roster;
    ASSERT_TRUE(RewriteRoster(roster, t.io()));
    EXPECT_EQ(t.files.files["chars.dat"], Bytes{});
}

TEST(RewriteRoster, AFailedWriteIsReportedOnceAndKeepsTheOldFile)
{
    TestIo t;
    const Bytes file = Records(5);
    t.files.files["chars.dat"] = file;
    t.files.unwritable.insert("chars.dat");
    Roster roster;
    LoadRoster(roster, t.io());
    roster.characterCount = 4;
    EXPECT_FALSE(RewriteRoster(roster, t.io()));
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CannotWriteRoster});
    EXPECT_EQ(t.files.files["chars.dat"], file);
}

TEST(RewriteRoster, ARecordThatCannotBeWrittenStopsTheWholeRewrite)
{
    TestIo t;
    const Bytes file = Records(3);
    t.files.files["chars.dat"] = file;
    Roster roster;
    LoadRoster(roster, t.io());
    roster.characters[1].SetName("Abcdefghijklmnop");
    EXPECT_FALSE(RewriteRoster(roster, t.io()));
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CannotWriteRoster});
    EXPECT_EQ(t.files.files["chars.dat"], file);
}

} // namespace
