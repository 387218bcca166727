// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/DataTables.h"
#include "tools/Findings.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace glyphmoor::tools::test {

// A small valid data set: runes Ash (1), Bel (2), Cor (3); item types Knife
// (melee, 2), Bow (missile, 4), Cap (defence, 3); two runewords.
TextFiles SmallSources();

// The findings as text, for failure messages.
std::string Describe(const Findings& findings);

// A fresh directory under the system's temporary directory, removed again.
class TempDir {
public:
    TempDir()
    {
        static std::atomic<int> counter{0};
        path = std::filesystem::temp_directory_path() /
               ("glyphmoor-data-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path; }
    std::string Str() const { return path.string(); }
    void Write(const std::string& name, const std::string& content) const
    {
        std::ofstream(path / name, std::ios::binary) << content;
    }
    std::string Read(const std::string& name) const
    {
        std::ostringstream content;
        content << std::ifstream(path / name, std::ios::binary).rdbuf();
        return content.str();
    }
    bool Has(const std::string& name) const { return std::filesystem::exists(path / name); }

private:
    std::filesystem::path path;
};

} // namespace glyphmoor::tools::test
