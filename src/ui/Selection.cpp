// SPDX-License-Identifier: GPL-3.0-or-later
// Ticking runes and item types, selecting rows, and applying a character's
// ticks and highlighted rows to the lists.
#include "ui/MainPanel.h"

#include "ui/ControlIds.h"
#include "ui/SelectList.h"
#include "ui/TextCodec.h"

#include <QTextEdit>

using namespace glyphmoor;

namespace {

template <std::size_t N>
std::array<int, N> ReadTicks(const SelectList& list)
{
    std::array<int, N> ticks{};
    for (std::size_t row = 0; row < N; ++row)
        ticks[row] = list.GetTick(static_cast<int>(row));
    return ticks;
}

} // namespace

void MainPanel::OnListChanged(InfoKind kind, int row)
{
    switch (kind) {
    case RuneInfo:
        OnRuneListChanged(row);
        break;
    case ItemInfo:
        OnItemListChanged(row);
        break;
    default:
        OnRunewordListChanged(row);
        break;
    }
}

void MainPanel::OnRuneListChanged(int row)
{
    if (!notificationsEnabled)
        return;
    if (ReadTicks<RuneRows>(*runeList) != lastRuneTicks) {
        RefreshRunewordList(false);
        lastRuneTicks = ReadTicks<RuneRows>(*runeList);
        return;
    }
    UpdateStatusPane(RuneInfo, row);
    if (infoKind == RuneInfo)
        ShowInfo(RuneInfo);
}

void MainPanel::OnItemListChanged(int row)
{
    if (!notificationsEnabled)
        return;
    if (ReadTicks<ItemRows>(*itemList) != lastItemTypeTicks) {
        RefreshRunewordList(false);
        lastItemTypeTicks = ReadTicks<ItemRows>(*itemList);
        return;
    }
    UpdateStatusPane(ItemInfo, row);
    if (infoKind == ItemInfo)
        ShowInfo(ItemInfo);
}

void MainPanel::OnRunewordListChanged(int row)
{
    if (!notificationsEnabled)
        return;
    UpdateStatusPane(RunewordInfo, row);
    if (infoKind == RunewordInfo)
        ShowInfo(RunewordInfo);
}

void MainPanel::FlipTick(SelectList& list, int row)
{
    if (row < 0 || row >= list.GetRowCount())
        return;
    list.SetTick(row, list.GetTick(row) != 0 ? false : true);
}

void MainPanel::OnListClick(SelectList& list, InfoKind kind, int row, QPoint point)
{
    const SelectList::HitTestResult hit = list.HitTest(point);
    if ((hit.flags & SelectList::HitOnLabel) != 0) {
        if (notificationsEnabled)
            OnListChanged(kind, row);
        if (kind == RunewordInfo)
            return;
    } else {
        // A click beside the rows leaves the last selected row selected.
        list.SelectAndFocus(list.GetSelectionMark());
    }
    if (kind != RunewordInfo && (hit.flags & SelectList::HitOnStateIcon) != 0)
        FlipTick(list, row);
}

void MainPanel::OnListRightClick(SelectList& list, InfoKind kind, int row, QPoint point)
{
    infoKind = kind;
    OnListClick(list, kind, row, point);
    ShowInfo(kind);
}

void MainPanel::OnListKeyDown(SelectList& list, int key)
{
    if (key == Qt::Key_Space)
        FlipTick(list, list.GetSelectionMark());
}

void MainPanel::ApplySelectedCharacter()
{
    const Character& character = roster.Selected();
    notificationsEnabled = false;
    for (int i = 0; i < RuneRows; ++i)
        runeList->SetTick(i, character.GetRuneTick(i));
    for (int i = 0; i < ItemRows; ++i)
        itemList->SetTick(i, character.GetItemTypeTick(i));

    const int rune = character.GetHighlight(HighlightedRune);
    const int itemType = character.GetHighlight(HighlightedItemType);
    runeList->SelectAndFocus(rune);
    runeList->SetSelectionMark(rune);
    itemList->SelectAndFocus(itemType);
    itemList->SetSelectionMark(itemType);

    UpdateStatusPane(RuneInfo, rune);
    UpdateStatusPane(ItemInfo, itemType);
    if (infoKind == RuneInfo)
        ShowInfo(RuneInfo);
    if (infoKind == ItemInfo)
        ShowInfo(ItemInfo);
    notificationsEnabled = true;

    RefreshRunewordList(true);
    const int runeword = character.GetHighlight(HighlightedRuneword);
    if (runeword != -1 && SelectRunewordRow(runeword)) {
        for (int row = 0; row < runewordList->GetRowCount(); ++row) {
            const auto name = ToCodePage(runewordList->GetItemText(row, 0));
            if (name && store->FindRuneword(*name) == runeword) {
                runewordList->EnsureVisible(row);
                break;
            }
        }
        return;
    }
    // The runeword pane describes the row now selected, or nothing.
    runewordList->SelectAndFocus(0);
    if (infoKind == RunewordInfo)
        ShowInfo(RunewordInfo);
    UpdateStatusPane(RunewordInfo, runewordList->GetFirstSelectedRow());
}

void MainPanel::OnGroupButton(int buttonId)
{
    SelectList* list = buttonId < ids::AllItemsButton ? runeList : itemList;
    std::vector<int> members;
    switch (buttonId) {
    case ids::AllRunesButton:
    case ids::CommonButton:
    case ids::SemiRareButton:
    case ids::ExtremelyRareButton: {
        const int group = buttonId - ids::CommonButton; // -1 for all runes
        const int first = group < 0 ? 0 : group * RunesPerGroup;
        const int last = group < 0 ? RuneRows - 1 : first + RunesPerGroup - 1;
        for (int row = first; row <= last; ++row)
            members.push_back(row);
        break;
    }
    default:
        for (int row = 0; row < ItemRows; ++row) {
            if (buttonId == ids::AllItemsButton) {
                members.push_back(row);
                continue;
            }
            const auto name = ToCodePage(list->GetItemText(row, 0));
            const int index = name ? store->FindItemType(*name) : -1;
            if (index == -1)
                continue;
            const ItemType& type = store->GetItemType(index);
            const bool member = buttonId == ids::AllWeaponsButton     ? type.IsWeapon()
                                : buttonId == ids::MeleeWeaponsButton ? type.IsMeleeWeapon()
                                : buttonId == ids::MissileWeaponsButton ? type.IsMissileWeapon()
                                                                        : type.IsDefence();
            if (member)
                members.push_back(row);
        }
        break;
    }

    notificationsEnabled = false;
    bool target = false;
    for (const int row : members) {
        if (list->GetTick(row) == 0) {
            target = true;
            break;
        }
    }
    for (const int row : members)
        list->SetTick(row, target);
    notificationsEnabled = true;
    RefreshRunewordList(false);
}
