// SPDX-License-Identifier: GPL-3.0-or-later
// chars.dat byte by byte, the roster's load and save, and the files on a real
// disk wherever the file system's own behaviour matters: devices, FIFOs,
// directories, a write cut short.
#include "core/DataStore.h"
#include "core/Roster.h"
#include "core/Settings.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace glyphmoor;
using namespace glyphmoor::test;
namespace fs = std::filesystem;

namespace {

const Message CorruptRoster{"Error...", "Corrupt datafile: 'chars.dat'", MessageIcon::Exclamation,
                            MessageButtons::Ok};
const Message CannotWriteRoster{"Error...", "Error creating/loading file: 'chars.dat'",
                                MessageIcon::Exclamation, MessageButtons::Ok};
const Message CannotWriteSettings = CannotWriteMessage("settings.dat");

// A valid record built byte by byte: slot, Clvl, name padded with 0x02,
// 33 + 18 ticks (rune 4 and item type 2 ticked), highlights 4, 2, 7.
Bytes Record(int slot, int clvl = 40, const std::string& name = "Wren")
{
    Bytes record(71, 0x00);
    record[0] = static_cast<std::uint8_t>(slot);
    record[1] = static_cast<std::uint8_t>(clvl);
    for (std::size_t i = 0; i < 15; ++i)
        record[2 + i] = i < name.size() ? static_cast<std::uint8_t>(name[i]) : 0x02;
    record[17 + 4] = record[50 + 2] = 1;
    record[68] = 4;
    record[69] = 2;
    record[70] = 7;
    return record;
}

Bytes Records(int count)
{
    Bytes file;
    for (int k = 0; k < count; ++k)
        file = Concat({file, Record(k, 1 + k % 99, "Hero" + std::to_string(k))});
    return file;
}

int Count(Io io)
{
    Roster roster;
    LoadRoster(roster, io);
    return roster.characterCount;
}

TEST(CharacterRecord, IsWrittenInTheFileFormatAndLoadsBack)
{
    TestIo t;
    Roster roster;
    Character& wren = roster.characters[200];
    wren.SetNameAndClvl("Wren", 40);
    wren.SetRuneTick(4, true);
    wren.SetItemTypeTick(2, true);
    wren.SetHighlights(4, 2, 7);
    ASSERT_TRUE(wren.Save(t.io()));
    const Bytes& file = t.files.files["chars.dat"];
    ASSERT_EQ(file.size(), 201u * 71u); // the slots before it stay as zero bytes
    EXPECT_EQ(Bytes(file.begin() + 200 * 71, file.end()), Record(200));
    EXPECT_EQ(wren.GetClvlText(), "40");

    // A fifteen-byte name fills the field; highlights past their lists are written as 0.
    Character full(0);
    full.SetNameAndClvl("ABCDEFGHIJKLMNO", 99);
    full.SetHighlights(33, 18, 168);
    const auto record = full.EncodeRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(std::string(record->begin() + 2, record->begin() + 17), "ABCDEFGHIJKLMNO");
    EXPECT_EQ((*record)[17], 0);
    EXPECT_EQ(Bytes(record->begin() + 68, record->end()), (Bytes{0, 0, 0}));
}

TEST(Character, ClearAssignAndHighlights)
{
    Character a(3), b(5);
    a.SetNameAndClvl("Wren", 40);
    a.SetRuneTick(32, true);
    a.SetHighlights(1, 2, 3);
    a.SetHighlights(-1, -1, -1); // -1 leaves a highlight as it was
    a.SetHighlights(-1, 5, -1);
    EXPECT_EQ(a.GetHighlight(HighlightedRune) * 100 + a.GetHighlight(HighlightedItemType) * 10 +
                  a.GetHighlight(HighlightedRuneword), 153);
    b.Assign(a);
    EXPECT_EQ(b.GetSlot(), 5);
    EXPECT_EQ(b.EncodeRecord().value()[1], 40);
    EXPECT_TRUE(b.GetRuneTick(32));
    b.Clear();
    EXPECT_TRUE(b.IsFree());
    EXPECT_EQ(b.GetSlot(), 5);
    EXPECT_EQ(b.GetHighlight(HighlightedRuneword), -1);
}

struct RecordCase {
    const char* label;
    std::size_t offset; // into record 0 of a one-record file
    std::uint8_t value;
    bool loads;
    friend std::ostream& operator<<(std::ostream& out, const RecordCase& c) { return out << c.label; }
};

class OneRecord : public ::testing::TestWithParam<RecordCase> {};

TEST_P(OneRecord, LoadsWholeOrIsReportedAndKept)
{
    TestIo t;
    Bytes file = Record(0);
    file[GetParam().offset] = GetParam().value;
    t.files.files["chars.dat"] = file;
    Roster roster;
    LoadRoster(roster, t.io());
    if (GetParam().loads) {
        EXPECT_EQ(roster.characterCount, 1);
        EXPECT_TRUE(t.messages.shown.empty());
        const auto again = roster.characters[0].EncodeRecord(); // every field as read
        ASSERT_TRUE(again);
        EXPECT_EQ(Bytes(again->begin(), again->end()), file);
    } else {
        EXPECT_EQ(roster.characterCount, 0);
        EXPECT_TRUE(roster.characters[0].IsFree());
        EXPECT_EQ(roster.characters[0].GetHighlight(HighlightedRune), -1);
        EXPECT_EQ(t.messages.shown, std::vector<Message>{CorruptRoster});
        EXPECT_EQ(t.files.files["chars.dat"], file);
        EXPECT_EQ(t.files.files["chars.dat.corrupt"], file);
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, OneRecord, ::testing::Values(
    RecordCase{"SlotByteNotItsOwn", 0, 1, false},
    RecordCase{"ClvlZero", 1, 0, false},
    RecordCase{"ClvlHundred", 1, 100, false},
    RecordCase{"ClvlFF", 1, 0xFF, false},
    RecordCase{"NameStartsWithPad", 2, 0x02, false},
    RecordCase{"RuneTickTwo", 17 + 32, 2, false},
    RecordCase{"ItemTickTwo", 50, 2, false},
    RecordCase{"ItemTickFF", 67, 0xFF, false},
    RecordCase{"HighlightedRune33", 68, 33, false},
    RecordCase{"HighlightedItemType18", 69, 18, false},
    RecordCase{"HighlightedRuneword168", 70, 168, false},
    RecordCase{"ClvlOne", 1, 1, true},
    RecordCase{"ClvlNinetyNine", 1, 99, true},
    RecordCase{"NameWithPadInside", 5, 0x02, true},
    RecordCase{"LastRuneTicked", 17 + 32, 1, true},
    RecordCase{"LastItemTicked", 67, 1, true},
    RecordCase{"HighlightedRune32", 68, 32, true},
    RecordCase{"HighlightedItemType17", 69, 17, true},
    RecordCase{"HighlightedRuneword167", 70, 167, true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(LoadRoster, ReadsWholeRecordsOnceUpTo256AndStopsAtABadOne)
{
    TestIo t;
    EXPECT_EQ(Count(t.io()), 0); // no file
    t.files.files["chars.dat"] = {};
    EXPECT_EQ(Count(t.io()), 0);
    t.files.unreadable = {"chars.dat"};
    EXPECT_EQ(Count(t.io()), 0);
    t.files.unreadable.clear();
    EXPECT_TRUE(t.messages.shown.empty());

    t.files.files["chars.dat"] = Concat({Records(2), Bytes(70, 1)}); // a partial record is left alone
    t.files.reads.clear();
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characterCount, 2);
    EXPECT_EQ(roster.characters[1].GetName(), "Hero1");
    EXPECT_EQ(t.files.reads.size(), 1u);
    roster.characters[2].SetNameAndClvl("Third", 3);
    ASSERT_TRUE(roster.characters[2].Save(t.io()));
    EXPECT_EQ(t.files.files["chars.dat"].size(), 3u * 71u); // the next save completes it
    EXPECT_TRUE(t.messages.shown.empty());

    t.files.files["chars.dat"] = Records(257);
    EXPECT_EQ(Count(t.io()), 256);

    Bytes bad = Records(40);
    bad[71 * 39] = 5; // the 40th record names another slot
    t.files.files["chars.dat"] = bad;
    t.messages.whileShown = [&t, &bad](const Message&) { EXPECT_EQ(t.files.files["chars.dat.corrupt"], bad); };
    EXPECT_EQ(Count(t.io()), 39);
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CorruptRoster});
    EXPECT_EQ(t.files.files["chars.dat"], bad);
    t.messages.whileShown = nullptr;

    // An older copy is kept; a copy that cannot be written costs nothing else.
    t.files.files["chars.dat.corrupt"] = BytesOf("older copy");
    EXPECT_EQ(Count(t.io()), 39);
    EXPECT_EQ(t.files.files["chars.dat.corrupt"], BytesOf("older copy"));
    t.files.files.erase("chars.dat.corrupt");
    t.files.unwritable = {"chars.dat.corrupt"};
    EXPECT_EQ(Count(t.io()), 39);
}

TEST(SaveCharacter, WritesOnlyItsOwnRecordOrNothing)
{
    TestIo t;
    t.files.files["chars.dat"] = Records(3);
    Roster roster;
    LoadRoster(roster, t.io());
    roster.characters[1].SetClvl(77);
    ASSERT_TRUE(roster.characters[1].Save(t.io()));
    Bytes expected = Records(3);
    expected[71 + 1] = 77;
    EXPECT_EQ(t.files.files["chars.dat"], expected);

    // Names and levels that would not load back, an unwritable file and a
    // file that exists but cannot be read: reported, the file kept.
    for (const auto& [name, clvl] : std::vector<std::pair<std::string, int>>{
             {"", 5}, {"ABCDEFGHIJKLMNOP", 5}, {"\x02x", 5}, {"Wren", 0}, {"Wren", 100}}) {
        roster.characters[1].SetNameAndClvl(name, clvl);
        EXPECT_FALSE(roster.characters[1].Save(t.io())) << name << clvl;
    }
    roster.characters[1].SetNameAndClvl("Wren", 5);
    t.files.unwritable = {"chars.dat"};
    EXPECT_FALSE(roster.characters[1].Save(t.io()));
    t.files.unwritable.clear();
    t.files.unreadable = {"chars.dat"};
    EXPECT_FALSE(roster.characters[1].Save(t.io()));
    EXPECT_EQ(t.messages.shown, std::vector<Message>(7, CannotWriteRoster));
    EXPECT_EQ(t.files.files["chars.dat"], expected);
}

TEST(RewriteRoster, WritesTheCharactersInUseAllOrNothing)
{
    TestIo t;
    t.files.files["chars.dat"] = Records(3);
    Roster roster;
    LoadRoster(roster, t.io());
    roster.characterCount = 2;
    ASSERT_TRUE(RewriteRoster(roster, t.io()));
    EXPECT_EQ(t.files.files["chars.dat"], Records(2));
    roster.characters[1].SetNameAndClvl("", 5); // cannot be written: nothing is
    EXPECT_FALSE(RewriteRoster(roster, t.io()));
    t.files.unwritable = {"chars.dat"};
    roster.characterCount = 1;
    EXPECT_FALSE(RewriteRoster(roster, t.io()));
    EXPECT_EQ(t.messages.shown, std::vector<Message>(2, CannotWriteRoster));
    EXPECT_EQ(t.files.files["chars.dat"], Records(2));
    t.files.unwritable.clear();
    roster.characterCount = 0;
    ASSERT_TRUE(RewriteRoster(roster, t.io()));
    EXPECT_TRUE(t.files.files["chars.dat"].empty());
}

// Writes past `bytes` fail (SIGXFSZ ignored) while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        active = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    bool active = false;

private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
};

// A fresh directory per test, with DiskFiles on it.
class DiskTest : public ::testing::Test {
protected:
    static fs::path MakeDirectory()
    {
        std::string pattern = (fs::temp_directory_path() / "glyphmoor-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("no temporary directory");
        return pattern;
    }
    ~DiskTest() override { fs::remove_all(dir); }

    Io io() { return {disk, messages}; }
    void Put(const std::string& name, const Bytes& content)
    {
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
    }
    std::set<std::string> Entries()
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.insert(entry.path().filename().string());
        return names;
    }

    const fs::path dir = MakeDirectory();
    DiskFiles disk{dir.string()};
    RecordingMessages messages;
};

TEST_F(DiskTest, ReplaceRenamesAWholeNewFileOverTheOld)
{
    EXPECT_FALSE(disk.Exists("a"));
    EXPECT_FALSE(disk.Read("a", 1 << 20));
    ASSERT_TRUE(disk.Replace("a", BytesOf("first, longer")));
    ASSERT_TRUE(disk.Replace("a", BytesOf("second")));
    EXPECT_EQ(disk.Read("a", 1 << 20), BytesOf("second"));
    ASSERT_TRUE(disk.Replace("empty", {}));
    EXPECT_EQ(disk.Read("empty", 1 << 20), Bytes{}); // empty, not missing
    EXPECT_EQ(Entries(), (std::set<std::string>{"a", "empty"}));
    EXPECT_TRUE(disk.Remove("a"));
    EXPECT_FALSE(disk.Remove("a"));
    DiskFiles nowhere((dir / "missing").string());
    EXPECT_FALSE(nowhere.Replace("a", BytesOf("x")));
}

TEST_F(DiskTest, DevicesFifosAndDirectoriesReadAsFilesThatDoNotOpen)
{
    fs::create_symlink("/dev/zero", dir / "runes.dat");
    fs::create_symlink("/dev/full", dir / "chars.dat");
    ASSERT_EQ(::mkfifo((dir / "settings.dat").c_str(), 0600), 0);
    DataStore store(33, 18, 168, 6);
    EXPECT_FALSE(store.LoadRunes("runes.dat", io()));
    EXPECT_EQ(messages.shown, std::vector<Message>{FileNotFoundMessage("runes.dat")});
    EXPECT_EQ(Count(io()), 0);
    FilterSettings filter{AnyRune, AnyCharacter, 10, 50, false};
    InfoKind infoKind = RuneInfo;
    EXPECT_EQ(LoadSettings(filter, infoKind, 1, io()), 0);
    EXPECT_EQ(filter, (FilterSettings{AnyRune, AnyCharacter, 10, 50, false})); // as for a missing file
    EXPECT_EQ(messages.shown.size(), 1u);

    // Directories: loaded as missing, never replaced, each save reported.
    fs::remove(dir / "chars.dat");
    fs::remove(dir / "settings.dat");
    fs::create_directory(dir / "chars.dat");
    fs::create_directory(dir / "settings.dat");
    Put("chars.dat/keep", BytesOf("mine"));
    Roster roster;
    LoadRoster(roster, io());
    EXPECT_EQ(roster.characterCount, 0);
    roster.characters[0].SetNameAndClvl("Wren", 12);
    roster.characterCount = 1;
    EXPECT_FALSE(roster.characters[0].Save(io()));
    EXPECT_FALSE(RewriteRoster(roster, io()));
    EXPECT_FALSE(SaveSettings(filter, infoKind, 0, io()));
    EXPECT_EQ(messages.shown, (std::vector<Message>{FileNotFoundMessage("runes.dat"), CannotWriteRoster,
                                                    CannotWriteRoster, CannotWriteSettings}));
    EXPECT_EQ(DiskFiles((dir / "chars.dat").string()).Read("keep", 1 << 20), BytesOf("mine"));
    EXPECT_EQ(Entries(), (std::set<std::string>{"chars.dat", "runes.dat", "settings.dat"}));
}

TEST_F(DiskTest, AWriteCutShortKeepsTheOldFilesByteForByte)
{
    Put("chars.dat", Records(2));
    Put("settings.dat", EncodeSettings(FilterSettings{IgnoreRunes, AnyCharacter, 1, 99, false}, RuneInfo, 0));
    Roster roster;
    LoadRoster(roster, io());
    for (int k = 2; k < 200; ++k)
        roster.characters[static_cast<std::size_t>(k)].SetNameAndClvl("New" + std::to_string(k), 5);
    roster.characterCount = 200; // 14,200 bytes
    bool rewritten = true;
    bool saved = true;
    {
        FileSizeLimit limit(20); // less than a record, less than the settings
        if (!limit.active)
            GTEST_SKIP() << "cannot limit the file size here";
        rewritten = RewriteRoster(roster, io());
        saved = SaveSettings(FilterSettings{}, RunewordInfo, 0, io());
    }
    EXPECT_FALSE(rewritten);
    EXPECT_FALSE(saved);
    EXPECT_EQ(messages.shown, (std::vector<Message>{CannotWriteRoster, CannotWriteSettings}));
    EXPECT_EQ(disk.Read("chars.dat", 1 << 20), Records(2));
    EXPECT_EQ(disk.Read("settings.dat", 1 << 20), EncodeSettings(FilterSettings{IgnoreRunes, AnyCharacter, 1, 99, false}, RuneInfo, 0));
    EXPECT_EQ(Entries(), (std::set<std::string>{"chars.dat", "settings.dat"}));
}

} // namespace
