// SPDX-License-Identifier: GPL-3.0-or-later
// What the player's files survive: failed writes, damaged records, read-only
// and linked files, files of any size and the leftovers of interrupted saves.
#include "core/DataStore.h"
#include "core/FileStore.h"
#include "core/Roster.h"
#include "core/RunewordFilter.h"
#include "core/Settings.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

using namespace glyphmoor;
using namespace glyphmoor::test;
namespace fs = std::filesystem;

namespace {

Bytes RosterOf(const std::vector<std::string>& names)
{
    Bytes file;
    for (std::size_t k = 0; k < names.size(); ++k) {
        Character character(static_cast<int>(k));
        character.SetNameAndClvl(names[k], 10);
        const auto record = character.EncodeRecord();
        file.insert(file.end(), record->begin(), record->end());
    }
    return file;
}

std::vector<std::string> NamesIn(FileStore& files)
{
    RecordingMessages messages;
    Roster roster;
    LoadRoster(roster, {files, messages});
    std::vector<std::string> names;
    for (int k = 0; k < roster.characterCount; ++k)
        names.push_back(roster.characters[static_cast<std::size_t>(k)].GetName());
    return names;
}

struct Folder {
    Folder() : dir(fs::temp_directory_path() / ("glyphmoor-reliability-" + std::to_string(::getpid())))
    {
        fs::create_directories(dir / "elsewhere");
    }
    ~Folder() { fs::remove_all(dir); }
    void Put(const std::string& name, const std::string& text) { std::ofstream(dir / name) << text; }
    std::string Get(const std::string& name)
    {
        std::ifstream in(dir / name);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path dir;
};

TEST(Reliability, AfterAFailedWriteTheNextSaveWritesTheWholeRoster)
{
    TestIo t;
    t.files.files[RosterFileName] = RosterOf({"Ann", "Bob", "Cat", "Dan"});
    Roster roster;
    LoadRoster(roster, t.io());
    for (int k = 1; k < 3; ++k) // Bob is deleted while the disk is full
        roster.characters[static_cast<std::size_t>(k)].Assign(roster.characters[static_cast<std::size_t>(k) + 1]);
    roster.characterCount = 3;
    t.files.unwritable.insert(RosterFileName);
    EXPECT_FALSE(RewriteRoster(roster, t.io()));
    t.files.unwritable.clear();
    EXPECT_TRUE(SaveCharacter(roster, 1, t.io()));
    EXPECT_EQ(NamesIn(t.files), (std::vector<std::string>{"Ann", "Cat", "Dan"}));
}

TEST(Reliability, EachDamagedRosterIsKeptUnderANameNothingOverwrites)
{
    TestIo t;
    Bytes file = RosterOf({"Ann", "Bob", "Cat"});
    file[RecordSize + 1] = 0; // Bob's Clvl: Cat is not loaded
    t.files.files[RosterFileName] = file;
    t.files.files[CorruptRosterCopyName] = BytesOf("an earlier incident");
    Roster roster;
    for (int start = 0; start < 2; ++start) { // the same file again: no third copy
        LoadRoster(roster, t.io());
        EXPECT_EQ(roster.corruptCopy, "chars.dat.corrupt-2");
    }
    EXPECT_EQ(t.files.files.size(), 3u);
    EXPECT_EQ(t.files.files["chars.dat.corrupt-2"], file);
    EXPECT_EQ(t.files.files[CorruptRosterCopyName], BytesOf("an earlier incident"));
}

TEST(Reliability, NoRewriteDropsUnloadedRecordsBeforeACopyOfThemIsKept)
{
    TestIo t;
    Bytes file = RosterOf({"Ann", "Bob", "Cat"});
    file[RecordSize + 1] = 0;
    t.files.files[RosterFileName] = file;
    t.files.unwritable.insert(CorruptRosterCopyName);
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_FALSE(RewriteRoster(roster, t.io()));
    EXPECT_EQ(t.files.files[RosterFileName], file);
    t.files.unwritable.clear();
    EXPECT_TRUE(RewriteRoster(roster, t.io()));
    EXPECT_EQ(t.files.files[CorruptRosterCopyName], file);
    EXPECT_EQ(NamesIn(t.files), std::vector<std::string>{"Ann"});
}

TEST(Reliability, ReadOnlyFilesStayLinkedFilesAreWrittenThroughAndModesKept)
{
    Folder f;
    DiskFiles files(f.dir.string());
    f.Put("chars.dat", "mine");
    fs::permissions(f.dir / "chars.dat", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(files.Replace("chars.dat", BytesOf("new")));
    EXPECT_FALSE(files.Remove("chars.dat"));
    EXPECT_EQ(f.Get("chars.dat"), "mine");

    f.Put("elsewhere/settings.dat", "old");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(f.dir / "elsewhere/settings.dat", mode);
    fs::create_symlink("elsewhere/settings.dat", f.dir / "settings.dat");
    EXPECT_TRUE(files.Replace("settings.dat", BytesOf("new")));
    EXPECT_TRUE(fs::is_symlink(f.dir / "settings.dat"));
    EXPECT_EQ(f.Get("elsewhere/settings.dat"), "new");
    EXPECT_EQ(fs::status(f.dir / "settings.dat").permissions(), mode);
}

// Records how much each reader asks for.
class AskedLimits final : public FileStore {
public:
    std::optional<Bytes> Read(const std::string& name, std::size_t limit) override
    {
        asked[name] = limit;
        return files.Read(name, limit);
    }
    bool Replace(const std::string& name, const Bytes& content) override { return files.Replace(name, content); }
    bool Remove(const std::string& name) override { return files.Remove(name); }
    bool Exists(const std::string& name) override { return files.Exists(name); }
    MemoryFiles files;
    std::map<std::string, std::size_t> asked;
};

TEST(Reliability, ReadersReadNoMoreThanTheirFormatCanUse)
{
    AskedLimits disk;
    RecordingMessages messages;
    const Io io{disk, messages};
    DataStore store(33, 18, 168, 6);
    store.LoadRunes("runes.dat", io);
    store.LoadItemTypes("items.dat", io);
    store.LoadRunewords("runewords.dat", io);
    Roster roster;
    LoadRoster(roster, io);
    FilterSettings filter;
    int infoKind = DefaultInfoKind;
    LoadSettings(filter, infoKind, 0, io);
    const std::map<std::string, std::size_t> expected{
        {"runes.dat", 1 << 20}, {"items.dat", 1 << 20}, {"runewords.dat", 1 << 20}, {"chars.dat", 256 * 71},
        {"settings.dat", 28}};
    EXPECT_EQ(disk.asked, expected);

    Folder f;
    f.Put("settings.dat", "");
    fs::resize_file(f.dir / "settings.dat", std::uintmax_t{400} << 20); // sparse: no disk used
    EXPECT_EQ(DiskFiles(f.dir.string()).Read("settings.dat", 28)->size(), 28u);
}

TEST(Reliability, OnlyLeftoversOfTheProgramsOwnDeadSavesAreRemoved)
{
    Folder f;
    const std::set<std::string> kept{"chars.dat", "chars.dat.new-1-0", "chars.dat.new-x-0", "notes.new-999999999-0",
                                     "chars.dat.bak", "elsewhere"};
    for (const std::string& name : kept)
        if (name != "elsewhere")
            f.Put(name, "x");
    f.Put("chars.dat.new-999999999-0", "x");
    f.Put("chars.dat.corrupt-2.new-999999999-3", "x");
    DiskFiles(f.dir.string()).RemoveLeftovers("chars.dat");
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(f.dir))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, kept);
}

TEST(Reliability, ItemTypesWithoutACategoryShareNoneInTheSocketTest)
{
    DataStore store(33, 18, 168, 6);
    store.ParseRunes(TestRunesFile());
    store.GetItemType(0).SetFromFile("Oddity", 2, 7); // no category, too few sockets for three runes
    store.GetItemType(1).SetFromFile("Curio", 6, 0);  // no category either, sockets enough
    Runeword& word = store.GetRuneword(0);
    word.SetRunes(std::vector<int>{0, 1, 2});
    word.SetItemTypes(std::vector<int>{0});
    store.SetRunewordCount(1);
    const std::vector<int> runes{0, 1, 2};
    const std::vector<int> items{0, 1};
    EXPECT_TRUE(FilterRunewords(store, runes, items, Roster{}, FilterSettings{}).empty());
    EXPECT_FALSE(word.FitsCheckedItemType(items));
}

} // namespace
