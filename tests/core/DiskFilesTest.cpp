// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileStore.h"
#include "core/Roster.h"
#include "core/Settings.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace glyphmoor;
using namespace glyphmoor::test;
namespace fs = std::filesystem;

namespace {

// A fresh directory per test, removed afterwards.
class DiskFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "glyphmoor-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }

    void TearDown() override
    {
        if (dir.empty())
            return;
        std::error_code ignored;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir, ignored);
    }

    void Put(const std::string& name, const std::string& content)
    {
        std::ofstream out(dir / name, std::ios::binary);
        out << content;
    }

    std::string Get(const std::string& name)
    {
        std::ifstream in(dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::set<std::string> Entries()
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.insert(entry.path().filename().string());
        return names;
    }

    fs::path dir;
};

TEST_F(DiskFilesTest, ReplaceCreatesAFileThatReadsBack)
{
    DiskFiles files(dir.string());
    EXPECT_FALSE(files.Exists("chars.dat"));
    EXPECT_FALSE(files.Read("chars.dat", 1 << 20).has_value());

    Bytes content(100000);
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(files.Replace("chars.dat", content));
    EXPECT_TRUE(files.Exists("chars.dat"));
    EXPECT_EQ(files.Read("chars.dat", 1 << 20), content);
    EXPECT_EQ(Entries(), std::set<std::string>{"chars.dat"});
}

TEST_F(DiskFilesTest, ReplaceOverAnExistingFileLeavesOnlyTheNewContent)
{
    Put("settings.dat", std::string(28, 'x') + "much longer old content");
    DiskFiles files(dir.string());
    ASSERT_TRUE(files.Replace("settings.dat", BytesOf("new")));
    EXPECT_EQ(Get("settings.dat"), "new");
    EXPECT_EQ(Entries(), std::set<std::string>{"settings.dat"});
}

TEST_F(DiskFilesTest, AnEmptyFileReadsAsEmptyNotAsMissing)
{
    DiskFiles files(dir.string());
    ASSERT_TRUE(files.Replace("chars.dat", Bytes{}));
    const auto read = files.Read("chars.dat", 1 << 20);
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(read->empty());
}

TEST_F(DiskFilesTest, ADirectoryCannotBeReadNorReplaced)
{
    fs::create_directory(dir / "chars.dat");
    Put("chars.dat/inside", "keep me");
    DiskFiles files(dir.string());
    EXPECT_TRUE(files.Exists("chars.dat"));
    EXPECT_FALSE(files.Read("chars.dat", 1 << 20).has_value());
    EXPECT_FALSE(files.Replace("chars.dat", BytesOf("record")));
    EXPECT_TRUE(fs::is_directory(dir / "chars.dat"));
    EXPECT_EQ(Get("chars.dat/inside"), "keep me");
    EXPECT_EQ(Entries(), std::set<std::string>{"chars.dat"});
}

TEST_F(DiskFilesTest, RemoveDeletesOnlyWhatExists)
{
    Put("settings.dat", "x");
    DiskFiles files(dir.string());
    EXPECT_TRUE(files.Remove("settings.dat"));
    EXPECT_FALSE(files.Exists("settings.dat"));
    EXPECT_FALSE(files.Remove("settings.dat"));
}

TEST_F(DiskFilesTest, AMissingDirectoryFailsCleanly)
{
    DiskFiles files((dir / "missing").string());
    EXPECT_FALSE(files.Replace("chars.dat", BytesOf("x")));
    EXPECT_FALSE(files.Read("chars.dat", 1 << 20).has_value());
    EXPECT_FALSE(files.Exists("chars.dat"));
    EXPECT_TRUE(Entries().empty());
}

TEST_F(DiskFilesTest, AReadOnlyDirectoryKeepsTheOldFile)
{
    Put("chars.dat", "old records");
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(dir.c_str(), W_OK) == 0)
        GTEST_SKIP() << "running with rights that write into a read-only directory";
    DiskFiles files(dir.string());
    EXPECT_FALSE(files.Replace("chars.dat", BytesOf("new records")));
    EXPECT_EQ(Get("chars.dat"), "old records");
    EXPECT_EQ(Entries(), std::set<std::string>{"chars.dat"});
}

TEST_F(DiskFilesTest, BareNamesAreInTheWorkingDirectory)
{
    const fs::path before = fs::current_path();
    fs::current_path(dir);
    DiskFiles files;
    const bool written = files.Replace("settings.dat", BytesOf("here"));
    fs::current_path(before);
    EXPECT_TRUE(written);
    EXPECT_EQ(Get("settings.dat"), "here");
}

// ---- The roster and settings on a real disk ----

TEST_F(DiskFilesTest, RosterAndSettingsSurviveARestart)
{
    DiskFiles files(dir.string());
    RecordingMessages messages;
    const Io io{files, messages};
    {
        Roster roster;
        for (int k = 0; k < 3; ++k) {
            roster.characters[static_cast<std::size_t>(k)].SetNameAndClvl("Hero" + std::to_string(k), 10 + k);
            roster.characters[static_cast<std::size_t>(k)].SetHighlights(k, k, k);
            ASSERT_TRUE(roster.characters[static_cast<std::size_t>(k)].Save(io));
        }
        ASSERT_TRUE(SaveSettings(FilterSettings{AnyRune, SelectedCharacter, 15, 65, false}, ItemInfo, 2, io));
    }
    Roster roster;
    LoadRoster(roster, io);
    EXPECT_EQ(roster.characterCount, 3);
    EXPECT_EQ(roster.characters[2].GetName(), "Hero2");
    FilterSettings filter;
    InfoKind infoKind = RunewordInfo;
    EXPECT_EQ(LoadSettings(filter, infoKind, roster.characterCount, io), 2);
    EXPECT_EQ(filter, (FilterSettings{AnyRune, SelectedCharacter, 15, 65, false}));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(fs::file_size(dir / "chars.dat"), 213u);
    EXPECT_EQ(Entries(), (std::set<std::string>{"chars.dat", "settings.dat"}));
}

TEST_F(DiskFilesTest, ACorruptRosterIsCopiedBesideIt)
{
    std::string records;
    for (int k = 0; k < 2; ++k) {
        std::string record(71, '\0');
        record[0] = static_cast<char>(k);
        record[1] = 20;
        record.replace(2, 15, "Hero" + std::string(11, '\x02'));
        records += record;
    }
    records[71 + 68] = 40; // highlighted rune out of range
    Put("chars.dat", records);
    DiskFiles files(dir.string());
    RecordingMessages messages;
    Roster roster;
    LoadRoster(roster, {files, messages});
    EXPECT_EQ(roster.characterCount, 1);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(Get("chars.dat.corrupt"), records);
    EXPECT_EQ(Get("chars.dat"), records);
}

TEST_F(DiskFilesTest, ARosterThatIsADirectoryIsReportedNotReplaced)
{
    fs::create_directory(dir / "chars.dat");
    DiskFiles files(dir.string());
    RecordingMessages messages;
    Roster roster;
    roster.characters[0].SetNameAndClvl("Wren", 12);
    EXPECT_FALSE(roster.characters[0].Save({files, messages}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Error creating/loading file: 'chars.dat'");
    EXPECT_TRUE(fs::is_directory(dir / "chars.dat"));
    EXPECT_FALSE(RewriteRoster(roster, {files, messages}));
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(fs::is_directory(dir / "chars.dat"));
}

} // namespace
