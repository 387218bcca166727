// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutDialog.h"
#include "ui/CharacterDialogs.h"
#include "ui/Prompter.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "ui/UiFont.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

using glyphmoor::Message;
using glyphmoor::MessageAnswer;
using glyphmoor::MessageButtons;
using glyphmoor::MessageIcon;

namespace {

using gui_test::ScriptedPrompter;
using gui_test::Type;

QLineEdit* Field(QDialog& dialog, int id)
{
    auto* field = dialog.findChild<QLineEdit*>(QString::number(id));
    EXPECT_NE(field, nullptr) << "no field " << id;
    return field;
}

QString LineText(QDialog& dialog, int id)
{
    auto* label = dialog.findChild<QLabel*>(QString::number(id));
    EXPECT_NE(label, nullptr) << "no line " << id;
    return label ? label->text() : QString();
}

// The two dialogs, so a test can run against either.
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

// Types a name and a level into the empty fields and presses Enter, the way
// a user does.
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
    std::string message; // empty: accepted
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
        EXPECT_EQ(dialog->Clvl(), c.clvlValue);
        EXPECT_EQ(dialog->Name(), c.name.toStdString());
        EXPECT_EQ(dialog->ClvlText(), c.clvl.toStdString());
        return;
    }
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(prompter.stillOpen);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].owner, dialog.get());
    EXPECT_EQ(prompter.shown[0].message,
              (Message{"Error...", c.message, MessageIcon::None, MessageButtons::Ok}));
    // The user's text stays in place for correcting.
    EXPECT_EQ(Field(*dialog, kind.nameId)->text(), c.name);
    EXPECT_EQ(Field(*dialog, kind.clvlId)->text(), c.clvl);
}

const ValidationCase ValidationCases[] = {
    {"BlankThenDigit", "Tamsin", " 7", "", 7},
    {"DigitThenLetter", "Tamsin", "7x", "Invalid character level", 0},
    {"Zero", "Tamsin", "0", "Clvl must be between 1 and 99", 0},
    {"TwoBlanks", "Tamsin", "  ", "Clvl must be between 1 and 99", 0},
    {"EmptyNameAndLevel", "", "", "You must enter a character name", 0},
    {"EmptyLevel", "Tamsin", "", "You must enter a character level", 0},
    {"NameOfBlanks", "   ", "99", "", 99},
};

INSTANTIATE_TEST_SUITE_P(Table, CharacterDialogValidation,
                         testing::Combine(testing::Values(NewKind, EditKind),
                                          testing::ValuesIn(ValidationCases)),
                         [](const testing::TestParamInfo<std::tuple<DialogKind, ValidationCase>>& info) {
                             return std::string(std::get<0>(info.param).label) + "_" +
                                    std::get<1>(info.param).label;
                         });

TEST(CharacterDialog, CorrectedInputIsAcceptedOnTheNextEnter)
{
    ScriptedPrompter prompter;
    NewCharacterDialog dialog(prompter);
    prompter.dialogs.push_back([&](QDialog& d) {
        TypeAndPressEnter(d, NewKind, "Tamsin", "7x");
        ASSERT_TRUE(d.isVisible());
        QLineEdit* clvl = Field(d, NewCharacterDialog::ClvlFieldId);
        QTest::keyClick(clvl, Qt::Key_Backspace);
        QTest::keyClick(clvl, Qt::Key_Enter, Qt::KeypadModifier);
    });
    EXPECT_TRUE(prompter.RunDialog(dialog));
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(dialog.Name(), "Tamsin");
    EXPECT_EQ(dialog.Clvl(), 7);
}

TEST(CharacterDialog, NameFieldRefusesASixteenthByte)
{
    ScriptedPrompter prompter;
    NewCharacterDialog dialog(prompter);
    prompter.dialogs.push_back([&](QDialog& d) { TypeAndPressEnter(d, NewKind, "ABCDEFGHIJKLMNOP", "5"); });
    EXPECT_TRUE(prompter.RunDialog(dialog));
    EXPECT_EQ(dialog.Name(), "ABCDEFGHIJKLMNO");
}

TEST(CharacterDialog, ClvlFieldRefusesAThirdCharacter)
{
    ScriptedPrompter prompter;
    NewCharacterDialog dialog(prompter);
    prompter.dialogs.push_back([&](QDialog& d) { TypeAndPressEnter(d, NewKind, "Tamsin", "123"); });
    EXPECT_TRUE(prompter.RunDialog(dialog));
    EXPECT_EQ(dialog.ClvlText(), "12");
    EXPECT_EQ(dialog.Clvl(), 12);
}

TEST(CharacterDialog, CharacterOutsideTheCodePageIsRefusedWithANote)
{
    ScriptedPrompter prompter;
    NewCharacterDialog dialog(prompter);
    prompter.dialogs.push_back([&](QDialog& d) {
        QLineEdit* name = Field(d, NewCharacterDialog::NameFieldId);
        Type(name, QString::fromUtf8("Ta"));
        Type(name, QString::fromUtf8("Ł")); // Polish L with stroke: not in Windows-1252
        EXPECT_EQ(name->text(), "Ta");
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_TRUE(QToolTip::text().contains("can't be stored"));
        QToolTip::hideText();
        Type(name, QString::fromUtf8("m→sin")); // the arrow is refused, the rest kept
        // A paste holding such a character is refused whole.
        name->insert(QString::fromUtf8("Ω"));
        name->insert(QString(QChar(0x02))); // ends a name in chars.dat
        EXPECT_EQ(name->text(), "Tamsin");
        QLineEdit* clvl = Field(d, NewCharacterDialog::ClvlFieldId);
        Type(clvl, QString::fromUtf8("٣")); // an Arabic-Indic three is no code-page digit
        Type(clvl, "8");
        EXPECT_EQ(clvl->text(), "8");
        QTest::keyClick(clvl, Qt::Key_Return);
    });
    EXPECT_TRUE(prompter.RunDialog(dialog));
    EXPECT_EQ(dialog.Name(), "Tamsin");
    EXPECT_EQ(dialog.Clvl(), 8);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(CharacterDialog, AccentedNameRoundTripsToItsExactBytes)
{
    ScriptedPrompter prompter;
    NewCharacterDialog typed(prompter);
    prompter.dialogs.push_back([&](QDialog& d) { TypeAndPressEnter(d, NewKind, QString::fromUtf8("Ærö€ñ Œ"), "64"); });
    ASSERT_TRUE(prompter.RunDialog(typed));
    EXPECT_EQ(typed.Name(), "\xC6r\xF6\x80\xF1 \x8C");

    // The stored bytes come back unchanged through the edit dialog, all the
    // code page's upper half included.
    for (const std::string& bytes :
         {typed.Name(), std::string("\x80\x8A\x9F\xA0\xFF"), std::string("\x81\x8D\x8F\x90\x9D")}) {
        EditCharacterDialog edit(prompter);
        edit.SetName(bytes);
        edit.SetClvlText("64");
        prompter.dialogs.push_back([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Return); });
        ASSERT_TRUE(prompter.RunDialog(edit));
        EXPECT_EQ(edit.Name(), bytes);
        EXPECT_EQ(edit.Clvl(), 64);
    }
}

TEST(CharacterDialog, NameWithAControlByteFromTheFileCanStillBeEdited)
{
    ScriptedPrompter prompter;
    EditCharacterDialog dialog(prompter);
    dialog.SetName("Ka\x01");
    dialog.SetClvlText("3");
    prompter.dialogs.push_back([&](QDialog& d) {
        QLineEdit* name = Field(d, EditCharacterDialog::NameFieldId);
        name->end(false);
        Type(name, "e");
        name->insert(QString(QChar(0x03))); // a new control character is still refused
        QTest::keyClick(name, Qt::Key_Return);
    });
    ASSERT_TRUE(prompter.RunDialog(dialog));
    EXPECT_EQ(dialog.Name(), "Ka\x01"
                             "e");
}

TEST(CharacterDialog, EditStartsWithTheCharacterAndTypingReplacesIt)
{
    ScriptedPrompter prompter;
    EditCharacterDialog dialog(prompter);
    dialog.SetName("Tamsin");
    dialog.SetClvlText("50");
    prompter.dialogs.push_back([&](QDialog& d) {
        EXPECT_EQ(Field(d, EditCharacterDialog::NameFieldId)->text(), "Tamsin");
        // The name field has the focus with its text selected.
        Type(Field(d, EditCharacterDialog::NameFieldId), "Orla");
        QTest::keyClick(Field(d, EditCharacterDialog::NameFieldId), Qt::Key_Tab);
        Type(Field(d, EditCharacterDialog::ClvlFieldId), "10");
        QTest::keyClick(Field(d, EditCharacterDialog::ClvlFieldId), Qt::Key_Return);
    });
    ASSERT_TRUE(prompter.RunDialog(dialog));
    EXPECT_EQ(dialog.Name(), "Orla");
    EXPECT_EQ(dialog.Clvl(), 10);
}

TEST(CharacterDialog, EscAndCloseBoxCancelWhenAllowed)
{
    for (const DialogKind& kind : {NewKind, EditKind}) {
        SCOPED_TRACE(kind.label);
        ScriptedPrompter prompter;
        auto dialog = kind.make(prompter);
        prompter.dialogs.push_back([&](QDialog& d) {
            Type(Field(d, kind.nameId), "Tamsin");
            QTest::keyClick(Field(d, kind.nameId), Qt::Key_Escape);
        });
        EXPECT_FALSE(prompter.RunDialog(*dialog));
        EXPECT_FALSE(prompter.stillOpen);

        prompter.dialogs.push_back([](QDialog& d) { d.close(); });
        EXPECT_FALSE(prompter.RunDialog(*dialog));
        EXPECT_FALSE(prompter.stillOpen);
        EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        EXPECT_TRUE(prompter.shown.empty());
    }
}

TEST(CharacterDialog, WithoutCancelOnlyAValidOkLeaves)
{
    ScriptedPrompter prompter;
    NewCharacterDialog dialog(prompter);
    dialog.SetAllowCancel(false);
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowSystemMenuHint));
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowTitleHint));

    prompter.dialogs.push_back([&](QDialog& d) {
        QTest::keyClick(Field(d, NewCharacterDialog::NameFieldId), Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
        EXPECT_FALSE(d.close());
        EXPECT_TRUE(d.isVisible());
        TypeAndPressEnter(d, NewKind, "", "");
        EXPECT_TRUE(d.isVisible());
        Type(Field(d, NewCharacterDialog::NameFieldId), "Tamsin");
        QTest::keyClick(Field(d, NewCharacterDialog::ClvlFieldId), Qt::Key_Return);
        EXPECT_TRUE(d.isVisible()); // still no level
        Type(Field(d, NewCharacterDialog::ClvlFieldId), "1");
        QTest::keyClick(Field(d, NewCharacterDialog::ClvlFieldId), Qt::Key_Return);
    });
    EXPECT_TRUE(prompter.RunDialog(dialog));
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].message.text, "You must enter a character name");
    EXPECT_EQ(prompter.shown[1].message.text, "You must enter a character level");
    EXPECT_EQ(dialog.Name(), "Tamsin");
    EXPECT_EQ(dialog.Clvl(), 1);

    dialog.SetAllowCancel(true);
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    prompter.dialogs.push_back([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_FALSE(prompter.RunDialog(dialog));
    EXPECT_FALSE(prompter.stillOpen);
}

// The About box.

glyphmoor::Bytes Date(std::uint8_t day, std::uint8_t month, std::uint8_t year)
{
    return {day, month, year, 0x21, 0x00};
}

class AboutDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        files.files["runes.dat"] = Date(5, 3, 1);
        files.files["items.dat"] = Date(0, 7, 12);
        files.files["runewords.dat"] = Date(11, 10, 1);
    }

    // Opens the box, closes it with `key`; true when it closed.
    bool OpenAndClose(AboutDialog& dialog, Qt::Key key)
    {
        prompter.dialogs.push_back([key](QDialog& d) { QTest::keyClick(&d, key); });
        prompter.RunDialog(dialog);
        return !prompter.stillOpen;
    }

    glyphmoor::test::MemoryFiles files;
    ScriptedPrompter prompter;
};

TEST_F(AboutDialogTest, ShowsEachFilesDateWithLeadingZeros)
{
    AboutDialog dialog(files);
    ASSERT_TRUE(OpenAndClose(dialog, Qt::Key_Escape));
    EXPECT_EQ(LineText(dialog, 1005), "Rune Datafile - Updated: 05.03.2001");
    EXPECT_EQ(LineText(dialog, 1007), "Item Datafile - Updated: 00.07.2012");
    EXPECT_EQ(LineText(dialog, 1008), "Runeword Datafile - Updated: 11.10.2001");
    EXPECT_EQ(dialog.DateTexts()[0], "Rune Datafile - Updated: 05.03.2001");
}

TEST_F(AboutDialogTest, MissingFileShowsFileNotFoundOnItsLineOnly)
{
    files.files.erase("items.dat");
    AboutDialog dialog(files);
    ASSERT_TRUE(OpenAndClose(dialog, Qt::Key_Escape));
    EXPECT_EQ(LineText(dialog, 1005), "Rune Datafile - Updated: 05.03.2001");
    EXPECT_EQ(LineText(dialog, 1007), "File not found");
    EXPECT_EQ(LineText(dialog, 1008), "Runeword Datafile - Updated: 11.10.2001");
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(AboutDialogTest, UnreadableOrShortFileSaysSo)
{
    files.unreadable.insert("runes.dat");
    files.files["items.dat"] = {4, 4};
    files.files["runewords.dat"] = {};
    AboutDialog dialog(files);
    ASSERT_TRUE(OpenAndClose(dialog, Qt::Key_Escape));
    EXPECT_EQ(LineText(dialog, 1005), "File not found");
    EXPECT_EQ(LineText(dialog, 1007), "Item Datafile - Updated: unknown (file too short)");
    EXPECT_EQ(LineText(dialog, 1008), "Runeword Datafile - Updated: unknown (file too short)");
}

TEST_F(AboutDialogTest, EnterEscAndCloseBoxCloseIt)
{
    AboutDialog dialog(files);
    EXPECT_TRUE(OpenAndClose(dialog, Qt::Key_Return));
    EXPECT_TRUE(OpenAndClose(dialog, Qt::Key_Enter));
    EXPECT_TRUE(OpenAndClose(dialog, Qt::Key_Escape));
    prompter.dialogs.push_back([](QDialog& d) { d.close(); });
    prompter.RunDialog(dialog);
    EXPECT_FALSE(prompter.stillOpen);
    EXPECT_FALSE(OpenAndClose(dialog, Qt::Key_A));
}

} // namespace
