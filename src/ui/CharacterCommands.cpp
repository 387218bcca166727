// SPDX-License-Identifier: GPL-3.0-or-later
// Creating, editing, deleting and switching characters.
#include "ui/MainPanel.h"

#include "ui/CharacterDialogs.h"
#include "core/MessageFormat.h"
#include "ui/Prompter.h"
#include "ui/SelectList.h"
#include "ui/TextCodec.h"

#include <QTextEdit>

using namespace glyphmoor;

void MainPanel::NewCharacter(bool allowCancel)
{
    if (roster.characterCount == RosterSize) {
        prompter.ShowMessage(this, {"Info...", "You can't have more that 256 characters", MessageIcon::None,
                                    MessageButtons::Ok});
        return;
    }
    NewCharacterDialog dialog(prompter, DialogOwner());
    dialog.SetAllowCancel(allowCancel);
    if (!prompter.RunDialog(dialog))
        return;

    if (roster.selectedCharacter != -1) {
        // The character being left keeps what was ticked for it, on disk too.
        CaptureSelection(roster.selectedCharacter);
        SaveCharacter(roster, roster.selectedCharacter, FileIo());
    }
    const int k = roster.characterCount++;
    Character& created = roster.characters[static_cast<std::size_t>(k)];
    created.SetNameAndClvl(dialog.Name(), dialog.Clvl());
    created.SetHighlights(0, 0, 0);
    SaveCharacter(roster, k, FileIo());
    roster.selectedCharacter = k;
    if (k == 0)
        return; // the caller fills the list
    RefillCharacterList();
    ApplySelectedCharacter();
}

void MainPanel::EditCharacter()
{
    if (roster.selectedCharacter < 0)
        return;
    Character& character = roster.Selected();
    EditCharacterDialog dialog(prompter, DialogOwner());
    dialog.SetName(character.GetName());
    dialog.SetClvlText(character.GetClvlText());
    if (!prompter.RunDialog(dialog))
        return;
    character.SetName(dialog.Name());
    character.SetClvl(dialog.Clvl());

    notificationsEnabled = false;
    characterList->SetItemText(roster.selectedCharacter, 0, FromCodePage(character.GetName()));
    characterList->SetItemText(roster.selectedCharacter, 1, FromCodePage(character.GetClvlText()));
    notificationsEnabled = true;
    characterList->EnsureVisible(roster.selectedCharacter);
}

void MainPanel::DeleteCharacter()
{
    if (roster.selectedCharacter < 0)
        return;
    const Character& doomed = roster.Selected();
    const std::string question =
        FormatMessage("Are you sure you want to\ndelete this character:\n\nName:\t%1\nClvl:\t%2!i!",
                      {doomed.GetName(), doomed.GetClvl()});
    if (prompter.ShowMessage(this, {"Confirm...", question, MessageIcon::Question, MessageButtons::YesNo}) !=
        MessageAnswer::Yes)
        return;

    if (roster.characterCount == 1) {
        roster.characters[0].Clear();
        roster.characterCount = 0;
        roster.selectedCharacter = -1;
        notificationsEnabled = false;
        runewordList->DeleteAllRows();
        characterList->DeleteAllRows();
        for (int i = 0; i < RuneRows; ++i)
            runeList->SetTick(i, false);
        for (int i = 0; i < ItemRows; ++i)
            itemList->SetTick(i, false);
        runeList->SelectAndFocus(0);
        runeList->SetSelectionMark(0);
        itemList->SelectAndFocus(0);
        itemList->SetSelectionMark(0);
        UpdateStatusPane(RuneInfo, 0);
        UpdateStatusPane(ItemInfo, 0);
        UpdateStatusPane(RunewordInfo, -1);
        ShowInfo(infoKind);
        notificationsEnabled = true;
        NewCharacter(false);
        if (roster.characterCount == 0)
            return; // only a scripted dialog can refuse
    } else {
        for (int i = roster.selectedCharacter; i < roster.characterCount - 1; ++i)
            roster.characters[static_cast<std::size_t>(i)].Assign(roster.characters[static_cast<std::size_t>(i) + 1]);
        roster.characters[static_cast<std::size_t>(roster.characterCount) - 1].Clear();
        --roster.characterCount;
        if (roster.selectedCharacter == roster.characterCount)
            --roster.selectedCharacter;
    }
    RewriteRoster(roster, FileIo());
    // The settings go with the smaller roster: if the run then ends
    // uncleanly, the next start does not find their index past it.
    WriteSettings();
    RefillCharacterList();
    ApplySelectedCharacter();
}

void MainPanel::RefillCharacterList()
{
    characterList->DeleteAllRows();
    notificationsEnabled = false;
    for (int i = 0; i < roster.characterCount; ++i) {
        const Character& character = roster.characters[static_cast<std::size_t>(i)];
        characterList->InsertRow(i, FromCodePage(character.GetName()));
        characterList->SetItemText(i, 1, FromCodePage(character.GetClvlText()));
    }
    characterList->SelectAndFocus(roster.selectedCharacter);
    characterList->EnsureVisible(roster.selectedCharacter);
    notificationsEnabled = true;
}

void MainPanel::SelectCharacter(int row)
{
    if (row == roster.selectedCharacter || row < 0 || row >= roster.characterCount)
        return;
    CaptureSelection(roster.selectedCharacter);
    SaveCharacter(roster, roster.selectedCharacter, FileIo());
    roster.selectedCharacter = row;
    ApplySelectedCharacter();
}

void MainPanel::CaptureSelection(int k)
{
    Character& character = roster.characters[static_cast<std::size_t>(k)];
    for (int i = 0; i < RuneRows; ++i) {
        const int tick = runeList->GetTick(i);
        if (tick == 0 || tick == 1)
            character.SetRuneTick(i, tick == 1);
    }
    for (int i = 0; i < ItemRows; ++i) {
        const int tick = itemList->GetTick(i);
        if (tick == 0 || tick == 1)
            character.SetItemTypeTick(i, tick == 1);
    }
    const int rune = runeList->GetFirstSelectedRow();
    const int itemType = itemList->GetFirstSelectedRow();
    int runeword = -1;
    const int runewordRow = runewordList->GetFirstSelectedRow();
    if (runewordRow != -1) {
        if (const auto name = ToCodePage(runewordList->GetItemText(runewordRow, 0)))
            runeword = store->FindRuneword(*name);
    }
    character.SetHighlights(rune, itemType, runeword);
}

void MainPanel::OnCharacterListChanged(int row)
{
    if (notificationsEnabled)
        SelectCharacter(row);
}

void MainPanel::OnCharacterListClick(int row, QPoint point)
{
    const SelectList::HitTestResult hit = characterList->HitTest(point);
    if ((hit.flags & SelectList::HitOnLabel) != 0) {
        if (notificationsEnabled)
            SelectCharacter(row);
    } else {
        characterList->SelectAndFocus(characterList->GetSelectionMark());
    }
}
