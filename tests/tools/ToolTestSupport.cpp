// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolTestSupport.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace glyphmoor::tools::test {

TextFiles SmallSources()
{
    return {
        "date: 11.10.2001\n\nrune: Ash\nlevel: 1\n| Grey.\n\nrune: Bel\nlevel: 2\n| Blue.\n\nrune: Cor\nlevel: 3\n"
        "| Red.\n",
        "date: 11.10.2001\n\nitem: Knife\ncategory: melee\nsockets: 2\n\nitem: Bow\ncategory: missile\n"
        "sockets: 4\n\nitem: Cap\ncategory: defence\nsockets: 3\n",
        "date: 11.10.2001\n\nruneword: Kindle\nitems: Weapons\nrunes: Ash Bel\n"
        "\nruneword: Veil\nitems: Cap\nrunes: Bel Cor Bel\n| Two\n| lines.\n",
    };
}

std::string Describe(const Findings& findings)
{
    std::ostringstream out;
    findings.Print(out);
    return out.str();
}

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    path = std::filesystem::temp_directory_path() /
           ("glyphmoor-data-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void TempDir::Write(const std::string& name, const std::string& content) const
{
    std::ofstream(path / name, std::ios::binary) << content;
}

std::string TempDir::Read(const std::string& name) const
{
    std::ostringstream content;
    content << std::ifstream(path / name, std::ios::binary).rdbuf();
    return content.str();
}

} // namespace glyphmoor::tools::test
