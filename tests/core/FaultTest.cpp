// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile data files and failing disks, on real files in a temporary
// directory wherever the file system's own behaviour matters.

#include "../fuzz/FuzzChecks.h"
#include "core/DataStore.h"
#include "core/FileStore.h"
#include "core/Roster.h"
#include "core/Settings.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

using namespace glyphmoor;
using namespace glyphmoor::test;
namespace fs = std::filesystem;

namespace {

const Message CorruptRoster = CorruptFileMessage("chars.dat");
const Message CannotWriteRoster{"Error...", "Error creating/loading file: 'chars.dat'",
                                MessageIcon::Exclamation, MessageButtons::Ok};
const Message CannotWriteSettings{"Error...", "Error creating/loading file: 'settings.dat'",
                                  MessageIcon::Exclamation, MessageButtons::Ok};

// A chars.dat record built byte by byte: slot, Clvl, name padded with 0x02,
// 33 + 18 ticks, 3 highlights.
Bytes Record(int slot, int clvl, const std::string& name)
{
    Bytes record(71, 0x00);
    record[0] = static_cast<std::uint8_t>(slot);
    record[1] = static_cast<std::uint8_t>(clvl);
    for (std::size_t i = 0; i < 15; ++i)
        record[2 + i] = i < name.size() ? static_cast<std::uint8_t>(name[i]) : 0x02;
    record[17 + static_cast<std::size_t>(slot % 33)] = 1;
    record[50 + static_cast<std::size_t>(slot % 18)] = 1;
    record[68] = static_cast<std::uint8_t>(slot % 33);
    record[69] = static_cast<std::uint8_t>(slot % 18);
    record[70] = static_cast<std::uint8_t>(slot % 168);
    return record;
}

Bytes RosterFile(int count)
{
    Bytes file;
    for (int k = 0; k < count; ++k) {
        const Bytes record = Record(k, 1 + k % 99, "Hero" + std::to_string(k));
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

// A fresh directory per test, removed afterwards, with DiskFiles on it.
class FaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "glyphmoor-fault-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        disk.emplace(dir.string());
    }

    void TearDown() override
    {
        if (dir.empty())
            return;
        std::error_code ignored;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir, ignored);
    }

    Io io() { return {*disk, messages}; }

    void Put(const std::string& name, const Bytes& content)
    {
        std::ofstream out(dir / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(content.data()),
                  static_cast<std::streamsize>(content.size()));
    }

    Bytes Get(const std::string& name)
    {
        std::ifstream in(dir / name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    std::set<std::string> Entries()
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.insert(entry.path().filename().string());
        return names;
    }

    fs::path dir;
    std::optional<DiskFiles> disk;
    RecordingMessages messages;
};

// ---- A corrupt roster ----

TEST_F(FaultTest, AFortiethBadRecordLoadsThirtyNineAndKeepsTheFile)
{
    Bytes file = RosterFile(45);
    file[71 * 39 + 1] = 0; // Clvl 0 in record 39, the fortieth
    Put("chars.dat", file);

    Roster roster;
    LoadRoster(roster, io());
    EXPECT_EQ(roster.characterCount, 39);
    EXPECT_EQ(roster.characters[38].GetName(), "Hero38");
    EXPECT_TRUE(roster.characters[39].IsFree());
    EXPECT_EQ(messages.shown, std::vector<Message>{CorruptRoster});
    EXPECT_EQ(Get("chars.dat"), file);
    EXPECT_EQ(Get("chars.dat.corrupt"), file);
    EXPECT_EQ(Entries(), (std::set<std::string>{"chars.dat", "chars.dat.corrupt"}));

    // Saving a loaded character leaves the bad record and those after it.
    roster.characters[0].SetRuneTick(32, true);
    ASSERT_TRUE(roster.characters[0].Save(io()));
    const Bytes saved = Get("chars.dat");
    ASSERT_EQ(saved.size(), file.size());
    EXPECT_TRUE(std::equal(saved.begin() + 71, saved.end(), file.begin() + 71));
    EXPECT_EQ(saved[17 + 32], 1);
}

// ---- settings.dat of 27 bytes ----

struct ShortSettingsCase {
    const char* name;
    std::uint8_t indexBytes[3]; // the three bytes of the index the file has
    bool accepted;
    int index;
};

class ShortSettings : public FaultTest, public ::testing::WithParamInterface<ShortSettingsCase> {};

TEST_P(ShortSettings, FillOnlyTheBytesTheFileHas)
{
    Bytes file = EncodeSettings(FilterSettings{AnyRune, SelectedCharacter, 30, 90, false}, RuneInfo, 0);
    file.resize(27);
    std::copy(std::begin(GetParam().indexBytes), std::end(GetParam().indexBytes), file.begin() + 24);
    Put("settings.dat", file);

    FilterSettings filter;
    InfoKind infoKind = DefaultInfoKind;
    const int index = LoadSettings(filter, infoKind, 3, io());
    EXPECT_EQ(index, GetParam().index);
    if (GetParam().accepted) {
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(filter, (FilterSettings{AnyRune, SelectedCharacter, 30, 90, false}));
        EXPECT_EQ(infoKind, 1);
        EXPECT_EQ(Get("settings.dat"), file);
    } else {
        EXPECT_EQ(messages.shown, std::vector<Message>{CorruptFileMessage("settings.dat")});
        EXPECT_EQ(filter, FilterSettings{});
        EXPECT_EQ(infoKind, DefaultInfoKind);
        EXPECT_FALSE(fs::exists(dir / "settings.dat"));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ShortSettings,
                         ::testing::Values(ShortSettingsCase{"IndexTwoInItsLowBytes", {2, 0, 0}, true, 2},
                                           ShortSettingsCase{
                                               "IndexTooHighInItsLowBytes", {0xFF, 0xFF, 0xFF}, false, 0},
                                           ShortSettingsCase{"IndexBeyondTheRoster", {3, 0, 0}, false, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- runewords.dat cut anywhere ----

TEST(CutRunewordsFile, EveryPrefixKeepsTheRecordsWhoseListsEnded)
{
    const std::vector<std::string> names{"Marshglow", "Fenlight", "Reedsong"};
    const std::vector<Bytes> records{
        RunewordRecord("Marshglow", {"Melee Weapons", "Bucklers"}, {"Vur", "Kess"}, "One\x04Two"),
        RunewordRecord("Fenlight", {"Weapons"}, {"Orna", "Pell", "Dask"}, ""),
        RunewordRecord("Reedsong", {"Coifs", "Nothing"}, {"Zaro", "Unknown", "Quel"}, "Last."),
    };
    Bytes file = DateBytes();
    std::vector<std::size_t> listsEnd; // one past the 0x01 that ends each rune list
    for (const Bytes& record : records) {
        const std::size_t start = file.size();
        file.insert(file.end(), record.begin(), record.end());
        std::size_t ones = 0;
        std::size_t at = start;
        while (ones < 3)
            ones += file[at++] == 0x01;
        listsEnd.push_back(at);
    }

    for (std::size_t length = 0; length <= file.size(); ++length) {
        SCOPED_TRACE("file cut to " + std::to_string(length) + " bytes");
        DataStore store(33, 18, 168, 6);
        store.ParseRunes(TestRunesFile());
        store.ParseItemTypes(TestItemsFile());
        store.ParseRunewords(ByteView(file.data(), length));
        const int expected = static_cast<int>(
            std::count_if(listsEnd.begin(), listsEnd.end(), [&](std::size_t end) { return end <= length; }));
        ASSERT_EQ(store.GetRunewordCount(), expected);
        for (int i = 0; i < expected; ++i)
            EXPECT_EQ(store.GetRuneword(i).GetName(), names[static_cast<std::size_t>(i)]);
        fuzz::Problems problems;
        fuzz::CheckStore(store, problems);
        EXPECT_EQ(problems.Text(), "");
    }
}

TEST_F(FaultTest, ARunewordsFileEndingInsideARuneListLoadsTheRecordsBefore)
{
    Put("runes.dat", TestRunesFile());
    Put("items.dat", TestItemsFile());
    Put("runewords.dat", Concat({DateBytes(), RunewordRecord("Whole", {"Sabres"}, {"Vur"}, "Kept."),
                                 BytesOf("Cut\x01Sabres\x01Vur\x03Ke")}));
    DataStore store(33, 18, 168, 6);
    EXPECT_TRUE(store.LoadRunes("runes.dat", io()));
    EXPECT_TRUE(store.LoadItemTypes("items.dat", io()));
    EXPECT_TRUE(store.LoadRunewords("runewords.dat", io()));
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(store.GetRunewordCount(), 1);
    EXPECT_EQ(store.GetRuneword(0).GetName(), "Whole");
    EXPECT_EQ(store.GetRuneword(0).GetDescription(), "Kept.");
    EXPECT_EQ(store.FindRuneword("Cut"), -1);
}

// ---- Reference files replaced by junk ----

struct JunkCase {
    const char* name;
    Bytes content;
};

void PrintTo(const JunkCase& junk, std::ostream* out)
{
    *out << junk.name;
}

const std::vector<JunkCase>& Junk()
{
    static const std::vector<JunkCase> junk{
        {"Empty", {}},
        {"ThreeBytes", {0x0B, 0x0A, 0x01}},
        {"SixtyFourKiBOfFF", Bytes(64 * 1024, 0xFF)},
    };
    return junk;
}

class JunkReferenceFile : public FaultTest,
                          public ::testing::WithParamInterface<std::tuple<std::string, JunkCase>> {};

TEST_P(JunkReferenceFile, LoadsWithoutCrashAndWithSaneTables)
{
    const auto& [file, junk] = GetParam();
    Put("runes.dat", TestRunesFile());
    Put("items.dat", TestItemsFile());
    Put("runewords.dat",
        Concat({DateBytes(), RunewordRecord("Marshglow", {"Weapons"}, {"Vur", "Kess"}, "")}));
    Put(file, junk.content);

    DataStore store(33, 18, 168, 6);
    EXPECT_TRUE(store.LoadRunes("runes.dat", io()));
    EXPECT_TRUE(store.LoadItemTypes("items.dat", io()));
    EXPECT_TRUE(store.LoadRunewords("runewords.dat", io()));
    EXPECT_TRUE(messages.shown.empty());
    fuzz::Problems problems;
    fuzz::CheckStore(store, problems);
    EXPECT_EQ(problems.Text(), "");

    const bool allFF = junk.content.size() > 3;
    if (file == "runes.dat") {
        // 0xFF is a clvl of -1 and then a name that never ends.
        EXPECT_EQ(store.GetRune(0).GetClvl(), allFF ? -1 : 0);
        EXPECT_EQ(store.GetRune(0).GetName().size(), allFF ? junk.content.size() - 4 : 0u);
        for (int i = 1; i < 33; ++i)
            EXPECT_EQ(store.GetRune(i), Rune{});
        EXPECT_EQ(store.GetRunewordCount(), 1);
        EXPECT_EQ(store.GetRuneword(0).GetRune(0), -1);
    } else if (file == "items.dat") {
        // Sockets -1, category byte -1 (none) and a name that never ends.
        EXPECT_EQ(store.GetItemType(0).GetName().size(), allFF ? junk.content.size() - 5 : 0u);
        for (int i = 0; i < 18; ++i) {
            EXPECT_EQ(store.GetItemType(i).GetCategory(), NoCategory);
            EXPECT_EQ(store.GetItemType(i).GetMaxSockets(), -1);
        }
        ASSERT_EQ(store.GetRunewordCount(), 1);
        EXPECT_EQ(store.GetRuneword(0).GetItemTypeCount(), 0); // no weapons left
    } else {
        // A name that never ends: the record never reaches its lists.
        EXPECT_EQ(store.GetRunewordCount(), 0);
        EXPECT_EQ(store.GetRune(0).GetName(), "Vur");
    }
}

INSTANTIATE_TEST_SUITE_P(Files, JunkReferenceFile,
                         ::testing::Combine(::testing::Values("runes.dat", "items.dat", "runewords.dat"),
                                            ::testing::ValuesIn(Junk())),
                         [](const auto& info) {
                             std::string file = std::get<0>(info.param);
                             file = file.substr(0, file.find('.'));
                             return file + "_" + std::get<1>(info.param).name;
                         });

// ---- Special files where a data file should be ----

TEST_F(FaultTest, ADeviceOrFifoInPlaceOfAFileReadsAsUnopenableWithoutHanging)
{
    fs::create_symlink("/dev/zero", dir / "runes.dat");
    fs::create_symlink("/dev/full", dir / "chars.dat");
    ASSERT_EQ(::mkfifo((dir / "settings.dat").c_str(), 0600), 0);

    DataStore store(33, 18, 168, 6);
    EXPECT_FALSE(store.LoadRunes("runes.dat", io()));
    EXPECT_EQ(messages.shown, std::vector<Message>{FileNotFoundMessage("runes.dat")});
    Roster roster;
    LoadRoster(roster, io());
    EXPECT_EQ(roster.characterCount, 0);
    FilterSettings filter;
    InfoKind infoKind = DefaultInfoKind;
    EXPECT_EQ(LoadSettings(filter, infoKind, 1, io()), 0);
    EXPECT_EQ(messages.shown.size(), 1u);
}

// ---- chars.dat or settings.dat is a directory ----

TEST_F(FaultTest, ARosterThatIsADirectoryLoadsEmptyAndIsNeverReplaced)
{
    fs::create_directory(dir / "chars.dat");
    Put("chars.dat/keep", BytesOf("mine"));

    Roster roster;
    LoadRoster(roster, io());
    EXPECT_EQ(roster.characterCount, 0);
    EXPECT_TRUE(messages.shown.empty());

    // The first character cannot be saved: told once per write, nothing lost.
    roster.characters[0].SetNameAndClvl("Wren", 12);
    roster.characters[0].SetHighlights(0, 0, 0);
    roster.characterCount = 1;
    EXPECT_FALSE(roster.characters[0].Save(io()));
    EXPECT_FALSE(RewriteRoster(roster, io()));
    EXPECT_EQ(messages.shown, (std::vector<Message>{CannotWriteRoster, CannotWriteRoster}));
    EXPECT_EQ(roster.characters[0].GetName(), "Wren");
    EXPECT_TRUE(fs::is_directory(dir / "chars.dat"));
    EXPECT_EQ(Get("chars.dat/keep"), BytesOf("mine"));
    EXPECT_EQ(Entries(), std::set<std::string>{"chars.dat"});
}

TEST_F(FaultTest, SettingsThatAreADirectoryGiveTheDefaultsAndAreNotReplaced)
{
    fs::create_directory(dir / "settings.dat");
    FilterSettings filter{AnyRune, AnyCharacter, 10, 50, false};
    InfoKind infoKind = RuneInfo;
    EXPECT_EQ(LoadSettings(filter, infoKind, 1, io()), 0);
    EXPECT_EQ(filter, (FilterSettings{AnyRune, AnyCharacter, 10, 50, false})); // kept, as for a missing file
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(SaveSettings(filter, infoKind, 0, io()));
    EXPECT_EQ(messages.shown, std::vector<Message>{CannotWriteSettings});
    EXPECT_TRUE(fs::is_directory(dir / "settings.dat"));
    EXPECT_EQ(Entries(), std::set<std::string>{"settings.dat"});
}

// ---- A full disk ----

// DiskFiles on a disk with `room` bytes left: a Replace that needs more
// writes its temporary file until the disk is full, fails and removes it, as
// DiskFiles does on a failed write. The rest is DiskFiles itself.
class FullDisk final : public FileStore {
public:
    FullDisk(const fs::path& dir, std::size_t room) : dir(dir), disk(dir.string()), room(room) {}

    std::optional<Bytes> Read(const std::string& name, std::size_t limit) override { return disk.Read(name, limit); }
    bool Remove(const std::string& name) override { return disk.Remove(name); }
    bool Exists(const std::string& name) override { return disk.Exists(name); }
    bool Replace(const std::string& name, const Bytes& content) override
    {
        if (content.size() <= room) {
            room -= content.size();
            return disk.Replace(name, content);
        }
        const fs::path temporary = dir / (name + ".new-full");
        {
            std::ofstream out(temporary, std::ios::binary);
            out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(room));
        }
        fs::remove(temporary);
        ++failures;
        return false;
    }

    int failures = 0;

private:
    fs::path dir;
    DiskFiles disk;
    std::size_t room;
};

TEST_F(FaultTest, AFullDiskKeepsEveryOldFileAndSaysSo)
{
    const Bytes oldRoster = RosterFile(3);
    const Bytes oldSettings = EncodeSettings(FilterSettings{AnyRune, SelectedCharacter, 5, 60, true}, ItemInfo, 1);
    Put("chars.dat", oldRoster);
    Put("settings.dat", oldSettings);
    FullDisk full(dir, 10);
    const Io diskIo{full, messages};

    Roster roster;
    LoadRoster(roster, diskIo);
    ASSERT_EQ(roster.characterCount, 3);
    roster.characters[1].SetClvl(77);
    EXPECT_FALSE(roster.characters[1].Save(diskIo));
    roster.characters[2].Clear();
    roster.characterCount = 2;
    EXPECT_FALSE(RewriteRoster(roster, diskIo));
    EXPECT_FALSE(SaveSettings(FilterSettings{}, RunewordInfo, 0, diskIo));

    EXPECT_EQ(full.failures, 3);
    EXPECT_EQ(messages.shown,
              (std::vector<Message>{CannotWriteRoster, CannotWriteRoster, CannotWriteSettings}));
    EXPECT_EQ(Get("chars.dat"), oldRoster);
    EXPECT_EQ(Get("settings.dat"), oldSettings);
    EXPECT_EQ(Entries(), (std::set<std::string>{"chars.dat", "settings.dat"}));
}

TEST_F(FaultTest, ADiskFillingUpAtExitKeepsTheCharacterAndTheOldSettings)
{
    const Bytes oldSettings = EncodeSettings(FilterSettings{AnyRune, SelectedCharacter, 5, 60, true}, ItemInfo, 0);
    Put("chars.dat", RosterFile(1));
    Put("settings.dat", oldSettings);
    FullDisk full(dir, 71 + 10); // room for the roster, not for the settings
    const Io diskIo{full, messages};

    Roster roster;
    LoadRoster(roster, diskIo);
    roster.selectedCharacter = 0;
    roster.Selected().SetRuneTick(20, true);
    EXPECT_TRUE(roster.Selected().Save(diskIo));
    EXPECT_FALSE(SaveSettings(FilterSettings{}, RunewordInfo, 0, diskIo));
    EXPECT_EQ(messages.shown, std::vector<Message>{CannotWriteSettings});
    EXPECT_EQ(Get("chars.dat")[17 + 20], 1);
    EXPECT_EQ(Get("settings.dat"), oldSettings);
}

TEST_F(FaultTest, ACorruptCopyThatDoesNotFitStillLoadsTheGoodRecords)
{
    Bytes file = RosterFile(5);
    file[71 * 3] = 9; // slot byte of record 3
    Put("chars.dat", file);
    FullDisk full(dir, 0);
    Roster roster;
    LoadRoster(roster, {full, messages});
    EXPECT_EQ(roster.characterCount, 3);
    EXPECT_EQ(messages.shown, std::vector<Message>{CorruptRoster});
    EXPECT_EQ(Get("chars.dat"), file);
    EXPECT_EQ(Entries(), std::set<std::string>{"chars.dat"});
}

// The real thing: DiskFiles under a file-size limit, so that the kernel
// refuses the write part-way (EFBIG, as ENOSPC would on a full disk).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        limited.rlim_cur = limit = bytes;
        active = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // Whether the kernel really stops a write at the limit (a sandbox may not).
    bool Enforced(const fs::path& dir) const
    {
        if (!active)
            return false;
        const fs::path probe = dir / "probe";
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0)
            return false;
        const std::string bytes(static_cast<std::size_t>(limit) + 1, 'x');
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        ::close(fd);
        ::unlink(probe.c_str());
        return written >= 0 && static_cast<std::size_t>(written) < bytes.size();
    }

    bool active = false;

private:
    rlimit previous{};
    rlim_t limit = 0;
    void (*previousHandler)(int) = nullptr;
};

TEST_F(FaultTest, AWriteThatFailsPartWayKeepsTheOldRosterByteForByte)
{
    const Bytes oldRoster = RosterFile(2);
    Put("chars.dat", oldRoster);
    Roster roster;
    LoadRoster(roster, io());
    ASSERT_EQ(roster.characterCount, 2);
    for (int k = 2; k < 200; ++k) {
        roster.characters[static_cast<std::size_t>(k)].SetNameAndClvl("New" + std::to_string(k), 5);
        roster.characters[static_cast<std::size_t>(k)].SetHighlights(0, 0, 0);
    }
    roster.characterCount = 200; // 14,200 bytes, where 4,096 fit

    bool rewritten = true;
    {
        FileSizeLimit limit(4096);
        if (!limit.Enforced(dir))
            GTEST_SKIP() << "this system does not enforce RLIMIT_FSIZE";
        rewritten = RewriteRoster(roster, io());
    }
    EXPECT_FALSE(rewritten);
    EXPECT_EQ(messages.shown, std::vector<Message>{CannotWriteRoster});
    EXPECT_EQ(Get("chars.dat"), oldRoster);
    EXPECT_EQ(Entries(), std::set<std::string>{"chars.dat"});
}

TEST_F(FaultTest, SettingsOnADiskWithNoRoomLeftKeepTheOldFile)
{
    const Bytes oldSettings = EncodeSettings(FilterSettings{IgnoreRunes, AnyCharacter, 1, 99, false}, RuneInfo, 0);
    Put("settings.dat", oldSettings);
    bool saved = true;
    {
        FileSizeLimit limit(10); // less than the 28 bytes
        if (!limit.Enforced(dir))
            GTEST_SKIP() << "this system does not enforce RLIMIT_FSIZE";
        saved = SaveSettings(FilterSettings{}, RunewordInfo, 0, io());
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(messages.shown, std::vector<Message>{CannotWriteSettings});
    EXPECT_EQ(Get("settings.dat"), oldSettings);
    EXPECT_EQ(Entries(), std::set<std::string>{"settings.dat"});
}

// /dev/full behind a symlink: a save writes through the link, and a device is
// never replaced. Reading the device must not read forever, though, and a
// character saved over it is reported, not lost.
TEST_F(FaultTest, ARosterLinkedToDevFullLoadsEmptyAndASaveIsReported)
{
    fs::create_symlink("/dev/full", dir / "chars.dat");
    Roster roster;
    LoadRoster(roster, io());
    EXPECT_EQ(roster.characterCount, 0);
    EXPECT_TRUE(messages.shown.empty());

    roster.characters[0].SetNameAndClvl("Wren", 12);
    roster.characters[0].SetHighlights(0, 0, 0);
    EXPECT_FALSE(roster.characters[0].Save(io()));
    EXPECT_EQ(messages.shown, std::vector<Message>{CannotWriteRoster});
    EXPECT_TRUE(fs::is_symlink(dir / "chars.dat"));

    roster.characterCount = 1;
    EXPECT_FALSE(RewriteRoster(roster, io()));
    EXPECT_TRUE(fs::is_symlink(dir / "chars.dat"));
}

// ---- A read-only directory ----

TEST_F(FaultTest, AReadOnlyDirectoryKeepsEveryFileAndSaysSo)
{
    const Bytes oldRoster = RosterFile(1);
    Bytes badSettings = EncodeSettings(FilterSettings{}, RunewordInfo, 0);
    badSettings[0] = 9; // runeRule 9: rejected, and the file cannot be deleted
    Put("chars.dat", oldRoster);
    Put("settings.dat", badSettings);
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(dir.c_str(), W_OK) == 0)
        GTEST_SKIP() << "these rights write into a read-only directory (root does): nothing to test";

    Roster roster;
    LoadRoster(roster, io());
    ASSERT_EQ(roster.characterCount, 1);
    EXPECT_FALSE(roster.characters[0].Save(io()));
    FilterSettings filter;
    InfoKind infoKind = DefaultInfoKind;
    EXPECT_EQ(LoadSettings(filter, infoKind, 1, io()), 0);
    EXPECT_EQ(filter, FilterSettings{});
    EXPECT_FALSE(SaveSettings(filter, infoKind, 0, io()));
    EXPECT_EQ(messages.shown, (std::vector<Message>{CannotWriteRoster, CorruptFileMessage("settings.dat"),
                                                    CannotWriteSettings}));
    EXPECT_EQ(Get("chars.dat"), oldRoster);
    EXPECT_EQ(Get("settings.dat"), badSettings);
}

} // namespace
