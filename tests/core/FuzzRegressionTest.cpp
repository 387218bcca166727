// SPDX-License-Identifier: GPL-3.0-or-later
// Replays through the fuzz targets' checks every input the fuzzers once broke
// (tests/core/data/regressions, named <target>-<what>) and the seed corpus of
// the core targets (tests/fuzz/corpus/<target>/), so that the plain and the
// sanitizer builds keep them fixed without clang or libFuzzer.

#include "../fuzz/FuzzChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <ostream>
#include <string>
#include <vector>

using namespace glyphmoor;
namespace fs = std::filesystem;

namespace {

const std::map<std::string, std::function<std::string(ByteView)>>& Checks()
{
    static const std::map<std::string, std::function<std::string(ByteView)>> checks{
        {"runes", fuzz::CheckRunesFile},         {"items", fuzz::CheckItemsFile},
        {"runewords", fuzz::CheckRunewordsFile}, {"roster", fuzz::CheckRosterFile},
        {"settings", fuzz::CheckSettingsFile},   {"roundtrip", fuzz::CheckRoundTrip},
    };
    return checks;
}

struct Input {
    std::string target;
    fs::path path;
    std::string testName;
};

std::string TestName(const std::string& origin, const std::string& target, const std::string& file)
{
    std::string name = origin + "_" + target + "_" + file;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

std::vector<Input> Inputs()
{
    std::vector<Input> inputs;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(GLYPHMOOR_FUZZ_REGRESSIONS, error)) {
        const std::string file = entry.path().filename().string();
        const std::string target = file.substr(0, file.find('-'));
        if (entry.is_regular_file() && Checks().count(target) != 0)
            inputs.push_back(
                {target, entry.path(), TestName("regression", target, file.substr(target.size()))});
    }
    for (const auto& [target, check] : Checks()) {
        for (const auto& entry : fs::directory_iterator(fs::path(GLYPHMOOR_FUZZ_CORPUS) / target, error)) {
            if (entry.is_regular_file())
                inputs.push_back(
                    {target, entry.path(), TestName("seed", target, entry.path().filename().string())});
        }
    }
    std::sort(inputs.begin(), inputs.end(),
              [](const Input& a, const Input& b) { return a.testName < b.testName; });
    return inputs;
}

void PrintTo(const Input& input, std::ostream* out)
{
    *out << input.path.string();
}

class FuzzRegression : public ::testing::TestWithParam<Input> {};

TEST_P(FuzzRegression, HoldsEveryInvariant)
{
    std::ifstream in(GetParam().path, std::ios::binary);
    ASSERT_TRUE(in) << GetParam().path;
    const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(Checks().at(GetParam().target)(bytes), "") << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Inputs, FuzzRegression, ::testing::ValuesIn(Inputs()),
                         [](const ::testing::TestParamInfo<Input>& info) { return info.param.testName; });

// The folder names of the two tests above must keep matching the targets.
TEST(FuzzRegressionFolders, EveryCoreTargetHasASeedCorpus)
{
    for (const auto& [target, check] : Checks())
        EXPECT_TRUE(fs::is_directory(fs::path(GLYPHMOOR_FUZZ_CORPUS) / target)) << target;
    EXPECT_TRUE(fs::is_directory(GLYPHMOOR_FUZZ_REGRESSIONS));
}

} // namespace
