// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher's first start on a real folder: which sample files are added,
// which of the player's files stop it, and which leftovers go.
#include "TestSupport.h"
#include "launcher/FirstStart.h"
#include "launcher/Platform.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string_view>

namespace fs = std::filesystem;

namespace {

const std::string Sample[] = {"RUNES", "ITEMS", "RUNEWORDS"};

using glyphmoor::test::FileText;

// One letter per reference file: '-' absent, 's' the sample's bytes, 'o' the
// player's own bytes, 'l' a link that leads nowhere, 'd' a directory.
char StateOf(const fs::path& path, int i)
{
    if (fs::is_symlink(path) || !fs::exists(path) || fs::is_directory(path))
        return fs::is_symlink(path) ? 'l' : fs::exists(path) ? 'd' : '-';
    return FileText(path) == Sample[i] ? 's' : FileText(path) == "mine" ? 'o' : '?';
}

TEST(FirstStart, FolderStates)
{
    const struct {
        const char *name, *before, *samples; // the folder's three files; 's' or '-' for each sample
        std::vector<std::string> leftovers;  // names ending in '/' are folders
        const char* after;
        std::set<std::string> kept;          // the leftovers that stay
        const char* advice;                  // part of what the launcher then says, if anything
    } rows[] = {
        // Process 77 runs; 123 and 5 are gone.
        {"empty folder gets the set", "---", "sss", {}, "sss", {}, ""},
        {"killed mid-copy: completed, partial removed", "s--", "sss", {".items.dat.partial.123"}, "sss", {}, ""},
        {"killed between moves", "ss-", "sss", {".samples.partial.123/"}, "sss", {}, ""},
        {"complete samples left alone", "sss", "sss", {}, "sss", {}, ""},
        {"own file with samples beside it", "oss", "sss", {}, "oss", {}, ""},
        {"own runes: samples not mixed in", "o--", "sss", {".runes.dat.partial.5"}, "o--", {},
         "holds your own runes.dat but no items.dat and runewords.dat. Glyphmoor does not mix"},
        {"own items beside a sample", "so-", "sss", {}, "so-", {}, "your own items.dat but no runewords.dat"},
        {"a dangling link is the player's", "l--", "sss", {}, "l--", {}, "your own runes.dat but"},
        {"a directory is the player's", "-d-", "sss", {}, "-d-", {}, "your own items.dat but no runes.dat and"},
        {"a sample missing: nothing copied", "s--", "s-s", {}, "s--", {}, "the sample data file items.dat cannot be found in"},
        {"a running launcher's copy stays", "---", "sss", {".samples.partial.77/"}, "sss", {".samples.partial.77"}, ""},
        {"look-alikes stay", "---", "sss", {"runes.dat.partial.5", ".runes.dat.partial.x", ".partial.5"}, "sss",
         {"runes.dat.partial.5", ".runes.dat.partial.x", ".partial.5"}, ""},
    };
    const glyphmoor::test::TempFolder root;
    const fs::path folder = root.path / "folder", samples = root.path / "samples";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
#ifdef _WIN32
        if (std::string_view(row.before).find('l') != std::string_view::npos)
            continue; // symbolic links need rights a player's account lacks (and Wine has none)
#endif
        for (const fs::path& made : {folder, samples}) {
            fs::remove_all(made);
            fs::create_directories(made);
        }
        for (int i = 0; i < 3; ++i) {
            const fs::path path = folder / launcher::ReferenceFiles[i];
            if (row.samples[i] == 's')
                std::ofstream(samples / launcher::ReferenceFiles[i]) << Sample[i];
            if (row.before[i] == 's' || row.before[i] == 'o')
                std::ofstream(path) << (row.before[i] == 's' ? Sample[i] : "mine");
            else if (row.before[i] == 'l')
                fs::create_symlink(root.path / "nowhere", path);
            else if (row.before[i] == 'd')
                fs::create_directory(path);
        }
        for (const auto& name : row.leftovers) {
            if (name.back() == '/')
                fs::create_directory(folder / name);
            std::ofstream(name.back() == '/' ? folder / name / "runewords.dat" : folder / name) << "RUN";
        }

        const auto result = launcher::PrepareDataFolder(folder, samples, [](long pid) { return pid == 77; }, 4242);

        std::string after;
        std::vector<std::string> copied, missing;
        std::set<std::string> found, expected = row.kept;
        for (int i = 0; i < 3; ++i) {
            after += StateOf(folder / launcher::ReferenceFiles[i], i);
            if (row.before[i] == '-' && after[i] == 's')
                copied.emplace_back(launcher::ReferenceFiles[i]);
            if (after[i] == '-')
                missing.emplace_back(launcher::ReferenceFiles[i]);
            else
                expected.insert(launcher::ReferenceFiles[i]);
        }
        EXPECT_EQ(after, row.after);
        EXPECT_EQ(result.copied, copied);
        EXPECT_EQ(result.missing, missing);
        const std::string advice = result.missing.empty() ? "" : launcher::Advice(result, folder, samples);
        EXPECT_TRUE(advice.find(row.advice) != std::string::npos && advice.empty() == !*row.advice) << advice;
        EXPECT_EQ(result.failure, "");
        for (const auto& entry : fs::directory_iterator(folder))
            found.insert(entry.path().filename().string());
        EXPECT_EQ(found, expected) << "leftovers or a staging folder";
    }
}

} // namespace
