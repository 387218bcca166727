// SPDX-License-Identifier: GPL-3.0-or-later
// Creating, editing, deleting and switching characters, and the About box.
#include "GuiTestSupport.h"

#include "ui/ControlIds.h"
#include "app/MainFrame.h"
#include "ui/MainPanel.h"
#include "ui/SelectList.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using namespace gui_test;
using glyphmoor::MessageAnswer;
using glyphmoor::MessageButtons;
using glyphmoor::MessageIcon;

namespace {

class Characters : public testing::Test {
protected:
    void SetUp() override { TestData::WriteAll(harness.files); }

    void StartWith(int count)
    {
        std::vector<CharacterSpec> roster;
        for (int i = 0; i < count; ++i)
            roster.push_back({"Char" + std::to_string(i), 1 + i % 99, {i % 33}, {i % 18}, i % 33, i % 18, 0});
        WriteRoster(harness.files, roster);
        harness.Start();
    }

    QString Row(int row) const { return harness.List(ids::CharacterList).GetItemText(row, 0); }

    Harness harness;
};

} // namespace

TEST_F(Characters, EmptyRosterAsksForAFirstCharacterBeforeTheWindowShows)
{
    harness.prompter.dialogs.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "New Character...");
        EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QTest::keyClick(&dialog, Qt::Key_Escape); // refused: no way out but OK
        EXPECT_TRUE(dialog.isVisible());
        TypeCharacter("Hero", "12")(dialog);
    });
    harness.Start();
    EXPECT_EQ(harness.prompter.dialogsRun, 1);
    EXPECT_EQ(harness.Panel().GetRoster().characterCount, 1);
    EXPECT_EQ(Row(0), "Hero");
    EXPECT_EQ(harness.File("chars.dat").size(), 71);
    EXPECT_TRUE(harness.prompter.shown.empty());
}

TEST_F(Characters, NewCharacterSavesTheOneLeftAndSelectsTheNewOne)
{
    StartWith(2);
    SelectList& runes = harness.List(ids::RuneList);
    Click(runes, StateIconPoint(runes, 9));
    harness.prompter.dialogs.push_back(TypeCharacter("Nova", "5"));
    harness.Command(ids::NewCharacterCommand);
    const QByteArray roster = harness.File("chars.dat");
    ASSERT_EQ(roster.size(), 3 * 71);
    EXPECT_EQ(roster[17 + 9], 1); // the left character's new tick is on disk
    EXPECT_EQ(roster.mid(2 * 71 + 2, 4), "Nova");
    EXPECT_EQ(harness.Panel().GetRoster().selectedCharacter, 2);
    EXPECT_EQ(harness.List(ids::CharacterList).GetFirstSelectedRow(), 2);
    EXPECT_EQ(runes.GetTick(9), 0);
    EXPECT_EQ(runes.GetFirstSelectedRow(), 0);
}

TEST_F(Characters, FullRosterRefusesWithoutADialog)
{
    StartWith(256);
    harness.Command(ids::NewCharacterCommand);
    EXPECT_EQ(harness.prompter.dialogsRun, 0);
    ASSERT_EQ(harness.prompter.shown.size(), 1u);
    EXPECT_EQ(harness.prompter.shown[0].message.caption, "Info...");
    EXPECT_EQ(harness.prompter.shown[0].message.text, "You can't have more that 256 characters");
    EXPECT_EQ(harness.prompter.shown[0].message.icon, MessageIcon::None);
}

TEST_F(Characters, DeletingAMiddleCharacterSelectsTheNextOne)
{
    StartWith(5);
    harness.Panel().SelectCharacter(2);
    harness.Command(ids::DeleteCharacterCommand);
    ASSERT_EQ(harness.prompter.shown.size(), 1u);
    const auto& question = harness.prompter.shown[0].message;
    EXPECT_EQ(question.caption, "Confirm...");
    EXPECT_EQ(question.text, "Are you sure you want to\ndelete this character:\n\nName:\tChar2\nClvl:\t3");
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.icon, MessageIcon::Question);

    EXPECT_EQ(Row(2), "Char3");
    EXPECT_EQ(harness.Panel().GetRoster().selectedCharacter, 2);
    const QByteArray roster = harness.File("chars.dat");
    ASSERT_EQ(roster.size(), 4 * 71);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(roster[k * 71], k);
    EXPECT_EQ(roster.mid(2 * 71 + 2, 5), "Char3");
    EXPECT_EQ(harness.List(ids::RuneList).GetTick(3), 1); // Char3's own tick
}

TEST_F(Characters, DeletingTheLastCharacterSelectsTheOneBefore)
{
    StartWith(5);
    harness.Panel().SelectCharacter(4);
    harness.Command(ids::DeleteCharacterCommand);
    EXPECT_EQ(harness.Panel().GetRoster().selectedCharacter, 3);
    EXPECT_EQ(harness.List(ids::CharacterList).GetFirstSelectedRow(), 3);
    EXPECT_EQ(harness.File("chars.dat").size(), 4 * 71);
}

TEST_F(Characters, AnsweringNoChangesNothing)
{
    StartWith(3);
    const QByteArray before = harness.File("chars.dat");
    harness.prompter.answers.push_back(MessageAnswer::No);
    harness.Command(ids::DeleteCharacterCommand);
    EXPECT_EQ(harness.Panel().GetRoster().characterCount, 3);
    EXPECT_EQ(harness.File("chars.dat"), before);
}

TEST_F(Characters, DeletingTheOnlyCharacterForcesANewOne)
{
    StartWith(1);
    harness.prompter.dialogs.push_back([this](QDialog& dialog) {
        EXPECT_EQ(harness.List(ids::CharacterList).GetRowCount(), 0);
        EXPECT_EQ(harness.List(ids::RunewordList).GetRowCount(), 0);
        EXPECT_EQ(harness.List(ids::RuneList).GetTick(0), 0);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible());
        TypeCharacter("Again", "3")(dialog);
    });
    harness.Command(ids::DeleteCharacterCommand);
    EXPECT_EQ(harness.Panel().GetRoster().characterCount, 1);
    EXPECT_EQ(Row(0), "Again");
    EXPECT_EQ(harness.List(ids::CharacterList).GetFirstSelectedRow(), 0);
    const QByteArray roster = harness.File("chars.dat");
    ASSERT_EQ(roster.size(), 71);
    EXPECT_EQ(roster.mid(2, 5), "Again");
}

TEST_F(Characters, EditChangesTheRowButNotTheFile)
{
    WriteRoster(harness.files, {{"Anna", 50, {}, {}, 0, 0, 0}});
    harness.Start();
    const QByteArray before = harness.File("chars.dat");
    harness.prompter.dialogs.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Edit Character...");
        TypeCharacter("Anna", "10")(dialog);
    });
    harness.Command(ids::EditCharacterCommand);
    EXPECT_EQ(harness.List(ids::CharacterList).GetItemText(0, 1), "10");
    EXPECT_EQ(harness.File("chars.dat"), before);
    EXPECT_EQ(static_cast<unsigned char>(before[1]), 50);
}

TEST_F(Characters, SwitchingBackRestoresTicksAndHighlights)
{
    StartWith(2);
    SelectList& runes = harness.List(ids::RuneList);
    SelectList& items = harness.List(ids::ItemList);
    Click(runes, StateIconPoint(runes, 20));
    Click(items, LabelPoint(items, 7));
    Click(items, StateIconPoint(items, 7));
    SelectList& characters = harness.List(ids::CharacterList);
    Click(characters, LabelPoint(characters, 1));
    EXPECT_EQ(harness.Panel().GetRoster().selectedCharacter, 1);
    EXPECT_EQ(runes.GetTick(20), 0);
    EXPECT_EQ(runes.GetTick(1), 1);
    Click(characters, LabelPoint(characters, 0));
    EXPECT_EQ(runes.GetTick(20), 1);
    EXPECT_EQ(runes.GetTick(0), 1);
    EXPECT_EQ(items.GetTick(7), 1);
    EXPECT_EQ(runes.GetFirstSelectedRow(), 20);
    EXPECT_EQ(items.GetFirstSelectedRow(), 7);
}

TEST_F(Characters, ClickBelowTheRowsKeepsTheCharacter)
{
    StartWith(3);
    SelectList& characters = harness.List(ids::CharacterList);
    Click(characters, LabelPoint(characters, 1));
    Click(characters, QPoint(40, 100));
    EXPECT_EQ(characters.GetFirstSelectedRow(), 1);
    EXPECT_EQ(harness.Panel().GetRoster().selectedCharacter, 1);
}

TEST_F(Characters, UnwritableRosterIsReportedAndWorkGoesOn)
{
    StartWith(2);
    // The name chars.dat taken by a folder: nothing can replace it.
    QFile::remove(harness.dir.filePath("chars.dat"));
    QDir(harness.dir.path()).mkdir("chars.dat");
    SelectList& characters = harness.List(ids::CharacterList);
    Click(characters, LabelPoint(characters, 1));
    EXPECT_EQ(harness.Panel().GetRoster().selectedCharacter, 1);
    ASSERT_FALSE(harness.prompter.shown.empty());
    EXPECT_EQ(harness.prompter.shown.back().message.text, "Error creating/loading file: 'chars.dat'");
}

TEST_F(Characters, AboutBoxReadsTheDatesAfresh)
{
    StartWith(1);
    harness.files.Remove("items.dat");
    harness.files.Replace("runes.dat", glyphmoor::Bytes{5, 3, 1});
    QStringList texts;
    harness.prompter.dialogs.push_back([&texts](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "About the Glyphmoor...");
        for (int id : {1005, 1007, 1008})
            texts << dialog.findChild<QLabel*>(QString::number(id))->text();
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    harness.Command(ids::AboutCommand);
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts[0], "Rune Datafile - Updated: 05.03.2001");
    EXPECT_EQ(texts[1], "File not found");
    EXPECT_EQ(texts[2], "Runeword Datafile - Updated: 13.10.2001");
}
