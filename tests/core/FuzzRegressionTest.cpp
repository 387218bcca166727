// SPDX-License-Identifier: GPL-3.0-or-later
// Replays through the fuzz checks every input the fuzzers once broke (named
// data/regressions/<target>-<what>) and every seed (tests/fuzz/corpus/<target>/).

#include "../fuzz/FuzzChecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

using namespace glyphmoor;
namespace fs = std::filesystem;

TEST(FuzzRegression, EveryKeptInputAndSeedHoldsEveryInvariant)
{
    const std::map<std::string, std::function<std::string(ByteView)>> checks{
        {"runes", fuzz::CheckDataFile<0>},     {"items", fuzz::CheckDataFile<1>},
        {"runewords", fuzz::CheckDataFile<2>}, {"roster", fuzz::CheckRosterFile},
        {"settings", fuzz::CheckSettingsFile}, {"roundtrip", fuzz::CheckRoundTrip},
        {"datadecompile", fuzz::CheckDataDecompile}};
    std::vector<std::pair<std::string, fs::path>> inputs;
    for (const auto& entry : fs::directory_iterator(GLYPHMOOR_FUZZ_REGRESSIONS))
        if (entry.path().extension() != ".md")
            inputs.emplace_back(entry.path().filename().string(), entry.path());
    for (const auto& [target, check] : checks) {
        for (const auto& entry : fs::directory_iterator(fs::path(GLYPHMOOR_FUZZ_CORPUS) / target))
            inputs.emplace_back(target, entry.path());
    }
    for (const auto& [name, path] : inputs) {
        const std::string target = name.substr(0, name.find('-'));
        const Bytes bytes = test::BytesOf(test::FileText(path));
        EXPECT_EQ(checks.count(target) ? checks.at(target)(bytes) : "no such target", "") << path;
    }
}
