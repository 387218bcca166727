// SPDX-License-Identifier: GPL-3.0-or-later
// The runeword list: rebuilt from scratch from the ticks, the roster and the
// filter rules whenever one of them changes.
#include "ui/MainPanel.h"

#include "core/RunewordFilter.h"
#include "ui/SelectList.h"
#include "ui/TextCodec.h"

#include <QTextEdit>

using namespace glyphmoor;

std::vector<int> MainPanel::CheckedRows(const SelectList& list, int rows) const
{
    std::vector<int> checked;
    for (int row = 0; row < rows; ++row) {
        if (list.GetTick(row) == 1)
            checked.push_back(row);
    }
    return checked;
}

void MainPanel::RefreshRunewordList(bool callerSelects)
{
    ++refreshCount;
    int remembered = -1;
    const int selectedRow = runewordList->GetFirstSelectedRow();
    if (selectedRow != -1) {
        if (const auto name = ToCodePage(runewordList->GetItemText(selectedRow, 0)))
            remembered = store->FindRuneword(*name);
    }

    runewordList->DeleteAllRows();
    const std::vector<int> checkedRunes = CheckedRows(*runeList, RuneRows);
    const std::vector<int> checkedItemTypes = CheckedRows(*itemList, ItemRows);
    if (!checkedRunes.empty() && !checkedItemTypes.empty()) {
        FilterRunewords(*store, checkedRunes, checkedItemTypes, roster, filter, passed);
        if (runewordRows.empty()) {
            runewordRows.reserve(static_cast<std::size_t>(store->GetRunewordCount()));
            for (int index = 0; index < store->GetRunewordCount(); ++index) {
                const Runeword& runeword = store->GetRuneword(index);
                runewordRows.push_back({FromCodePage(runeword.GetName()), FromCodePage(runeword.RuneOrderText()),
                                        FromCodePage(runeword.GetAllowedItemsText())});
            }
        }
        QList<QStringList> rows;
        rows.reserve(static_cast<qsizetype>(passed.size()));
        for (const int index : passed)
            rows.append(runewordRows[static_cast<std::size_t>(index)]);
        runewordList->AppendRows(rows); // rows 0, 1, 2 ... in table order
        if (callerSelects)
            return;
        if (remembered != -1 && SelectRunewordRow(remembered)) {
            runewordList->EnsureVisible(runewordList->GetFirstSelectedRow());
            return;
        }
        if (runewordList->SelectAndFocus(0))
            return;
    }

    // The list is empty: nothing is left for the runeword pane to describe,
    // whichever list the info box follows.
    if (infoKind == RunewordInfo)
        SetInfoText({});
    UpdateStatusPane(RunewordInfo, -1);
}

bool MainPanel::SelectRunewordRow(int runewordIndex)
{
    const QString name = runewordRows.empty() ? FromCodePage(store->GetRuneword(runewordIndex).GetName())
                                              : runewordRows[static_cast<std::size_t>(runewordIndex)][0];
    const int rows = std::min(store->GetRunewordCount(), runewordList->GetRowCount());
    for (int row = 0; row < rows; ++row) {
        if (runewordList->GetItemText(row, 0) == name)
            return runewordList->SelectAndFocus(row);
    }
    return false;
}
