// SPDX-License-Identifier: GPL-3.0-or-later
// Creating, editing, deleting and switching characters, and the character dialogs as typed into.
#include "GuiTestSupport.h"

#include "ui/CharacterDialogs.h"

#include <QToolTip>

using namespace gui_test;

namespace {

class Characters : public testing::Test {
protected:
    void StartWith(int count)
    {
        std::vector<RosterEntry> roster;
        for (int i = 0; i < count; ++i)
            roster.push_back({"Char" + std::to_string(i), 1 + i % 99, {i % 33}, {i % 18}, i % 33, i % 18, 0});
        CopyDataFiles(harness.dir.path());
        WriteRoster(harness.files, roster);
        harness.Start();
    }

    QString Row(int row, int col = 0) const { return harness.List(ids::CharacterList).GetItemText(row, col); }
    int Selected() const { return harness.Panel().GetSession().GetRoster().selectedCharacter; }

    Harness harness;
};

// A dialog that refuses Esc, then takes a character.
ScriptedPrompter::DialogScript Forced(const QString& name)
{
    return [name](QDialog& dialog) {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible());
        TypeCharacter(name, "12")(dialog);
    };
}

} // namespace

TEST_F(Characters, AnEmptyRosterGetsAFirstCharacterBeforeTheWindowShowsAndAfterTheLastGoes)
{
    harness.prompter.dialogs.push_back(Forced("Hero"));
    StartWith(0);
    EXPECT_EQ(Row(0), "Hero");
    SelectList& items = harness.List(ids::ItemList);
    Click(items, LabelPoint(items, 7));
    harness.Press("All Runes");
    harness.Press("All Items");
    harness.prompter.dialogs.push_back([&](QDialog& dialog) { // behind the dialog, the lists start afresh
        EXPECT_EQ(std::make_tuple(harness.List(ids::RuneList).GetFirstSelectedRow(), items.GetFirstSelectedRow(),
                                  items.GetSelectionMark(), items.GetTick(0), harness.List(ids::RuneList).GetTick(0)),
                  std::make_tuple(0, 0, 0, 0, 0));
        EXPECT_EQ(std::make_tuple(harness.List(ids::RunewordList).GetRowCount(),
                                  harness.List(ids::CharacterList).GetRowCount(), harness.Pane(0), harness.Pane(1)),
                  std::make_tuple(0, 0, QString(" Mel0:  Max possible sockets:  2"),
                                  QString(" R00:  Clvl requirement:  1")));
        Forced("Again")(dialog);
    });
    harness.Command(ids::DeleteCharacterCommand);
    EXPECT_EQ(std::make_pair(Row(0), harness.List(ids::CharacterList).GetFirstSelectedRow()),
              std::make_pair(QString("Again"), 0));
    EXPECT_EQ(harness.File("chars.dat").mid(2, 5), "Again");
    EXPECT_EQ(harness.prompter.shown.size(), 1u); // the question only
}

TEST_F(Characters, AFullRosterRefusesANewCharacterWithANote)
{
    StartWith(256);
    const QByteArray before = harness.File("chars.dat");
    harness.prompter.dialogs.push_back(TypeCharacter("Extra", "5"));
    harness.Command(ids::NewCharacterCommand);
    ASSERT_EQ(harness.prompter.shown.size(), 1u);
    EXPECT_EQ(harness.prompter.shown[0].message.text, "You can't have more that 256 characters");
    EXPECT_EQ(std::make_pair(harness.prompter.dialogs.size(), harness.File("chars.dat")),
              std::make_pair(std::size_t{1}, before));
    SelectList& characters = harness.List(ids::CharacterList);
    harness.Panel().SelectCharacter(200);
    characters.View()->scrollToTop();
    harness.Command(ids::EditCharacterCommand); // with the script the refused new character left
    EXPECT_TRUE(characters.Viewport()->rect().contains(characters.RowRect(200))); // scrolled back to it
}

TEST_F(Characters, NewCharacterSavesTheOneLeftAndEditChangesOnlyTheRow)
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
    EXPECT_EQ(std::make_tuple(Selected(), harness.List(ids::CharacterList).GetFirstSelectedRow(),
                              harness.List(ids::CharacterList).GetRowCount()),
              std::make_tuple(2, 2, 3));
    EXPECT_EQ(runes.GetTick(9), 0);
    harness.Panel().SelectCharacter(0);
    harness.prompter.dialogs.push_back(TypeCharacter("Orla", "10"));
    harness.Command(ids::EditCharacterCommand);
    EXPECT_EQ(std::make_tuple(Row(0), Row(0, 1), Row(1)),
              std::make_tuple(QString("Orla"), QString("10"), QString("Char1")));
    EXPECT_EQ(harness.File("chars.dat"), roster);
}

TEST_F(Characters, DeletingAsksAndSelectsTheNextOrTheOneBefore)
{
    StartWith(5);
    harness.prompter.answers.push_back(glyphmoor::MessageAnswer::No);
    harness.Command(ids::DeleteCharacterCommand);
    EXPECT_EQ(harness.File("chars.dat").size(), 5 * 71);
    harness.Panel().SelectCharacter(2);
    harness.Command(ids::DeleteCharacterCommand);
    ASSERT_EQ(harness.prompter.shown.size(), 2u);
    EXPECT_EQ(harness.prompter.shown[1].message,
              (glyphmoor::Message{
                  "Confirm...", "Are you sure you want to\ndelete this character:\n\nName:\tChar2\nClvl:\t3",
                  glyphmoor::MessageIcon::Question, glyphmoor::MessageButtons::YesNo}));
    EXPECT_EQ(std::make_pair(Row(2), Selected()), std::make_pair(QString("Char3"), 2));
    EXPECT_EQ(harness.List(ids::RuneList).GetTick(3), 1); // Char3's own tick
    const QByteArray roster = harness.File("chars.dat");
    ASSERT_EQ(roster.size(), 4 * 71);
    EXPECT_EQ(roster.mid(2 * 71, 7), QByteArray::fromHex("0204") + "Char3"); // renumbered
    harness.Panel().SelectCharacter(3);
    harness.Command(ids::DeleteCharacterCommand);
    EXPECT_EQ(std::make_pair(Selected(), harness.List(ids::CharacterList).GetFirstSelectedRow()),
              std::make_pair(2, 2));
    EXPECT_EQ(harness.File("chars.dat").size(), 3 * 71);
    EXPECT_EQ(harness.File("settings.dat").mid(24), QByteArray::fromHex("02000000")); // saved with the roster
}

TEST_F(Characters, SwitchingBackRestoresTicksAndHighlightsWithOneRebuild)
{
    StartWith(2);
    EXPECT_EQ(harness.List(ids::RunewordList).GetFirstSelectedRow(), 0); // its Alpha is not listed: Eta is
    SelectList& runes = harness.List(ids::RuneList);
    SelectList& items = harness.List(ids::ItemList);
    Click(runes, StateIconPoint(runes, 20));
    Click(items, LabelPoint(items, 7));
    Click(items, StateIconPoint(items, 7));
    harness.Command(ids::ShowItemInfo);
    SelectList& characters = harness.List(ids::CharacterList);
    const int before = harness.Panel().GetSession().ListingCount();
    Click(characters, LabelPoint(characters, 1));
    EXPECT_EQ(
        std::make_tuple(harness.Panel().GetSession().ListingCount(), Selected(), runes.GetTick(20), runes.GetTick(1)),
        std::make_tuple(before + 1, 1, 0, 1));
    Click(characters, LabelPoint(characters, 0));
    Click(characters, LabelPoint(characters, 0)); // the selected one again: nothing to switch
    EXPECT_EQ(std::make_tuple(harness.Panel().GetSession().ListingCount(), runes.GetTick(20), runes.GetTick(0),
                              items.GetTick(7)),
              std::make_tuple(before + 2, 1, 1, 1));
    EXPECT_EQ(std::make_pair(runes.GetFirstSelectedRow(), items.GetFirstSelectedRow()),
              std::make_pair(20, 7));
    EXPECT_EQ(harness.Panel().InfoBox()->toPlainText(), "Item information is not yet implemended");
}

// Each row: the Edit dialog or the New one, what is typed, and the message (empty: accepted, with
// the name and level that stay).
TEST(CharacterDialog, EnterChecksTheFieldsInOrder)
{
    const std::tuple<bool, QString, QString, std::string, std::string, int> rows[] = {
        {true, "Tamsin", "7x", "Invalid character level", "", 0},
        {false, "", "", "You must enter a character name", "", 0},
        {false, "ABCDEFGHIJKLMNOP", "5", "", "ABCDEFGHIJKLMNO", 5}, // the sixteenth byte refused
        {true, "Tamsin", "123", "", "Tamsin", 12},                   // the third digit refused
        {false, "Ærö€ñ Œ", "64", "", "\xC6r\xF6\x80\xF1 \x8C", 64},
        {true, "Ta→msin", "٣8", "", "Tamsin", 8}, // the arrow and an Arabic-Indic three are refused
    };
    for (const auto& [edit, name, clvl, message, keptName, clvlValue] : rows) {
        SCOPED_TRACE(name.toStdString() + " " + clvl.toStdString());
        ScriptedPrompter prompter;
        std::unique_ptr<CharacterDialog> dialog;
        if (edit)
            dialog = std::make_unique<EditCharacterDialog>(prompter);
        else
            dialog = std::make_unique<NewCharacterDialog>(prompter);
        prompter.dialogs.push_back(TypeCharacter(name, clvl));
        const bool accepted = prompter.RunDialog(*dialog);
        if (message.empty()) {
            EXPECT_TRUE(accepted && prompter.shown.empty());
            EXPECT_EQ(std::make_pair(dialog->Name(), dialog->Clvl()), std::make_pair(keptName, clvlValue));
            continue;
        }
        EXPECT_TRUE(prompter.stillOpen);
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].owner, dialog.get());
        EXPECT_EQ(prompter.shown[0].message,
                  (glyphmoor::Message{"Error...", message, glyphmoor::MessageIcon::None, glyphmoor::MessageButtons::Ok}));
        // The user's text stays in place for correcting.
        const auto fields = dialog->findChildren<QLineEdit*>();
        EXPECT_EQ(std::make_pair(fields[0]->text(), fields[1]->text()), std::make_pair(name, clvl));
    }
}

TEST(CharacterDialog, EscAndCloseBoxCancelOnlyWhenAllowed)
{
    ScriptedPrompter prompter;
    NewCharacterDialog dialog(prompter);
    dialog.SetAllowCancel(false);
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    prompter.dialogs.push_back([&](QDialog& d) {
        QTest::keyClick(d.findChildren<QLineEdit*>()[0], Qt::Key_Escape);
        EXPECT_FALSE(d.close());
        Type(d.findChildren<QLineEdit*>()[0], QString::fromUtf8("TaŁ")); // not in Windows-1252: a note
        EXPECT_TRUE(d.findChildren<QLineEdit*>()[0]->text() == "Ta" && QToolTip::text().contains("can't be stored"));
        TypeCharacter("Tamsin", "7x")(d);
        QTest::keyClick(d.findChildren<QLineEdit*>()[1], Qt::Key_Backspace);
        QTest::keyClick(d.findChildren<QLineEdit*>()[1], Qt::Key_Enter, Qt::KeypadModifier);
    });
    EXPECT_TRUE(prompter.RunDialog(dialog));
    EXPECT_EQ(std::make_pair(prompter.shown.size(), dialog.Clvl()), std::make_pair(std::size_t{1}, 7));
    dialog.SetAllowCancel(true);
    prompter.dialogs.push_back(
        [](QDialog& d) { QTest::keyClick(d.findChildren<QLineEdit*>()[0], Qt::Key_Escape); });
    prompter.dialogs.push_back([](QDialog& d) { d.close(); });
    EXPECT_FALSE(prompter.RunDialog(dialog) || prompter.RunDialog(dialog) || prompter.stillOpen);
}
