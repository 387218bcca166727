// SPDX-License-Identifier: GPL-3.0-or-later
// The character dialogs as typed into.
#include "GuiTestSupport.h"
#include "ui/CharacterDialogs.h"

#include <QLineEdit>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>

using gui_test::ScriptedPrompter;
using gui_test::Type;

namespace {

QLineEdit* Field(QDialog& dialog, int id)
{
    return dialog.findChild<QLineEdit*>(QString::number(id));
}

struct DialogKind {
    const char* label;
    int nameId;
    int clvlId;
    std::function<std::unique_ptr<CharacterDialog>(Prompter&)> make;
};

const DialogKind NewKind{"New", NewCharacterDialog::NameFieldId, NewCharacterDialog::ClvlFieldId,
                         [](Prompter& p) { return std::make_unique<NewCharacterDialog>(p); }};
const DialogKind EditKind{"Edit", EditCharacterDialog::NameFieldId, EditCharacterDialog::ClvlFieldId,
                          [](Prompter& p) { return std::make_unique<EditCharacterDialog>(p); }};

// Types into the empty fields and presses Enter, as a user does.
void TypeAndPressEnter(QDialog& dialog, const DialogKind& kind, const QString& name, const QString& clvl)
{
    Type(Field(dialog, kind.nameId), name);
    QTest::keyClick(Field(dialog, kind.nameId), Qt::Key_Tab);
    Type(Field(dialog, kind.clvlId), clvl);
    QTest::keyClick(Field(dialog, kind.clvlId), Qt::Key_Return);
}

struct ValidationCase {
    const char* label;
    QString name;
    QString clvl;
    std::string message; // empty: accepted, with this name and level
    std::string keptName;
    int clvlValue;
};

class CharacterDialogValidation : public testing::TestWithParam<std::tuple<DialogKind, ValidationCase>> {};

TEST_P(CharacterDialogValidation, EnterChecksTheFieldsInOrder)
{
    const auto& [kind, c] = GetParam();
    ScriptedPrompter prompter;
    auto dialog = kind.make(prompter);
    prompter.dialogs.push_back([&](QDialog& d) { TypeAndPressEnter(d, kind, c.name, c.clvl); });
    const bool accepted = prompter.RunDialog(*dialog);
    if (c.message.empty()) {
        EXPECT_TRUE(accepted);
        EXPECT_TRUE(prompter.shown.empty());
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
    EXPECT_EQ(Field(*dialog, kind.nameId)->text(), c.name);
    EXPECT_EQ(Field(*dialog, kind.clvlId)->text(), c.clvl);
}

const ValidationCase ValidationCases[] = {
    {"BlankThenDigit", "Tamsin", " 7", "", "Tamsin", 7},
    {"DigitThenLetter", "Tamsin", "7x", "Invalid character level", "", 0},
    {"Zero", "Tamsin", "0", "Clvl must be between 1 and 99", "", 0},
    {"TwoBlanks", "Tamsin", "  ", "Clvl must be between 1 and 99", "", 0},
    {"EmptyNameAndLevel", "", "", "You must enter a character name", "", 0},
    {"EmptyLevel", "Tamsin", "", "You must enter a character level", "", 0},
    {"NameOfBlanks", "   ", "99", "", "   ", 99},
    {"SixteenthByteRefused", "ABCDEFGHIJKLMNOP", "5", "", "ABCDEFGHIJKLMNO", 5},
    {"ThirdDigitRefused", "Tamsin", "123", "", "Tamsin", 12},
    {"Accented", "Ærö€ñ Œ", "64", "", "\xC6r\xF6\x80\xF1 \x8C", 64},
};

INSTANTIATE_TEST_SUITE_P(Table, CharacterDialogValidation,
                         testing::Combine(testing::Values(NewKind, EditKind),
                                          testing::ValuesIn(ValidationCases)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).label) + "_" +
                                    std::get<1>(info.param).label;
                         });

TEST(CharacterDialog, CharacterOutsideTheCodePageIsRefusedWithANote)
{
    ScriptedPrompter prompter;
    NewCharacterDialog dialog(prompter);
    prompter.dialogs.push_back([&](QDialog& d) {
        QLineEdit* name = Field(d, NewCharacterDialog::NameFieldId);
        Type(name, QString::fromUtf8("TaŁ")); // Polish L with stroke: not in Windows-1252
        EXPECT_TRUE(QToolTip::text().contains("can't be stored"));
        Type(name, QString::fromUtf8("m→sin")); // the arrow is refused, the rest kept
        name->insert(QString::fromUtf8("Ω"));   // a paste holding such a character is refused whole
        name->insert(QString(QChar(0x02)));     // ends a name in chars.dat
        QLineEdit* clvl = Field(d, NewCharacterDialog::ClvlFieldId);
        Type(clvl, QString::fromUtf8("٣8")); // an Arabic-Indic three is no code-page digit
        QTest::keyClick(clvl, Qt::Key_Return);
    });
    EXPECT_TRUE(prompter.RunDialog(dialog));
    EXPECT_EQ(std::make_pair(dialog.Name(), dialog.Clvl()), std::make_pair(std::string("Tamsin"), 8));
}

TEST(CharacterDialog, EscAndCloseBoxCancelOnlyWhenAllowed)
{
    for (const DialogKind& kind : {NewKind, EditKind}) {
        ScriptedPrompter prompter;
        auto dialog = kind.make(prompter);
        prompter.dialogs.push_back(
            [&](QDialog& d) { QTest::keyClick(Field(d, kind.nameId), Qt::Key_Escape); });
        prompter.dialogs.push_back([](QDialog& d) { d.close(); });
        EXPECT_FALSE(prompter.RunDialog(*dialog) || prompter.RunDialog(*dialog) || prompter.stillOpen)
            << kind.label;
    }
    ScriptedPrompter prompter;
    NewCharacterDialog dialog(prompter);
    dialog.SetAllowCancel(false);
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    prompter.dialogs.push_back([&](QDialog& d) {
        QTest::keyClick(Field(d, NewCharacterDialog::NameFieldId), Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
        EXPECT_FALSE(d.close());
        TypeAndPressEnter(d, NewKind, "Tamsin", "7x");
        QTest::keyClick(Field(d, NewCharacterDialog::ClvlFieldId), Qt::Key_Backspace);
        QTest::keyClick(Field(d, NewCharacterDialog::ClvlFieldId), Qt::Key_Enter, Qt::KeypadModifier);
    });
    EXPECT_TRUE(prompter.RunDialog(dialog));
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(dialog.Clvl(), 7);
    dialog.SetAllowCancel(true);
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

} // namespace
