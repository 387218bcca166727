// SPDX-License-Identifier: GPL-3.0-or-later
// Replays through the fuzz targets' checks every input the fuzzers once broke
// (data/regressions, named <target>-<what>) and every seed of
// tests/fuzz/corpus/<target>/, so that the plain and the sanitizer builds keep
// them fixed without clang or libFuzzer.

#include "../fuzz/FuzzChecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
        {"datatext", fuzz::CheckDataText},     {"datadecompile", fuzz::CheckDataDecompile}};
    std::vector<std::pair<std::string, fs::path>> inputs;
    for (const auto& entry : fs::directory_iterator(GLYPHMOOR_FUZZ_REGRESSIONS)) {
        const std::string name = entry.path().filename().string();
        if (name != "README.md")
            inputs.emplace_back(name.substr(0, name.find('-')), entry.path());
    }
    for (const auto& [target, check] : checks) {
        for (const auto& entry : fs::directory_iterator(fs::path(GLYPHMOOR_FUZZ_CORPUS) / target))
            inputs.emplace_back(target, entry.path());
    }
    for (const auto& [target, path] : inputs) {
        std::ifstream in(path, std::ios::binary);
        const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_EQ(checks.count(target), 1u) << path;
        EXPECT_EQ(checks.at(target)(bytes), "") << path;
    }
}
