// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CharacterInput.h"

#include <gtest/gtest.h>

#include <string>

using glyphmoor::ValidateCharacterInput;

namespace {

constexpr int Untouched = -7;

struct InputCase {
    const char* label;
    std::string name;
    std::string clvlText;
    std::string message; // empty: accepted
    int clvl;            // the level when accepted
};

const std::string NoName = "You must enter a character name";
const std::string NoLevel = "You must enter a character level";
const std::string Invalid = "Invalid character level";
const std::string OutOfRange = "Clvl must be between 1 and 99";

class CharacterInputTest : public testing::TestWithParam<InputCase> {};

TEST_P(CharacterInputTest, GivesFirstFailingCheckOrTheLevel)
{
    const InputCase& c = GetParam();
    int clvl = Untouched;
    EXPECT_EQ(ValidateCharacterInput(c.name, c.clvlText, clvl), c.message);
    // A refused input leaves the caller's level alone.
    EXPECT_EQ(clvl, c.message.empty() ? c.clvl : Untouched);
}

const InputCase Cases[] = {
    {"EmptyNameBeforeEmptyLevel", "", "", NoName, 0},
    {"EmptyNameWithGoodLevel", "", "12", NoName, 0},
    {"EmptyNameBeforeBadLevel", "", "7x", NoName, 0},
    {"EmptyLevel", "Tamsin", "", NoLevel, 0},
    {"BlankThenDigit", "Tamsin", " 7", "", 7},
    {"DigitThenBlank", "Tamsin", "7 ", "", 7},
    {"TabAroundDigits", "Tamsin", "\t42\t", "", 42},
    {"DigitThenLetter", "Tamsin", "7x", Invalid, 0},
    {"LetterOnly", "Tamsin", "x", Invalid, 0},
    {"BlankInsideDigits", "Tamsin", "4 2", Invalid, 0},
    {"MinusSign", "Tamsin", "-1", Invalid, 0},
    {"PlusSign", "Tamsin", "+5", Invalid, 0},
    {"HighByteDigitLookalike", "Tamsin", "\xB2", Invalid, 0},
    {"Zero", "Tamsin", "0", OutOfRange, 0},
    {"TwoZeros", "Tamsin", "00", OutOfRange, 0},
    {"OneBlank", "Tamsin", " ", OutOfRange, 0},
    {"TwoBlanks", "Tamsin", "  ", OutOfRange, 0},
    {"Hundred", "Tamsin", "100", OutOfRange, 0},
    {"HugeNumberDoesNotOverflow", "Tamsin", "99999999999999999999999", OutOfRange, 0},
    {"LowestLevel", "Tamsin", "1", "", 1},
    {"HighestLevel", "Tamsin", "99", "", 99},
    {"LeadingZero", "Tamsin", "09", "", 9},
    {"NameOfBlanksIsKept", "   ", "5", "", 5},
    {"NameOfOneByte", "Q", "30", "", 30},
    {"NameWithCodePageLetters", "\xC6r\xF6\x80", "64", "", 64},
};

INSTANTIATE_TEST_SUITE_P(Table, CharacterInputTest, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<InputCase>& info) { return info.param.label; });

} // namespace
