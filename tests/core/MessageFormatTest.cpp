// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/MessageFormat.h"

#include <gtest/gtest.h>

using glyphmoor::FormatMessage;

TEST(MessageFormat, InsertsTextsAndIntegers)
{
    EXPECT_EQ(FormatMessage(" %1:  Clvl requirement:  %2!i!", {std::string("Ash"), 13}),
              " Ash:  Clvl requirement:  13");
    EXPECT_EQ(FormatMessage("%1!i!", {-1}), "-1");
    EXPECT_EQ(FormatMessage("%2 before %1", {std::string("b"), std::string("a")}), "a before b");
}

TEST(MessageFormat, PadsToTwoDigits)
{
    EXPECT_EQ(FormatMessage("%1!.2i!.%2!.2i!.20%3!.2i!", {11, 10, 1}), "11.10.2001");
    EXPECT_EQ(FormatMessage("%1!.2i!.%2!.2i!.20%3!.2i!", {5, 3, 0}), "05.03.2000");
    EXPECT_EQ(FormatMessage("%1!.2i!", {123}), "123");
    EXPECT_EQ(FormatMessage("%1!.2i!", {-5}), "-05");
    EXPECT_EQ(FormatMessage("%1!.0i!", {5}), "5");
    EXPECT_EQ(FormatMessage("%1!.32i!", {1}), std::string(31, '0') + "1");
    EXPECT_EQ(FormatMessage("%1!.33i!", {1}), "%1!.33i!"); // more than 32 digits: copied
}

TEST(MessageFormat, NeverScansInsertedText)
{
    EXPECT_EQ(FormatMessage("%1 and %2", {std::string("holds %2"), std::string("x")}), "holds %2 and x");
    EXPECT_EQ(FormatMessage("Clvl requirement: %1!i!\r\n\r\n%2", {13, std::string("50%1!i!")}),
              "Clvl requirement: 13\r\n\r\n50%1!i!");
}

TEST(MessageFormat, LeavesUnusableReferencesAlone)
{
    EXPECT_EQ(FormatMessage("%3 %", {std::string("a")}), "%3 %");
    EXPECT_EQ(FormatMessage("%2", {std::string("a")}), "%2");
    EXPECT_EQ(FormatMessage("100%% sure", {}), "100% sure");
    EXPECT_EQ(FormatMessage("%9", {1, 2, 3, 4, 5, 6, 7, 8, std::string("ninth")}), "ninth");
    EXPECT_EQ(FormatMessage("%1!i!", {std::string("text")}), "%1!i!");
    EXPECT_EQ(FormatMessage("%1!x!", {std::string("t")}), "t!x!");
}
