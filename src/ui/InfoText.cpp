// SPDX-License-Identifier: GPL-3.0-or-later
// The status line, the info box and the lists' tips.
#include "ui/MainPanel.h"

#include "core/MessageFormat.h"
#include "ui/SelectList.h"
#include "ui/StatusLine.h"
#include "ui/TextCodec.h"

#include <QTextDocument>
#include <QTextEdit>

using namespace glyphmoor;

namespace {

const std::string RuneStatusFormat = " %1:  Clvl requirement:  %2!i!";
const std::string ItemStatusFormat = " %1:  Max possible sockets:  %2!i!";
const std::string RunewordStatusFormat = " %1:  Clvl requirement:  %2!i!";
const std::string TipFormat = "Clvl requirement: %1!i!\r\n\r\n%2";
const std::string ItemTipText = "Item tooltips is not yet implemended";
const std::string ItemInfoText = "Item information is not yet implemended";
const std::string TipTooLongText = "Error:\nTooltip text too long";

int PaneOf(int kind)
{
    switch (kind) {
    case ItemInfo:
        return 0;
    case RuneInfo:
        return 1;
    default:
        return 2;
    }
}

// The files' CR LF line breaks as Qt shows them.
QString Displayed(const std::string& text)
{
    QString shown = FromCodePage(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

// A tip fits when it is shorter than the capacity: the capacity counts one
// byte for the end of the text.
std::string Fitted(const std::string& tip, int capacity)
{
    if (static_cast<int>(tip.size()) < capacity)
        return tip;
    if (static_cast<int>(TipTooLongText.size()) < capacity)
        return TipTooLongText;
    return {};
}

} // namespace

void MainPanel::UpdateStatusPane(int kind, int row)
{
    std::string text;
    if (row != -1) {
        if (kind == RuneInfo && row >= 0 && row < RuneRows) {
            const Rune& rune = store->GetRune(row);
            text = FormatMessage(RuneStatusFormat, {rune.GetName(), rune.GetClvl()});
        } else if (kind == ItemInfo && row >= 0 && row < ItemRows) {
            const ItemType& type = store->GetItemType(row);
            text = FormatMessage(ItemStatusFormat, {type.GetName(), type.GetMaxSockets()});
        } else if (kind == RunewordInfo) {
            const auto name = ToCodePage(runewordList->GetItemText(row, 0));
            const int index = name ? store->FindRuneword(*name) : -1;
            if (index != -1) {
                const Runeword& runeword = store->GetRuneword(index);
                text = FormatMessage(RunewordStatusFormat, {runeword.GetName(), runeword.ClvlRequirement()});
            }
        }
    }
    if (statusLine != nullptr)
        statusLine->SetPaneText(PaneOf(kind), FromCodePage(text));
}

void MainPanel::SetInfoText(const QString& text)
{
    // Laying out the box again for the same text would change nothing.
    if (text == infoText)
        return;
    infoText = text;
    infoBox->setPlainText(text); // centred by the document's default option
}

void MainPanel::ShowInfo(int kind)
{
    std::string text;
    if (kind == RuneInfo) {
        const int row = runeList->GetFirstSelectedRow();
        const auto name = row == -1 ? std::nullopt : ToCodePage(runeList->GetItemText(row, 0));
        const int index = name ? store->FindRune(*name) : -1;
        if (index != -1)
            text = store->GetRune(index).GetDescription();
    } else if (kind == ItemInfo) {
        text = ItemInfoText;
    } else if (kind == RunewordInfo) {
        const int row = runewordList->GetFirstSelectedRow();
        const auto name = row == -1 ? std::nullopt : ToCodePage(runewordList->GetItemText(row, 0));
        const int index = name ? store->FindRuneword(*name) : -1;
        if (index != -1)
            text = store->GetRuneword(index).GetDescription();
    }
    SetInfoText(Displayed(text));
}

QString MainPanel::GetInfoTip(int kind, int row, int capacity) const
{
    std::string tip;
    if (kind == RuneInfo && row >= 0 && row < RuneRows) {
        const Rune& rune = store->GetRune(row);
        tip = Fitted(FormatMessage(TipFormat, {rune.GetClvl(), rune.GetDescription()}), capacity);
    } else if (kind == RunewordInfo && row >= 0) {
        const auto name = ToCodePage(runewordList->GetItemText(row, 0));
        const int index = name ? store->FindRuneword(*name) : -1;
        if (index != -1) {
            const Runeword& runeword = store->GetRuneword(index);
            tip = Fitted(FormatMessage(TipFormat, {runeword.ClvlRequirement(), runeword.GetDescription()}),
                         capacity);
        }
    } else if (kind == ItemInfo) {
        tip = Fitted(ItemTipText, capacity);
    }
    return Displayed(tip);
}
