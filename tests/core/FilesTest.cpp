// SPDX-License-Identifier: GPL-3.0-or-later
// chars.dat and settings.dat byte by byte, their load and save, and the files
// on a real disk wherever the file system's own behaviour matters: devices,
// FIFOs, directories, links, read-only files, a write cut short, leftovers.
#include "TestSupport.h"
#include "core/DataStore.h"
#include "core/Roster.h"
#include "core/Settings.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace glyphmoor;
using namespace glyphmoor::test;
namespace fs = std::filesystem;

namespace {

const Message CorruptRoster = CorruptFileMessage("chars.dat");
const Message CannotWriteRoster{"Error...", "Error creating/loading file: 'chars.dat'",
                                MessageIcon::Exclamation, MessageButtons::Ok};

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

Bytes Records(int count, int from = 0)
{
    Bytes file;
    for (int k = from; k < count; ++k)
        file = Concat({file, Record(k, 1 + k % 99, "Hero" + std::to_string(k))});
    return file;
}

int Count(Io io)
{
    Roster roster;
    LoadRoster(roster, io);
    return roster.characterCount;
}

TEST(Character, IsWrittenInTheFileFormatAndAssignedClearedAndHighlighted)
{
    TestIo t;
    Roster roster;
    EXPECT_EQ(roster.characterCount, 0);
    Character& wren = roster.characters[200];
    wren.SetNameAndClvl("Wren", 40);
    wren.SetRuneTick(4, true);
    wren.SetItemTypeTick(2, true);
    wren.SetHighlights(4, 2, 7);
    ASSERT_TRUE(wren.Save(t.io()));
    ASSERT_EQ(t.files.files["chars.dat"],
              Concat({Bytes(200 * 71, 0), Record(200)})); // the slots before: zeros
    EXPECT_EQ(wren.GetClvlText(), "40");
    // A fifteen-byte name fills the field; highlights past their lists are written as 0.
    Character full(0);
    full.SetNameAndClvl("ABCDEFGHIJKLMNO", 99);
    full.SetHighlights(33, 18, 168);
    const auto record = full.EncodeRecord();
    EXPECT_EQ(Bytes(record->begin() + 2, record->end()), Concat({BytesOf("ABCDEFGHIJKLMNO"), Bytes(54, 0)}));
    full.SetHighlights(-1, 5, -1); // -1 leaves a highlight as it was
    EXPECT_EQ(full.GetHighlight(HighlightedRune) * 1000 + full.GetHighlight(HighlightedItemType) * 100 +
                  full.GetHighlight(HighlightedRuneword),
              33000 + 500 + 168);
    wren.Assign(full);
    EXPECT_EQ(wren.GetSlot(), 200);
    EXPECT_EQ(wren.EncodeRecord().value()[1], 99);
    wren.Clear();
    EXPECT_TRUE(wren.IsFree());
    EXPECT_EQ(wren.GetName(), "");
    EXPECT_EQ(wren.GetHighlight(HighlightedRuneword), -1);
}

class OneRecord : public ::testing::TestWithParam<std::tuple<std::size_t, std::uint8_t, bool>> {};

// One byte of record 0 set to a value: the record loads whole, or the file is
// reported, kept and copied, and nothing of it is loaded.
TEST_P(OneRecord, LoadsWholeOrIsReportedAndKept)
{
    const auto [offset, value, loads] = GetParam();
    TestIo t;
    Bytes file = Record(0);
    file[offset] = value;
    t.files.files["chars.dat"] = file;
    Roster roster;
    roster.characters[0].SetNameAndClvl("Old", 5);
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.characterCount, loads ? 1 : 0);
    EXPECT_EQ(t.files.files["chars.dat"], file);
    if (loads) {
        EXPECT_TRUE(t.messages.shown.empty());
        const auto again = roster.characters[0].EncodeRecord(); // every field as read
        EXPECT_EQ(Bytes(again->begin(), again->end()), file);
    } else {
        EXPECT_TRUE(roster.characters[0].IsFree());
        EXPECT_EQ(t.messages.shown, std::vector<Message>{CorruptRoster});
        EXPECT_EQ(t.files.files["chars.dat.corrupt"], file);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, OneRecord,
    ::testing::Values(std::tuple(0, 1, false), std::tuple(1, 0, false), std::tuple(1, 100, false),
                      std::tuple(2, 0x02, false), std::tuple(17 + 32, 2, false), std::tuple(50, 2, false),
                      std::tuple(67, 0xFF, false), std::tuple(68, 33, false), std::tuple(69, 18, false),
                      std::tuple(70, 168, false), std::tuple(1, 1, true), std::tuple(1, 99, true),
                      std::tuple(5, 0x02, true), std::tuple(17 + 32, 1, true), std::tuple(67, 1, true),
                      std::tuple(68, 32, true), std::tuple(69, 17, true), std::tuple(70, 167, true)));

TEST(LoadRoster, ReadsWholeRecordsUpTo256AndKeepsACopyOfAFileWithABadOne)
{
    TestIo t;
    EXPECT_EQ(Count(t.io()), 0); // no file
    t.files.files["chars.dat"] = {};
    EXPECT_EQ(Count(t.io()), 0);
    t.files.unreadable = {"chars.dat"};
    EXPECT_EQ(Count(t.io()), 0);
    t.files.unreadable.clear();
    t.files.files["chars.dat"] = Records(257);
    EXPECT_EQ(Count(t.io()), 256);
    EXPECT_EQ(t.files.limits["chars.dat"], 256u * 71u);
    EXPECT_TRUE(t.messages.shown.empty());

    Bytes bad = Records(40);
    bad[71 * 39] = 5; // the 40th record names another slot
    t.files.files["chars.dat"] = bad;
    t.messages.whileShown = [&t, &bad](const Message&) {
        EXPECT_EQ(t.files.files["chars.dat.corrupt"], bad);
    };
    EXPECT_EQ(Count(t.io()), 39);
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CorruptRoster});
    EXPECT_EQ(t.files.files["chars.dat"], bad);
    t.messages.whileShown = nullptr;
    EXPECT_EQ(Count(t.io()), 39); // found again: the same copy serves
    EXPECT_EQ(t.files.files.size(), 2u);
}

TEST(SaveCharacter, WritesOnlyItsOwnRecordOrNothing)
{
    TestIo t;
    t.files.files["chars.dat"] = Concat({Records(3), Bytes(70, 1)}); // a partial record is left alone
    Roster roster;
    LoadRoster(roster, t.io());
    roster.characters[1].SetClvl(77);
    ASSERT_TRUE(SaveCharacter(roster, 1, t.io()));
    Bytes expected = Concat({Records(3), Bytes(70, 1)});
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

TEST(RewriteRoster, WritesAllOrNothingAndAfterAFailureTheNextSaveWritesAll)
{
    TestIo t;
    t.files.files["chars.dat"] = Records(4);
    Roster roster;
    LoadRoster(roster, t.io());
    roster.characterCount = 2;
    roster.characters[1].SetNameAndClvl("", 5); // cannot be written: nothing is
    EXPECT_FALSE(RewriteRoster(roster, t.io()));
    roster.characters[1].Assign(roster.characters[2]); // deleted while the disk is full
    t.files.unwritable = {"chars.dat"};
    EXPECT_FALSE(RewriteRoster(roster, t.io()));
    EXPECT_EQ(t.messages.shown, std::vector<Message>(2, CannotWriteRoster));
    EXPECT_EQ(t.files.files["chars.dat"], Records(4));
    t.files.unwritable.clear();
    EXPECT_TRUE(SaveCharacter(roster, 0, t.io()));
    EXPECT_EQ(t.files.files["chars.dat"], Concat({Records(1), Record(1, 3, "Hero2")}));
    roster.characterCount = 0;
    ASSERT_TRUE(RewriteRoster(roster, t.io()));
    EXPECT_TRUE(t.files.files["chars.dat"].empty());
}

TEST(RewriteRoster, ADamagedFileIsCopiedUnderAFreeNameBeforeAnyRewrite)
{
    TestIo t;
    Bytes file = Records(3);
    file[71 + 1] = 0; // records 1 and 2 are not loaded
    t.files.files["chars.dat"] = file;
    t.files.files["chars.dat.corrupt"] = BytesOf("an earlier incident");
    t.files.unwritable.insert("chars.dat.corrupt-2");
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_FALSE(RewriteRoster(roster, t.io())); // no copy yet: chars.dat stays as found
    EXPECT_EQ(t.files.files["chars.dat"], file);
    t.files.unwritable.clear();
    EXPECT_TRUE(RewriteRoster(roster, t.io()));
    EXPECT_EQ(t.files.files["chars.dat.corrupt-2"], file);
    EXPECT_EQ(t.files.files["chars.dat.corrupt"], BytesOf("an earlier incident"));
    t.files.files["chars.dat"] = file; // found again at a later start: that copy serves
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.corruptCopy, "chars.dat.corrupt-2");
    EXPECT_EQ(t.files.files.size(), 3u);
}

// The 28 bytes of settings.dat, little-endian, built independently of the code.
struct Raw {
    std::int32_t runeRule, characterRule, clvlOver, clvlUnder;
    std::uint8_t flag;
    std::int32_t infoKind, index, characterCount;
    bool accepted;

    Bytes File() const
    {
        Bytes out;
        for (const std::int32_t value :
             {runeRule, characterRule, clvlOver, clvlUnder, 0xAB00, infoKind, index})
            for (int i = 0; i < 4; ++i)
                out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i)));
        out[16] = flag; // out[17] is padding, ignored
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
    EXPECT_EQ(t.files.limits["settings.dat"], 28u);
    EXPECT_EQ(t.files.Exists("settings.dat"), raw.accepted);
    if (raw.accepted) {
        EXPECT_EQ(filter, (FilterSettings{RuneRule(raw.runeRule), CharacterRule(raw.characterRule),
                                          raw.clvlOver, raw.clvlUnder, raw.flag != 0}));
        EXPECT_EQ(infoKind, raw.infoKind);
        EXPECT_EQ(index, raw.index);
        EXPECT_TRUE(t.messages.shown.empty());
    } else {
        const Message corrupt{"Error...", "Corrupt datafile: 'settings.dat'", MessageIcon::Exclamation,
                              MessageButtons::Ok};
        EXPECT_EQ(t.messages.shown, std::vector<Message>{corrupt});
        EXPECT_EQ(filter, FilterSettings{});
        EXPECT_EQ(infoKind, RunewordInfo);
        EXPECT_EQ(index, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SettingsFile,
    ::testing::Values(Raw{2, 1, 30, 100, 0, 1, 0, 1, true}, Raw{1, 1, 0, 0, 7, 1, 0, 1, true},
                      Raw{3, 3, 100, 100, 1, 3, 2, 3, true}, Raw{1, 3, 0, 100, 1, 3, 255, 256, true},
                      Raw{0, 3, 0, 100, 1, 3, 0, 1, false}, Raw{4, 3, 0, 100, 1, 3, 0, 1, false},
                      Raw{0x01000001, 3, 0, 100, 1, 3, 0, 1, false}, Raw{1, 0, 0, 100, 1, 3, 0, 1, false},
                      Raw{1, 4, 0, 100, 1, 3, 0, 1, false}, Raw{1, 3, -1, 100, 1, 3, 0, 1, false},
                      Raw{1, 3, 101, 100, 1, 3, 0, 1, false}, Raw{1, 3, 0, -1, 1, 3, 0, 1, false},
                      Raw{1, 3, 0, 101, 1, 3, 0, 1, false}, Raw{1, 3, 0, 100, 1, 0, 0, 1, false},
                      Raw{1, 3, 0, 100, 1, 4, 0, 1, false}, Raw{1, 3, 0, 100, 1, 3, 3, 3, false},
                      Raw{1, 3, 0, 100, 1, 3, -1, 3, false}, Raw{1, 3, 0, 100, 1, 3, 256, 256, false}));

TEST(SettingsFile, AShortFileFillsOnlyItsLeadingBytesAndAFailedSaveKeepsTheOld)
{
    TestIo t;
    const Bytes whole = Raw{2, 1, 15, 100, 1, 1, 2, 3, true}.File();
    const FilterSettings inForce{AllRunes, AnyCharacter, 40, 60, false};
    for (const auto& [size, filter, infoKind, index] :
         std::vector<std::tuple<int, FilterSettings, InfoKind, int>>{
             {4, {AnyRune, AnyCharacter, 40, 60, false}, ItemInfo, 0},
             {24, {AnyRune, SelectedCharacter, 15, 100, true}, RuneInfo, 0},
             {25, {AnyRune, SelectedCharacter, 15, 100, true}, RuneInfo, 2}}) {
        t.files.files["settings.dat"] = Bytes(whole.begin(), whole.begin() + size);
        FilterSettings read = inForce;
        InfoKind readKind = ItemInfo;
        EXPECT_EQ(LoadSettings(read, readKind, 3, t.io()), index) << size;
        EXPECT_EQ(read, filter) << size;
        EXPECT_EQ(readKind, infoKind) << size;
    }
    ASSERT_TRUE(
        SaveSettings(FilterSettings{AnyRune, SelectedCharacter, 15, 100, true}, RuneInfo, 0x0102, t.io()));
    Bytes expected = whole;
    expected[25] = 1;
    expected[17] = 0; // the padding is written as 0
    EXPECT_EQ(t.files.files["settings.dat"], expected);
    t.files.unwritable = {"settings.dat"};
    EXPECT_FALSE(SaveSettings(FilterSettings{}, RunewordInfo, 0, t.io()));
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CannotWriteMessage("settings.dat")});
    EXPECT_EQ(t.files.files["settings.dat"], expected);
}

// A fresh directory per test, with DiskFiles on it.
class Disk : public ::testing::Test {
protected:
    static fs::path MakeDirectory()
    {
        std::string pattern = (fs::temp_directory_path() / "glyphmoor-test-XXXXXX").string();
        return ::mkdtemp(pattern.data()) != nullptr ? pattern
                                                    : throw std::runtime_error("no temporary directory");
    }
    ~Disk() override { fs::remove_all(dir); }
    Io io() { return {disk, messages}; }
    void Put(const std::string& name, const Bytes& content)
    {
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(content.data()),
                   static_cast<std::streamsize>(content.size()));
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

TEST_F(Disk, ReplaceRenamesAWholeNewFileOverTheOldThroughLinksAndKeepsModes)
{
    EXPECT_FALSE(disk.Read("a", 1 << 20));
    ASSERT_TRUE(disk.Replace("a", BytesOf("first, longer")));
    ASSERT_TRUE(disk.Replace("a", BytesOf("second")));
    EXPECT_EQ(disk.Read("a", 1 << 20), BytesOf("second"));
    EXPECT_EQ(disk.Read("a", 3), BytesOf("sec"));
    ASSERT_TRUE(disk.Replace("empty", {}));
    EXPECT_EQ(disk.Read("empty", 1 << 20), Bytes{}); // empty, not missing
    EXPECT_TRUE(disk.Remove("empty"));
    EXPECT_FALSE(disk.Remove("empty"));
    EXPECT_FALSE(DiskFiles((dir / "missing").string()).Replace("a", BytesOf("x")));

    Put("mine", BytesOf("mine")); // read-only: neither replaced nor removed
    fs::permissions(dir / "mine", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(disk.Replace("mine", BytesOf("new")));
    EXPECT_FALSE(disk.Remove("mine"));
    EXPECT_EQ(disk.Read("mine", 1 << 20), BytesOf("mine"));
    // Links are written through, relative or absolute, and the mode is kept.
    fs::create_directory(dir / "elsewhere");
    Put("elsewhere/old", BytesOf("old"));
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(dir / "elsewhere/old", mode);
    fs::create_symlink("elsewhere/old", dir / "relative");
    fs::create_symlink(dir / "relative", dir / "absolute");
    EXPECT_TRUE(disk.Replace("absolute", BytesOf("new")));
    EXPECT_TRUE(fs::is_symlink(dir / "absolute"));
    EXPECT_EQ(disk.Read("elsewhere/old", 1 << 20), BytesOf("new"));
    EXPECT_EQ(fs::status(dir / "elsewhere/old").permissions(), mode);
    EXPECT_EQ(Entries(), (std::set<std::string>{"a", "mine", "elsewhere", "relative", "absolute"}));
}

TEST_F(Disk, DevicesFifosAndDirectoriesReadAsFilesThatDoNotOpenAndAreNeverReplaced)
{
    fs::create_symlink("/dev/zero", dir / "runes.dat");
    ASSERT_EQ(::mkfifo((dir / "settings.dat").c_str(), 0600), 0);
    DataStore store(33, 18, 168, 6);
    EXPECT_FALSE(store.LoadRunes("runes.dat", io()));
    EXPECT_EQ(messages.shown, std::vector<Message>{FileNotFoundMessage("runes.dat")});
    FilterSettings filter{AnyRune, AnyCharacter, 10, 50, false};
    InfoKind infoKind = RuneInfo;
    EXPECT_EQ(LoadSettings(filter, infoKind, 1, io()), 0);
    EXPECT_EQ(filter, (FilterSettings{AnyRune, AnyCharacter, 10, 50, false})); // as for a missing file
    EXPECT_FALSE(SaveSettings(filter, infoKind, 0, io()));

    fs::create_directory(dir / "chars.dat");
    Put("chars.dat/keep", BytesOf("mine"));
    Roster roster;
    LoadRoster(roster, io());
    EXPECT_EQ(roster.characterCount, 0);
    roster.characters[0].SetNameAndClvl("Wren", 12);
    roster.characterCount = 1;
    EXPECT_FALSE(roster.characters[0].Save(io()));
    EXPECT_FALSE(RewriteRoster(roster, io()));
    EXPECT_EQ(messages.shown,
              (std::vector<Message>{FileNotFoundMessage("runes.dat"), CannotWriteMessage("settings.dat"),
                                    CannotWriteRoster, CannotWriteRoster}));
    EXPECT_EQ(disk.Read("chars.dat/keep", 1 << 20), BytesOf("mine"));
    EXPECT_EQ(Entries(), (std::set<std::string>{"chars.dat", "runes.dat", "settings.dat"}));
}

TEST_F(Disk, AWriteCutShortKeepsTheOldFilesByteForByte)
{
    Put("chars.dat", Records(2));
    Put("settings.dat", EncodeSettings(FilterSettings{IgnoreRunes, AnyCharacter, 1, 99, false}, RuneInfo, 0));
    Roster roster;
    LoadRoster(roster, io());
    for (int k = 2; k < 200; ++k)
        roster.characters[static_cast<std::size_t>(k)].SetNameAndClvl("New" + std::to_string(k), 5);
    roster.characterCount = 200; // 14,200 bytes
    // Writes past 20 bytes fail (SIGXFSZ ignored): less than a record, less than the settings.
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = 20;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool rewritten = RewriteRoster(roster, io());
    const bool saved = SaveSettings(FilterSettings{}, RunewordInfo, 0, io());
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(rewritten);
    EXPECT_FALSE(saved);
    EXPECT_EQ(messages.shown, (std::vector<Message>{CannotWriteRoster, CannotWriteMessage("settings.dat")}));
    EXPECT_EQ(disk.Read("chars.dat", 1 << 20), Records(2));
    EXPECT_EQ(disk.Read("settings.dat", 1 << 20),
              EncodeSettings(FilterSettings{IgnoreRunes, AnyCharacter, 1, 99, false}, RuneInfo, 0));
    EXPECT_EQ(Entries(), (std::set<std::string>{"chars.dat", "settings.dat"}));
}

TEST_F(Disk, LeftoversOfAProcessThatIsGoneAreRemovedAndNothingElse)
{
    const pid_t child = ::fork(); // a process id that is surely gone
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string gone = std::to_string(child), mine = std::to_string(::getpid());
    const std::set<std::string> removed{"chars.dat.new-" + gone + "-0",
                                        "chars.dat.corrupt.new-" + gone + "-1",
                                        "chars.dat.corrupt-2.new-" + gone + "-3"};
    const std::set<std::string> kept{"chars.dat",
                                     "chars.dat.new-" + mine + "-0",
                                     "chars.dat.new-" + gone,
                                     "chars.dat.new-" + gone + "-x",
                                     "chars.dat.old.new-" + gone + "-0",
                                     "chars.dat.corrupt-x.new-" + gone + "-0",
                                     "settings.dat.new-" + gone + "-0"};
    for (const std::set<std::string>& names : {removed, kept})
        for (const std::string& name : names)
            Put(name, BytesOf("x"));
    disk.RemoveLeftovers("chars.dat");
    EXPECT_EQ(Entries(), kept);
}

} // namespace
