// SPDX-License-Identifier: GPL-3.0-or-later
// The character dialog's check, the message texts and UTF-8 decoding.
#include "core/CharacterInput.h"
#include "core/CodePage.h"
#include "core/MessageFormat.h"

#include <gtest/gtest.h>

using namespace glyphmoor;

namespace {

TEST(CharacterInput, GivesTheFirstFailingCheckOrTheLevel)
{
    const std::string noName = "You must enter a character name", invalid = "Invalid character level",
                      outOfRange = "Clvl must be between 1 and 99";
    // Name, level text, the message (empty: accepted), the level as the caller's variable ends.
    for (const auto& [name, clvlText, message, clvl] :
         std::vector<std::tuple<std::string, std::string, std::string, int>>{
             {"", "", noName, -7},
             {"Tamsin", "", "You must enter a character level", -7},
             {"Tamsin", " 7", "", 7},
             {"Tamsin", "\t42\t", "", 42},
             {"Tamsin", "7x", invalid, -7},
             {"Tamsin", "\xB2", invalid, -7},
             {"Tamsin", "0", outOfRange, -7},
             {"Tamsin", " ", outOfRange, -7},
             {"Tamsin", "100", outOfRange, -7},
             {"Tamsin", "99999999999999999999999", outOfRange, -7},
             {"Tamsin", "1", "", 1},
             {"Tamsin", "99", "", 99},
             {"   ", "09", "", 9}}) {
        int read = -7; // a refused input leaves it alone
        EXPECT_EQ(ValidateCharacterInput(name, clvlText, read), message) << clvlText;
        EXPECT_EQ(read, clvl) << clvlText;
    }
}

TEST(MessageFormat, InsertsPadsAndLeavesWhatItCannotUseAlone)
{
    EXPECT_EQ(FormatMessage(" %1:  Clvl requirement:  %2!i!", {std::string("Ash"), 13}),
              " Ash:  Clvl requirement:  13");
    EXPECT_EQ(FormatMessage("%2 before %1", {std::string("b"), std::string("a")}), "a before b");
    EXPECT_EQ(FormatMessage("%1!.2i! %2!.2i! %3!i! %4!.0i!", {123, -5, -1, 0}), "123 -05 -1 0");
    EXPECT_EQ(FormatMessage("%1!.32i!", {1}), std::string(31, '0') + "1");
    EXPECT_EQ(FormatMessage("%1!.33i!", {1}), "%1!.33i!"); // more than 32 digits: copied
    // Inserted text is never scanned; unusable references stay as they are.
    EXPECT_EQ(FormatMessage("%1!i!\r\n%2", {13, std::string("50%1!i!")}), "13\r\n50%1!i!");
    EXPECT_EQ(FormatMessage("%3 % %2 100%% sure", {std::string("a")}), "%3 % %2 100% sure");
    EXPECT_EQ(FormatMessage("%1!i! %2xi! %1!x!", {std::string("t"), 5}), "%1!i! %2xi! t!x!");
}

TEST(CodePage, DecodesOnlyWellFormedShortestUtf8)
{
    const std::vector<std::pair<std::string, std::optional<char32_t>>> cases{
        {"\xC2\x80", 0x80},     {"\xF0\x9F\x98\x80", 0x1F600}, {"\xC3\x41", std::nullopt},
        {"\xC3", std::nullopt}, {"\xC1\xBF", std::nullopt},    {"\xED\xA0\x80", std::nullopt},
        {"\xED\xBF\xBF", std::nullopt}, {"\xEE\x80\x80", 0xE000}}; // the surrogates' ends
    for (const auto& [text, expected] : cases) {
        std::size_t pos = 0;
        EXPECT_EQ(DecodeUtf8(text, pos), expected) << Printable(text);
    }
}

} // namespace
