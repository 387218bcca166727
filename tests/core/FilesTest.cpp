// SPDX-License-Identifier: GPL-3.0-or-later
// chars.dat and settings.dat byte by byte, their load and save, and DiskFiles on a real disk.
#include "TestSupport.h"
#include "core/Roster.h"
#include "core/Settings.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <thread>
#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#endif

using namespace glyphmoor;
using namespace glyphmoor::test;
namespace fs = std::filesystem;

namespace {

const Message CorruptRoster{"Error...", "Corrupt datafile: 'chars.dat'", MessageIcon::Exclamation,
                            MessageButtons::Ok};

// Valid records built byte by byte: slot, Clvl, name padded with 0x02,
// 33 + 18 ticks (rune 4 and item type 2 ticked), highlights 4, 2, 7.
Bytes Records(int count, int first = 0)
{
    Bytes file;
    for (int k = first; k < count; ++k) {
        std::string name = "Hero" + std::to_string(k);
        name.resize(15, '\2');
        Bytes record =
            Concat({{std::uint8_t(k), std::uint8_t(1 + k % 99)}, BytesOf(name), Bytes(51, 0), {4, 2, 7}});
        record[17 + 4] = record[50 + 2] = 1;
        file = Concat({file, record});
    }
    return file;
}

TEST(Character, IsSavedInItsOwnSlotWithHighlightsPastTheListsAsZero)
{
    TestIo t;
    Roster roster;
    Character& hero = roster.characters[200];
    hero.SetNameAndClvl("ABCDEFGHIJKLMNO", 99); // fills the field
    hero.SetHighlights(7, 18, 168);
    hero.SetHighlights(-1, -1, -1); // -1 leaves a highlight as it was
    ASSERT_TRUE(SaveCharacter(roster, 200, t.io()));
    Bytes expected = Concat({Bytes(200 * 71, 0), {200, 99}, BytesOf("ABCDEFGHIJKLMNO"), Bytes(54, 0)});
    expected[expected.size() - 3] = 7;
    EXPECT_EQ(t.files.files["chars.dat"], expected); // zeros before it
}

// One byte of record 0 set to a value: the record loads whole, or the file is
// reported, kept and copied before the message, and nothing of it is loaded.
TEST(Roster, ARecordLoadsWholeOrIsReportedAndKept)
{
    for (const auto& [offset, value, loads] : std::vector<std::tuple<std::size_t, std::uint8_t, bool>>{
             {0, 1, false}, {1, 0, false}, {1, 100, false}, {2, 0x02, false}, {17 + 32, 2, false},
             {50, 2, false}, {67, 0xFF, false}, {68, 33, false}, {69, 18, false}, {70, 168, false},
             {1, 99, true}, {6, 0x02, true}, {17 + 32, 1, true}, {67, 1, true}, {68, 32, true},
             {69, 17, true}, {70, 167, true}}) {
        SCOPED_TRACE(std::to_string(offset) + ": " + std::to_string(value));
        TestIo t;
        Bytes file = Records(1);
        file[offset] = value;
        t.files.files["chars.dat"] = file;
        t.messages.whileShown = [&](const Message&) { EXPECT_EQ(t.files.files["chars.dat.corrupt"], file); };
        Roster roster;
        roster.characters[0].SetNameAndClvl("Old", 5);
        LoadRoster(roster, t.io());
        const auto again = roster.characters[0].EncodeRecord(); // every field as read
        EXPECT_EQ(again ? Bytes(again->begin(), again->end()) : Bytes{}, loads ? file : Bytes{});
        EXPECT_EQ(roster.characters[0].IsFree(), !loads);
        EXPECT_EQ(roster.characterCount, loads ? 1 : 0);
        EXPECT_EQ(t.messages.shown, loads ? std::vector<Message>{} : std::vector{CorruptRoster});
        EXPECT_EQ(t.files.files["chars.dat"], file);
    }
}

TEST(Roster, LoadsUpTo256RecordsAndWritesOneRecordOrAllOrNothing)
{
    TestIo t;
    Roster roster;
    for (const Bytes& file : {Bytes{}, Records(257), Concat({Records(3), Bytes(70, 1)})}) {
        t.files.files["chars.dat"] = file;
        LoadRoster(roster, t.io());
    }
    EXPECT_EQ(t.files.limits["chars.dat"], 256u * 71u);
    roster.characters[1].SetClvl(77);
    ASSERT_TRUE(SaveCharacter(roster, 1, t.io()));
    Bytes expected = Concat({Records(3), Bytes(70, 1)}); // a partial record is left alone
    expected[71 + 1] = 77;
    // Names and levels that would not load back, and an unwritable file: reported, the file kept.
    for (const auto& [name, clvl] : std::vector<std::pair<std::string, int>>{
             {"", 5}, {"ABCDEFGHIJKLMNOP", 5}, {"\x02x", 5}, {"Wren", 0}, {"Wren", 100}}) {
        roster.characters[1].SetNameAndClvl(name, clvl);
        EXPECT_FALSE(SaveCharacter(roster, 1, t.io()) || RewriteRoster(roster, t.io())) << name << clvl;
    }
    roster.characters[1].Assign(roster.characters[2]); // deleted while the disk is full
    roster.characterCount = 2;
    t.files.unwritable = {"chars.dat"};
    EXPECT_FALSE(RewriteRoster(roster, t.io()));
    EXPECT_EQ(t.messages.shown, std::vector<Message>(11, CannotWriteMessage("chars.dat")));
    EXPECT_EQ(t.files.files["chars.dat"], expected);
    t.files.unwritable.clear();
    EXPECT_TRUE(SaveCharacter(roster, 0, t.io())); // after a failure: the whole roster
    expected = Records(3, 1);
    expected[71] = 1;
    EXPECT_EQ(t.files.files["chars.dat"], Concat({Records(1), Bytes(expected.begin() + 71, expected.end())}));
}

// A read that fails for a moment is tried again; a file that is there and does not read is
// reported, and nothing is ever written over it: no first character, no rewrite.
TEST(Roster, AFileThatDoesNotReadIsReportedAndNeverWritten)
{
    for (const auto& [failures, unreadable, loads] : std::vector<std::tuple<int, bool, bool>>{
             {1, false, true}, {4, false, true}, {5, false, false}, {0, true, false}}) {
        TestIo t;
        t.files.files["chars.dat"] = Records(3);
        t.files.failing["chars.dat"] = failures;
        if (unreadable)
            t.files.unreadable = {"chars.dat"};
        Roster roster;
        LoadRoster(roster, t.io());
        EXPECT_EQ(std::tuple(roster.characterCount, roster.unreadable, t.files.pauses),
                  std::tuple(loads ? 3 : 0, !loads, std::min(failures, 4))) << failures;
        t.files.failing.clear();
        t.files.unreadable.clear(); // readable again, or another program's file by now
        roster.characters[0].SetNameAndClvl("First", 1);
        roster.characterCount = std::max(roster.characterCount, 1);
        EXPECT_EQ(SaveCharacter(roster, 0, t.io()) && RewriteRoster(roster, t.io()), loads);
        EXPECT_EQ(t.files.files["chars.dat"] == Records(3), !loads);
        const std::vector<Message> reported{UnreadableRosterMessage(), CannotWriteMessage("chars.dat")};
        EXPECT_EQ(t.messages.shown, loads ? std::vector<Message>{} : reported);
    }
}

// What another program (a sync tool, a backup restored) does to chars.dat between this copy's load
// and its next one-record save: only the file this copy last wrote is patched; any other is
// replaced by the whole roster; one that does not read is left alone.
TEST(Roster, AOneRecordSaveRewritesAFileChangedUnderneathWhole)
{
    Bytes changedLevel = Records(3);
    changedLevel[1] = 42;
    for (const auto& [what, change, written] : std::vector<std::tuple<std::string, std::function<void(MemoryFiles&)>, bool>>{
             {"unchanged", [](MemoryFiles&) {}, true},
             {"a moment's read error", [](MemoryFiles& f) { f.failing["chars.dat"] = 1; }, true},
             {"deleted", [](MemoryFiles& f) { f.files.erase("chars.dat"); }, true},
             {"an older copy", [](MemoryFiles& f) { f.files["chars.dat"] = Records(1); }, true},
             {"swapped", [changedLevel](MemoryFiles& f) { f.files["chars.dat"] = changedLevel; }, true},
             {"unreadable", [](MemoryFiles& f) { f.unreadable = {"chars.dat"}; }, false}}) {
        TestIo t;
        t.files.files["chars.dat"] = Records(3);
        Roster roster;
        LoadRoster(roster, t.io());
        change(t.files);
        const Bytes before = t.files.files["chars.dat"];
        roster.characters[2].SetClvl(50);
        EXPECT_EQ(SaveCharacter(roster, 2, t.io()), written) << what;
        Bytes expected = Records(3);
        expected[2 * 71 + 1] = 50;
        EXPECT_EQ(t.files.files["chars.dat"], written ? expected : before) << what;
        EXPECT_EQ(t.messages.shown.size(), written ? 0u : 1u) << what;
    }
}

TEST(Roster, AFileWithABadRecordIsCopiedUnderAFreeNameBeforeAnyRewrite)
{
    TestIo t;
    Bytes file = Records(3);
    file[71 + 1] = 0; // records 1 and 2 are not loaded
    t.files.files = {{"chars.dat", file}, {"chars.dat.corrupt", BytesOf("an earlier incident")}};
    t.files.unwritable = {"chars.dat.corrupt-2"};
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_FALSE(RewriteRoster(roster, t.io())); // no copy yet: chars.dat stays as found
    EXPECT_EQ(t.files.files["chars.dat"], file);
    t.files.files["chars.dat"] = Records(3); // mended meanwhile, and read again: nothing left to copy
    LoadRoster(roster, t.io());
    EXPECT_TRUE(RewriteRoster(roster, t.io()));
    t.files.files["chars.dat"] = file;
    LoadRoster(roster, t.io());
    t.files.unwritable.clear();
    EXPECT_TRUE(RewriteRoster(roster, t.io()));
    EXPECT_EQ(t.files.files["chars.dat.corrupt-2"], file);
    EXPECT_EQ(t.files.files["chars.dat.corrupt"], BytesOf("an earlier incident"));
    t.files.files["chars.dat"] = file; // found again at a later start: that copy serves
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.corruptCopy, "chars.dat.corrupt-2");
    EXPECT_EQ(t.files.files.size(), 3u);
}

// settings.dat: rune rule, character rule, over, under, the flag (its second
// byte is padding), info kind, index: little-endian 32-bit numbers.
Bytes SettingsBytes(const std::vector<std::int32_t>& fields)
{
    Bytes out;
    for (const std::int32_t value : fields)
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i)));
    return out;
}

TEST(SettingsFile, IsTakenOverOrReportedDeletedAndReset)
{
    // The fields, the number of characters, whether the file is taken.
    for (const auto& [fields, characters, taken] :
         std::vector<std::tuple<std::vector<std::int32_t>, int, bool>>{
             {{2, 1, 30, 100, 0xAB00, 1, 0}, 1, true},
             {{1, 1, 0, 0, 0xAB07, 1, 0}, 1, true},
             {{3, 3, 100, 100, 1, 3, 2}, 3, true},
             {{1, 3, 0, 100, 1, 3, 255}, 256, true},
             {{0, 3, 0, 100, 1, 3, 0}, 1, false},
             {{0x01000001, 3, 0, 100, 1, 3, 0}, 1, false},
             {{1, 4, 0, 100, 1, 3, 0}, 1, false},
             {{1, 3, 101, 100, 1, 3, 0}, 1, false},
             {{1, 3, 0, -1, 1, 3, 0}, 1, false},
             {{1, 3, 0, 100, 1, 0, 0}, 1, false},
             {{2, 1, 30, 60, 0, 1, 3}, 3, true}, // past the roster: its last character
             {{1, 3, 0, 100, 1, 3, -1}, 3, false},
             {{1, 3, 0, 100, 1, 3, 256}, 256, false}}) {
        TestIo t;
        t.files.files["settings.dat"] = Concat({SettingsBytes(fields), {0xFF}}); // a 29th byte is ignored
        FilterSettings filter{AnyRune, AnyCharacter, 15, 20, false};
        InfoKind infoKind = ItemInfo;
        const int index = LoadSettings(filter, infoKind, characters, t.io()).selectedCharacter;
        const FilterSettings read{RuneRule(fields[0]), CharacterRule(fields[1]), fields[2], fields[3],
                                  (fields[4] & 0xFF) != 0};
        EXPECT_EQ(filter, taken ? read : FilterSettings{})
            << fields[0] << fields[1] << fields[5] << fields[6];
        EXPECT_EQ(std::pair(int(infoKind), index),
                  taken ? std::pair(fields[5], std::min(fields[6], characters - 1)) : std::pair(3, 0));
        EXPECT_EQ(t.messages.shown.size() + t.files.files.size(), 1u); // reported and deleted, or kept
        EXPECT_EQ(t.files.limits["settings.dat"], 28u);
    }
}

TEST(SettingsFile, AFailedSaveKeepsTheOldAndAShortFileIsReadAsFarAsItGoes)
{
    TestIo t;
    ASSERT_TRUE(
        SaveSettings(FilterSettings{AnyRune, SelectedCharacter, 15, 100, true}, RuneInfo, 0x0102, t.io()));
    t.files.unwritable = {"settings.dat"};
    EXPECT_FALSE(SaveSettings(FilterSettings{}, RunewordInfo, 0, t.io()));
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CannotWriteMessage("settings.dat")});
    EXPECT_EQ(t.files.files["settings.dat"], SettingsBytes({2, 1, 15, 100, 1, 1, 0x0102})); // padding: 0
    t.files.files["settings.dat"].resize(24); // without the index: 0, the rest as read
    FilterSettings filter;
    InfoKind infoKind = ItemInfo;
    EXPECT_EQ(LoadSettings(filter, infoKind, 3, t.io()).selectedCharacter, 0);
    EXPECT_EQ(filter, (FilterSettings{AnyRune, SelectedCharacter, 15, 100, true}));
    // A file that is there and does not read is no corrupt file: kept, not deleted.
    t.files.unreadable = {"settings.dat"};
    const FilterSettings kept = filter;
    EXPECT_TRUE(LoadSettings(filter, infoKind, 3, t.io()).unreadable);
    EXPECT_EQ(t.messages.shown.back(), UnreadableSettingsMessage());
    EXPECT_EQ(filter, kept);
    EXPECT_EQ(t.files.files["settings.dat"].size(), 24u);
}

// A fresh directory per test, with DiskFiles on it. The folder goes after the
// store has let go of its files: Windows keeps a folder with open files.
class Disk : public ::testing::Test {
protected:
    Disk() { fs::create_directories(dir / "elsewhere"); }
    std::set<std::string> Entries()
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.insert(entry.path().filename().string());
        return names;
    }
    const TempFolder folder;
    const fs::path& dir = folder.path;
    DiskFiles disk{dir.string()};
};

TEST_F(Disk, ReplaceWritesWholeRegularFilesOrLeavesTheOldAlone)
{
    ASSERT_TRUE(disk.Replace("a", BytesOf("first, longer")) && disk.Replace("a", BytesOf("second")));
    EXPECT_EQ(disk.Read("a", 3), BytesOf("sec"));
    ASSERT_TRUE(disk.Create("kept", BytesOf("one")) && !disk.Create("kept", BytesOf("two"))); // never over a file
    EXPECT_EQ(disk.Read("kept", 9), BytesOf("one"));
    ASSERT_TRUE(disk.Replace("empty", {}) && disk.Read("empty", 1) == Bytes{}); // empty, not missing
    EXPECT_TRUE(disk.Remove("empty"));
    EXPECT_FALSE(DiskFiles((dir / "missing").string()).Replace("a", BytesOf("x")));
    // Bytes as they are: no CR LF for LF, no end at 0x1A; and a folder named
    // outside any one code page.
    const Bytes binary = BytesOf("a\nb\r\n\x1A\0c\r");
    const fs::path named = dir / fs::path(u8"R\u00fcnen \u0416\u6587");
    fs::create_directory(named);
    const std::u8string utf8 = named.u8string();
    DiskFiles inNamed(std::string(utf8.begin(), utf8.end()));
    for (DiskFiles* store : {&disk, &inNamed}) {
        ASSERT_TRUE(store->Replace("binary", binary) && store->Replace("binary", binary));
        EXPECT_EQ(store->Read("binary", 100), binary);
    }
    EXPECT_EQ(fs::file_size(named / "binary"), binary.size());
    // A read-only file and a directory: not replaced nor removed; the file read.
    disk.Replace("mine", BytesOf("mine"));
    fs::permissions(dir / "mine", fs::perms::owner_read | fs::perms::group_read);
    for (const auto& [name, state] : {std::pair("mine", FileState::Found), std::pair("elsewhere", FileState::Missing)}) {
        EXPECT_EQ(disk.Load(name, 1 << 20).state, state) << name;
        EXPECT_FALSE(disk.Replace(name, BytesOf("new")) || disk.Remove(name)) << name;
    }
    EXPECT_EQ(disk.Read("mine", 9), BytesOf("mine"));
    fs::permissions(dir / "mine", fs::perms::owner_write, fs::perm_options::add);
    fs::remove_all(named);
    EXPECT_EQ(Entries(), (std::set<std::string>{"a", "binary", "kept", "mine", "elsewhere"})); // no temporary left
}

#ifdef _WIN32
// Another program holding the file open without sharing it (a backup tool, a
// virus scanner): a short hold is waited out, a long one refused with the
// old file kept.
TEST_F(Disk, AFileHeldOpenWithoutSharingIsWaitedForThenLeftAlone)
{
    for (const auto& [holdMs, replaced] : {std::pair(200, true), std::pair(1500, false)}) {
        ASSERT_TRUE(disk.Replace("held", BytesOf("old")));
        const HANDLE held = ::CreateFileW((dir / "held").wstring().c_str(), GENERIC_READ, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        std::thread release([held, holdMs = holdMs] {
            std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
            ::CloseHandle(held);
        });
        EXPECT_EQ(disk.Replace("held", BytesOf("new")), replaced) << holdMs;
        release.join();
        EXPECT_EQ(disk.Read("held", 10), BytesOf(replaced ? "new" : "old")) << holdMs;
        EXPECT_EQ(Entries(), (std::set<std::string>{"held", "elsewhere"}));
    }
}
#endif

TEST_F(Disk, PosixLimitsFifosDevicesAndLinks)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no file-size limit, FIFOs or /dev, and links need privileges";
#else
    ASSERT_TRUE(disk.Replace("a", BytesOf("second")));
    const auto handler = std::signal(SIGXFSZ, SIG_IGN); // writes past 20 bytes fail
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit limited{20, previous.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = disk.Replace("a", Bytes(14200, 1));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(written);
    EXPECT_EQ(disk.Read("a", 1 << 20), BytesOf("second")); // the old file, and no new one beside it
    EXPECT_EQ(Entries(), (std::set<std::string>{"a", "elsewhere"}));
    // Devices, FIFOs and a file whose reads fail: not replaced nor removed, not read.
    fs::create_symlink("/dev/zero", dir / "zero");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_symlink("/proc/self/mem", dir / "eio"); // there, and every read fails (EIO)
    for (const auto& [name, state] : {std::pair("zero", FileState::Missing), std::pair("fifo", FileState::Missing),
                                      std::pair("eio", FileState::Unreadable)}) {
        EXPECT_EQ(disk.Load(name, 1 << 20).state, state) << name;
        EXPECT_FALSE(disk.Replace(name, BytesOf("new")) || disk.Remove(name)) << name;
    }
    // Links are written through, relative or absolute, and the mode is kept.
    disk.Replace("elsewhere/old", BytesOf("old"));
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(dir / "elsewhere/old", mode);
    fs::create_symlink("elsewhere/old", dir / "relative");
    fs::create_symlink(dir / "relative", dir / "absolute");
    EXPECT_TRUE(disk.Replace("absolute", BytesOf("new")));
    EXPECT_EQ(disk.Read("elsewhere/old", 1 << 20), BytesOf("new"));
    EXPECT_EQ(fs::status(dir / "elsewhere/old").permissions(), mode);
    EXPECT_TRUE(fs::is_symlink(dir / "absolute"));
#endif
}

// One copy per roster: the file itself is locked, through links and across the replaces that give
// it a new inode; the folder's lock file stands in while there is none; a lock that cannot be taken
// is never taken for granted. Folder names are bytes, whatever their encoding.
TEST_F(Disk, TheRosterFileItselfIsLockedThroughLinksAndAcrossReplaces)
{
#ifndef _WIN32
    if (const pid_t child = fork(); child == 0) // a copy that dies holding the lock
        _exit(LockRosterFiles(disk) == LockState::Held ? 0 : 1);
    else {
        int status = 1;
        ASSERT_TRUE(waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
#endif
    DiskFiles second{dir.string()};
    EXPECT_EQ(LockRosterFiles(disk), LockState::Held); // no chars.dat yet: the folder's lock
    EXPECT_EQ(LockRosterFiles(second), LockState::Taken);
    ASSERT_TRUE(disk.Replace("chars.dat", BytesOf("one")) && disk.Replace("chars.dat", BytesOf("two")));
    EXPECT_EQ(second.Lock("chars.dat", false), LockState::Taken); // the new file was locked before its rename
    EXPECT_EQ(second.Read("chars.dat", 9), BytesOf("two"));       // and it reads
    DiskFiles gone{(dir / "missing").string()};
    EXPECT_EQ(LockRosterFiles(gone), LockState::Unchecked); // no roster, and no lock file can be made
#ifndef _WIN32 // links need privileges there
    const fs::path other = dir / "other-\xff";
    fs::create_directories(other);
    fs::create_symlink(dir / "chars.dat", other / "chars.dat");
    DiskFiles linked{other.string()};
    EXPECT_EQ(LockRosterFiles(linked), LockState::Taken); // its own folder lock is free
    fs::remove(other / "chars.dat");
    fs::remove(other / ".glyphmoor.lock");
#else
    const fs::path other = dir / "other";
#endif
    fs::create_directories(other / ".glyphmoor.lock"); // where no lock file can be made
    DiskFiles unlockable{other.string()};
    EXPECT_EQ(LockRosterFiles(unlockable), LockState::Unchecked);
}

TEST_F(Disk, LeftoversOfAProcessThatIsGoneAreRemovedAndNothingElse)
{
    const std::string gone = "999999999", mine = std::to_string(::getpid()); // past the largest process id
    std::set<std::string> kept{"elsewhere", "chars.dat.new-" + mine + "-0", "chars.dat.new-" + gone,
                               "chars.dat.new-" + gone + "-x", "chars.dat.old.new-" + gone + "-0",
                               "chars.dat.corrupt-x.new-" + gone + "-0", "settings.dat.new-" + gone + "-0"};
    for (const std::string& name : kept)
        disk.Replace(name, {});
    for (const std::string name : {".new-", ".corrupt.new-", ".corrupt-2.new-"})
        disk.Replace("chars.dat" + name + gone + "-1", {});
    disk.RemoveLeftovers("chars.dat");
    EXPECT_EQ(Entries(), kept);
}

} // namespace
