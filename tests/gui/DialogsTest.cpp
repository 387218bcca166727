// SPDX-License-Identifier: GPL-3.0-or-later
// The character dialogs as typed into.
#include "GuiTestSupport.h"
#include "ui/CharacterDialogs.h"

#include <QLineEdit>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>
#include <string>

using gui_test::ScriptedPrompter;
using gui_test::Type;

namespace {

// Types into the fields, name then Clvl, and presses Enter, as a user does.
void TypeAndPressEnter(QDialog& dialog, const QString& name, const QString& clvl)
{
    const auto fields = dialog.findChildren<QLineEdit*>();
    Type(fields[0], name);
    QTest::keyClick(fields[0], Qt::Key_Tab);
    Type(fields[1], clvl);
    QTest::keyClick(fields[1], Qt::Key_Return);
}

struct ValidationCase {
    const char* label;
    bool edit; // the Edit dialog, else the New one
    QString name;
    QString clvl;
    std::string message; // empty: accepted, with this name and level
    std::string keptName;
    int clvlValue;
};

class CharacterDialogValidation : public testing::TestWithParam<ValidationCase> {};

TEST_P(CharacterDialogValidation, EnterChecksTheFieldsInOrder)
{
    const ValidationCase& c = GetParam();
    ScriptedPrompter prompter;
    std::unique_ptr<CharacterDialog> dialog;
    if (c.edit)
        dialog = std::make_unique<EditCharacterDialog>(prompter);
    else
        dialog = std::make_unique<NewCharacterDialog>(prompter);
    prompter.dialogs.push_back([&](QDialog& d) { TypeAndPressEnter(d, c.name, c.clvl); });
    const bool accepted = prompter.RunDialog(*dialog);
    if (c.message.empty()) {
        EXPECT_TRUE(accepted && prompter.shown.empty());
        EXPECT_EQ(std::make_pair(dialog->Name(), dialog->Clvl()), std::make_pair(c.keptName, c.clvlValue));
        return;
    }
    EXPECT_TRUE(prompter.stillOpen);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].owner, dialog.get());
    EXPECT_EQ(prompter.shown[0].message,
              (glyphmoor::Message{"Error...", c.message, glyphmoor::MessageIcon::None,
                                  glyphmoor::MessageButtons::Ok}));
    // The user's text stays in place for correcting.
    const auto fields = dialog->findChildren<QLineEdit*>();
    EXPECT_EQ(std::make_pair(fields[0]->text(), fields[1]->text()), std::make_pair(c.name, c.clvl));
}

INSTANTIATE_TEST_SUITE_P(
    Table, CharacterDialogValidation,
    testing::Values(
        ValidationCase{"BlankThenDigit", false, "Tamsin", " 7", "", "Tamsin", 7},
        ValidationCase{"DigitThenLetter", true, "Tamsin", "7x", "Invalid character level", "", 0},
        ValidationCase{"Zero", false, "Tamsin", "0", "Clvl must be between 1 and 99", "", 0},
        ValidationCase{"TwoBlanks", true, "Tamsin", "  ", "Clvl must be between 1 and 99", "", 0},
        ValidationCase{"EmptyNameAndLevel", false, "", "", "You must enter a character name", "", 0},
        ValidationCase{"EmptyLevel", true, "Tamsin", "", "You must enter a character level", "", 0},
        ValidationCase{"NameOfBlanks", false, "   ", "99", "", "   ", 99},
        ValidationCase{"SixteenthByteRefused", false, "ABCDEFGHIJKLMNOP", "5", "", "ABCDEFGHIJKLMNO", 5},
        ValidationCase{"EditSixteenthByteRefused", true, "ABCDEFGHIJKLMNOP", "5", "", "ABCDEFGHIJKLMNO", 5},
        ValidationCase{"ThirdDigitRefused", true, "Tamsin", "123", "", "Tamsin", 12},
        ValidationCase{"Accented", false, "Ærö€ñ Œ", "64", "", "\xC6r\xF6\x80\xF1 \x8C", 64}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(CharacterDialog, CharacterOutsideTheCodePageIsRefusedWithANote)
{
    ScriptedPrompter prompter;
    NewCharacterDialog dialog(prompter);
    prompter.dialogs.push_back([&](QDialog& d) {
        QLineEdit* name = d.findChildren<QLineEdit*>()[0];
        Type(name, QString::fromUtf8("TaŁ")); // Polish L with stroke: not in Windows-1252
        EXPECT_TRUE(QToolTip::text().contains("can't be stored"));
        Type(name, QString::fromUtf8("m→sin")); // the arrow is refused, the rest kept
        name->insert(QString::fromUtf8("Ω"));   // a paste holding such a character is refused whole
        name->insert(QString(QChar(0x02)));     // ends a name in chars.dat
        QLineEdit* clvl = d.findChildren<QLineEdit*>()[1];
        Type(clvl, QString::fromUtf8("٣8")); // an Arabic-Indic three is no code-page digit
        QTest::keyClick(clvl, Qt::Key_Return);
    });
    EXPECT_TRUE(prompter.RunDialog(dialog));
    EXPECT_EQ(std::make_pair(dialog.Name(), dialog.Clvl()), std::make_pair(std::string("Tamsin"), 8));
}

TEST(CharacterDialog, EscAndCloseBoxCancelOnlyWhenAllowed)
{
    ScriptedPrompter prompter;
    EditCharacterDialog edit(prompter);
    prompter.dialogs.push_back(
        [](QDialog& d) { QTest::keyClick(d.findChildren<QLineEdit*>()[0], Qt::Key_Escape); });
    prompter.dialogs.push_back([](QDialog& d) { d.close(); });
    EXPECT_FALSE(prompter.RunDialog(edit) || prompter.RunDialog(edit) || prompter.stillOpen);
    NewCharacterDialog dialog(prompter);
    dialog.SetAllowCancel(false);
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    prompter.dialogs.push_back([&](QDialog& d) {
        QTest::keyClick(d.findChildren<QLineEdit*>()[0], Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
        EXPECT_FALSE(d.close());
        TypeAndPressEnter(d, "Tamsin", "7x");
        QTest::keyClick(d.findChildren<QLineEdit*>()[1], Qt::Key_Backspace);
        QTest::keyClick(d.findChildren<QLineEdit*>()[1], Qt::Key_Enter, Qt::KeypadModifier);
    });
    EXPECT_TRUE(prompter.RunDialog(dialog));
    EXPECT_EQ(std::make_pair(prompter.shown.size(), dialog.Clvl()), std::make_pair(std::size_t{1}, 7));
    dialog.SetAllowCancel(true);
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

} // namespace
