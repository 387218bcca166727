// SPDX-License-Identifier: GPL-3.0-or-later
// The character dialog's check, the message texts and UTF-8 decoding.
#include "core/CharacterInput.h"
#include "core/CodePage.h"
#include "core/MessageFormat.h"

#include <gtest/gtest.h>

using namespace glyphmoor;

namespace {

struct InputCase {
    std::string name, clvlText;
    std::string message; // empty: accepted
    int clvl;            // as the caller's variable ends
};

class CharacterInput : public testing::TestWithParam<InputCase> {};

TEST_P(CharacterInput, GivesTheFirstFailingCheckOrTheLevel)
{
    int clvl = -7; // a refused input leaves it alone
    EXPECT_EQ(ValidateCharacterInput(GetParam().name, GetParam().clvlText, clvl), GetParam().message);
    EXPECT_EQ(clvl, GetParam().clvl);
}

const std::string NoName = "You must enter a character name";
const std::string Invalid = "Invalid character level";
const std::string OutOfRange = "Clvl must be between 1 and 99";
INSTANTIATE_TEST_SUITE_P(
    Table, CharacterInput,
    testing::Values(InputCase{"", "", NoName, -7}, InputCase{"", "12", NoName, -7},
                    InputCase{"Tamsin", "", "You must enter a character level", -7},
                    InputCase{"Tamsin", " 7", "", 7}, InputCase{"Tamsin", "7 ", "", 7},
                    InputCase{"Tamsin", "\t42\t", "", 42}, InputCase{"Tamsin", "7x", Invalid, -7},
                    InputCase{"Tamsin", "4 2", Invalid, -7}, InputCase{"Tamsin", "-1", Invalid, -7},
                    InputCase{"Tamsin", "+5", Invalid, -7}, InputCase{"Tamsin", "\xB2", Invalid, -7},
                    InputCase{"Tamsin", "0", OutOfRange, -7}, InputCase{"Tamsin", " ", OutOfRange, -7},
                    InputCase{"Tamsin", "100", OutOfRange, -7},
                    InputCase{"Tamsin", "99999999999999999999999", OutOfRange, -7},
                    InputCase{"Tamsin", "1", "", 1}, InputCase{"Tamsin", "99", "", 99},
                    InputCase{"   ", "09", "", 9}, InputCase{"\xC6r\xF6\x80", "64", "", 64}));

TEST(MessageFormat, InsertsPadsAndLeavesWhatItCannotUseAlone)
{
    EXPECT_EQ(FormatMessage(" %1:  Clvl requirement:  %2!i!", {std::string("Ash"), 13}),
              " Ash:  Clvl requirement:  13");
    EXPECT_EQ(FormatMessage("%2 before %1", {std::string("b"), std::string("a")}), "a before b");
    EXPECT_EQ(FormatMessage("%1!.2i!.%2!.2i!.20%3!.2i!", {5, 3, 0}), "05.03.2000");
    EXPECT_EQ(FormatMessage("%1!.2i! %2!.2i! %3!i! %4!.0i!", {123, -5, -1, 5}), "123 -05 -1 5");
    EXPECT_EQ(FormatMessage("%1!.32i!", {1}), std::string(31, '0') + "1");
    EXPECT_EQ(FormatMessage("%1!.33i!", {1}), "%1!.33i!"); // more than 32 digits: copied
    // Inserted text is never scanned; unusable references stay as they are.
    EXPECT_EQ(FormatMessage("%1 and %2", {std::string("holds %2"), std::string("x")}), "holds %2 and x");
    EXPECT_EQ(FormatMessage("%1!i!\r\n%2", {13, std::string("50%1!i!")}), "13\r\n50%1!i!");
    EXPECT_EQ(FormatMessage("%3 % %2", {std::string("a")}), "%3 % %2");
    EXPECT_EQ(FormatMessage("100%% sure", {}), "100% sure");
    EXPECT_EQ(FormatMessage("%9", {1, 2, 3, 4, 5, 6, 7, 8, std::string("ninth")}), "ninth");
    EXPECT_EQ(FormatMessage("%1!i! %2xi!", {std::string("text"), 5}), "%1!i! %2xi!");
    EXPECT_EQ(FormatMessage("%1!x!", {std::string("t")}), "t!x!");
}

TEST(CodePage, DecodesOnlyWellFormedShortestUtf8)
{
    for (const auto& [text, expected] :
         std::vector<std::pair<std::string, std::optional<char32_t>>>{{"\xC2\x80", 0x80},
                                                                      {"\xF0\x9F\x98\x80", 0x1F600},
                                                                      {"\xC3"
                                                                       "A",
                                                                       std::nullopt},
                                                                      {"\xC3", std::nullopt},
                                                                      {"\xC1\xBF", std::nullopt},
                                                                      {"\xED\xA0\x80", std::nullopt}}) {
        std::size_t pos = 0;
        EXPECT_EQ(DecodeUtf8(text, pos), expected) << Printable(text);
    }
}

} // namespace
