// SPDX-License-Identifier: GPL-3.0-or-later
// Failed writes, damaged records, read-only and linked files, huge files, leftovers.
#include "core/DataStore.h"
#include "core/FileStore.h"
#include "core/Roster.h"
#include "core/RunewordFilter.h"
#include "core/Settings.h"
#include "ReferenceFilter.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace glyphmoor;
using namespace glyphmoor::test;
namespace fs = std::filesystem;

namespace {

Bytes RosterOf(const std::vector<std::string>& names, int badClvlAt = -1)
{
    Bytes file;
    for (std::size_t k = 0; k < names.size(); ++k) {
        Character character(static_cast<int>(k));
        character.SetNameAndClvl(names[k], 10);
        auto record = *character.EncodeRecord();
        record[1] = static_cast<int>(k) == badClvlAt ? 0 : 10;
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

std::vector<std::string> NamesIn(TestIo& t)
{
    Roster roster;
    LoadRoster(roster, t.io());
    std::vector<std::string> names;
    for (int k = 0; k < roster.characterCount; ++k)
        names.push_back(roster.characters[static_cast<std::size_t>(k)].GetName());
    return names;
}

struct Folder {
    Folder() { fs::create_directories(dir / "elsewhere"); }
    ~Folder() { fs::remove_all(dir); }
    void Put(const std::string& name, const std::string& text) { std::ofstream(dir / name) << text; }
    std::string Get(const std::string& name)
    {
        std::ifstream in(dir / name);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    const fs::path dir = fs::temp_directory_path() / ("glyphmoor-reliability-" + std::to_string(::getpid()));
};

TEST(Reliability, AfterAFailedWriteTheNextSaveWritesTheWholeRoster)
{
    TestIo t;
    t.files.files[RosterFileName] = RosterOf({"Ann", "Bob", "Cat", "Dan"});
    Roster roster;
    LoadRoster(roster, t.io());
    for (std::size_t k = 1; k < 3; ++k) // Bob is deleted while the disk is full
        roster.characters[k].Assign(roster.characters[k + 1]);
    roster.characterCount = 3;
    t.files.unwritable.insert(RosterFileName);
    EXPECT_FALSE(RewriteRoster(roster, t.io()));
    t.files.unwritable.clear();
    EXPECT_TRUE(SaveCharacter(roster, 1, t.io()));
    EXPECT_EQ(NamesIn(t), (std::vector<std::string>{"Ann", "Cat", "Dan"}));
}

TEST(Reliability, ADamagedRosterIsCopiedUnderANewNameBeforeAnyRewrite)
{
    TestIo t;
    const Bytes file = RosterOf({"Ann", "Bob", "Cat"}, 1); // Cat, behind Bob, is not loaded
    t.files.files[RosterFileName] = file;
    t.files.files[CorruptRosterCopyName] = BytesOf("an earlier incident");
    t.files.unwritable.insert("chars.dat.corrupt-2");
    Roster roster;
    LoadRoster(roster, t.io());
    EXPECT_FALSE(RewriteRoster(roster, t.io())); // no copy yet: chars.dat stays as found
    EXPECT_EQ(t.files.files[RosterFileName], file);
    t.files.unwritable.clear();
    EXPECT_TRUE(RewriteRoster(roster, t.io()));
    EXPECT_EQ(t.files.files["chars.dat.corrupt-2"], file);
    EXPECT_EQ(t.files.files[CorruptRosterCopyName], BytesOf("an earlier incident"));
    t.files.files[RosterFileName] = file; // found again at a later start: that copy serves
    LoadRoster(roster, t.io());
    EXPECT_EQ(roster.corruptCopy, "chars.dat.corrupt-2");
    EXPECT_EQ(t.files.files.size(), 3u);
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

TEST(Reliability, ReadersReadNoMoreThanTheirFormatCanUse)
{
    TestIo t;
    DataStore store(33, 18, 168, 6);
    store.LoadRunes("runes.dat", t.io());
    store.LoadItemTypes("items.dat", t.io());
    store.LoadRunewords("runewords.dat", t.io());
    Roster roster;
    LoadRoster(roster, t.io());
    FilterSettings filter;
    InfoKind infoKind = DefaultInfoKind;
    LoadSettings(filter, infoKind, 0, t.io());
    EXPECT_EQ(t.files.limits, (std::map<std::string, std::size_t>{{"runes.dat", 1 << 20},
                                                                  {"items.dat", 1 << 20},
                                                                  {"runewords.dat", 1 << 20},
                                                                  {"chars.dat", 256 * 71},
                                                                  {"settings.dat", 28}}));
    Folder f;
    f.Put("settings.dat", "");
    fs::resize_file(f.dir / "settings.dat", std::uintmax_t{400} << 20); // sparse: takes no room
    EXPECT_EQ(DiskFiles(f.dir.string()).Read("settings.dat", 28)->size(), 28u);
}

TEST(Reliability, ItemTypesWithoutACategoryShareNoneInTheSocketTest)
{
    DataStore store(33, 18, 168, 6);
    store.ParseRunes(TestRunesFile());
    store.GetItemType(0).SetFromFile("Oddity", 2, 7); // no category, too few sockets for three runes
    store.GetItemType(1).SetFromFile("Curio", 6, 0);  // no category either, sockets enough
    store.GetRuneword(0).SetRunes(std::vector<int>{0, 1, 2});
    store.GetRuneword(0).SetItemTypes(std::vector<int>{0});
    store.SetRunewordCount(1);
    const std::vector<int> runes{0, 1, 2};
    const std::vector<int> items{0, 1};
    EXPECT_TRUE(FilterRunewords(store, runes, items, Roster{}, FilterSettings{}).empty());
    EXPECT_FALSE(reference::FitsCheckedItemType(store, store.GetRuneword(0), items));
}

} // namespace
