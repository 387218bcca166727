// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainPanel.h"

#include "ui/CharacterDialogs.h"
#include "ui/ControlIds.h"
#include "ui/Prompter.h"
#include "ui/Resources.h"
#include "ui/SelectList.h"
#include "ui/StatusLine.h"
#include "ui/TextCodec.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QWindow>

using namespace glyphmoor;

namespace {

// Rectangles are (left, top, width, height) in the panel.
constexpr QRect RuneListRect(8, 8, 154, 192);
constexpr QRect ItemListRect(8, 208, 154, 314);
constexpr QRect RunewordListRect(170, 8, 440, 303);
constexpr QRect InfoBoxRect(170, 319, 440, 203);
constexpr QRect CharacterListRect(618, 8, 120, 135);

constexpr int RuneColumnWidth = 50;
constexpr int ItemColumnWidth = 120;
constexpr int RunewordColumn0 = 120;
constexpr int RunewordColumn1 = 140;
constexpr int RunewordColumn2Base = 176; // less the scroll bar's width
constexpr int CharacterColumn0Base = 86; // less the scroll bar's width
constexpr int CharacterColumn1 = 30;

struct ButtonColumnEntry {
    enum Kind { Frame, Label, Button } kind;
    int id;
    const char* text;
    QRect rect;
};

// Top to bottom in the strip x 618 to 738; also the creation (and tab) order.
constexpr ButtonColumnEntry ButtonColumn[] = {
    {ButtonColumnEntry::Frame, ids::UnnamedStatic, "", QRect(618, 162, 120, 22)},
    {ButtonColumnEntry::Label, ids::RunesLabel, "Runes", QRect(619, 167, 118, 12)},
    {ButtonColumnEntry::Button, ids::AllRunesButton, "&All Runes", QRect(618, 190, 120, 22)},
    {ButtonColumnEntry::Button, ids::CommonButton, "&Common", QRect(618, 218, 120, 22)},
    {ButtonColumnEntry::Button, ids::SemiRareButton, "&Semi-Rare", QRect(618, 246, 120, 22)},
    {ButtonColumnEntry::Button, ids::ExtremelyRareButton, "&Extremely Rare", QRect(618, 274, 120, 22)},
    {ButtonColumnEntry::Frame, ids::UnnamedStatic, "", QRect(618, 320, 120, 22)},
    {ButtonColumnEntry::Label, ids::ItemsLabel, "Items", QRect(619, 325, 118, 12)},
    {ButtonColumnEntry::Button, ids::AllItemsButton, "All &Items", QRect(618, 348, 120, 22)},
    {ButtonColumnEntry::Button, ids::AllWeaponsButton, "All &Weapons", QRect(618, 376, 120, 22)},
    {ButtonColumnEntry::Button, ids::MeleeWeaponsButton, "&Melee Weapons", QRect(618, 404, 120, 22)},
    {ButtonColumnEntry::Button, ids::MissileWeaponsButton, "Missile Wea&pons", QRect(618, 432, 120, 22)},
    {ButtonColumnEntry::Button, ids::AllDefenceButton, "All &Defence", QRect(618, 460, 120, 22)},
    {ButtonColumnEntry::Button, ids::ExitButton, "E&xit", QRect(618, 500, 120, 22)},
};

// What a screen reader calls a list: the list and the view inside it.
void NameList(SelectList* list, const QString& name)
{
    list->setAccessibleName(name);
    list->View()->setAccessibleName(name);
}

// The files' CR LF line breaks as Qt shows them.
QString Displayed(const std::string& text)
{
    QString shown = FromCodePage(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

int PaneOf(Pick list)
{
    switch (list) {
    case Pick::ItemType:
        return 0;
    case Pick::Rune:
        return 1;
    default:
        return 2;
    }
}

TickSet SetOfButton(int buttonId)
{
    switch (buttonId) {
    case ids::AllRunesButton:
        return TickSet::AllRunes;
    case ids::CommonButton:
        return TickSet::CommonRunes;
    case ids::SemiRareButton:
        return TickSet::SemiRareRunes;
    case ids::ExtremelyRareButton:
        return TickSet::ExtremelyRareRunes;
    case ids::AllItemsButton:
        return TickSet::AllItems;
    case ids::AllWeaponsButton:
        return TickSet::AllWeapons;
    case ids::MeleeWeaponsButton:
        return TickSet::MeleeWeapons;
    case ids::MissileWeaponsButton:
        return TickSet::MissileWeapons;
    default:
        return TickSet::AllDefence;
    }
}

int VerticalScrollBarWidth(const QWidget* widget)
{
    return widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget);
}

} // namespace

MainPanel::MainPanel(QWidget* parent, Prompter& prompter, FileStore& files)
    : QWidget(parent), prompter(prompter), session(Io{files, prompter})
{
    InitResources();
    setObjectName(QString::number(ids::Panel));
    setFixedSize(Width, Height);
    session.SetObserver(this);
}

MainPanel::~MainPanel()
{
    SaveOnDestroy();
    // The lists go after this body; what they report while they go is not
    // the player's doing.
    notificationsEnabled = false;
    session.SetObserver(nullptr);
    for (SelectList* list : {runeList, itemList, runewordList, characterList}) {
        if (list != nullptr)
            list->disconnect(this);
    }
}

QWidget* MainPanel::DialogOwner()
{
    return isVisible() ? window() : nullptr;
}

SelectList* MainPanel::List(int id) const
{
    switch (id) {
    case ids::RuneList:
        return runeList;
    case ids::ItemList:
        return itemList;
    case ids::RunewordList:
        return runewordList;
    case ids::CharacterList:
        return characterList;
    default:
        return nullptr;
    }
}

bool MainPanel::Create()
{
    if (!session.Load()) {
        saved = true; // the file is left as it is, and so are the settings
        return false;
    }
    if (session.GetRoster().characterCount == 0)
        NewCharacter(false);

    CreateRuneList();
    CreateItemList();
    CreateRunewordList();
    CreateInfoBox();
    CreateCharacterList();
    CreateButtonColumn();
    created = true;
    return true;
}

void MainPanel::ConnectList(SelectList* list, Pick pick)
{
    list->setObjectName(QString::number(list->Id()));
    connect(list, &SelectList::itemChanged, this, [this, list, pick](int row) { OnListChanged(*list, pick, row); });
    auto click = [this, list, pick](int row, QPoint point) { OnListClick(*list, pick, row, point); };
    auto rightClick = [this, list, pick](int row, QPoint point) { OnListRightClick(*list, pick, row, point); };
    connect(list, &SelectList::clicked, this, click);
    connect(list, &SelectList::doubleClicked, this, click);
    connect(list, &SelectList::rightClicked, this, rightClick);
    connect(list, &SelectList::rightDoubleClicked, this, rightClick);
    if (pick != Pick::Runeword) {
        connect(list, &SelectList::toggleRequested, this, [this, pick](int row) { session.FlipTick(pick, row); });
        connect(list, &SelectList::keyDown, this, [this, list, pick](int key, Qt::KeyboardModifiers modifiers) {
            // Only a plain Space ticks; Alt+Space belongs to the window menu.
            const int row = list->GetSelectionMark();
            if ((modifiers == Qt::NoModifier || modifiers == Qt::KeypadModifier) && key == Qt::Key_Space &&
                row >= 0 && row < list->GetRowCount())
                session.FlipTick(pick, row);
        });
    }
    connect(list, &SelectList::infoTipRequested, this, [this, pick](int row, QString* text, int capacity) {
        *text = Displayed(session.TipText(pick, row, capacity));
    });
}

void MainPanel::CreateRuneList()
{
    runeList = new SelectList(ids::RuneList, SelectList::Mode::List, this);
    runeList->SetStateIcons(ScaledIcon(ids::UntickedIcon), ScaledIcon(ids::TickedIcon));
    runeList->SetListColumnWidth(RuneColumnWidth);
    for (int i = 0; i < RuneRows; ++i)
        runeList->InsertRow(i, FromCodePage(session.Store().GetRune(i).GetName()));
    runeList->setGeometry(RuneListRect);
    NameList(runeList, QStringLiteral("Runes"));
    ConnectList(runeList, Pick::Rune);
}

void MainPanel::CreateItemList()
{
    itemList = new SelectList(ids::ItemList, SelectList::Mode::Report, this);
    itemList->SetStateIcons(ScaledIcon(ids::UntickedIcon), ScaledIcon(ids::TickedIcon));
    itemList->SetHeaderHidden(true);
    itemList->InsertColumn(0, QString(), ItemColumnWidth);
    for (int i = 0; i < ItemRows; ++i)
        itemList->InsertRow(i, FromCodePage(session.Store().GetItemType(i).GetName()));
    itemList->setGeometry(ItemListRect);
    NameList(itemList, QStringLiteral("Items"));
    ConnectList(itemList, Pick::ItemType);
}

void MainPanel::CreateRunewordList()
{
    runewordList = new SelectList(ids::RunewordList, SelectList::Mode::Report, this);
    runewordList->SetFullRowSelect(true);
    const int v = VerticalScrollBarWidth(this);
    runewordList->InsertColumn(0, QStringLiteral("RuneWord"), RunewordColumn0);
    runewordList->InsertColumn(1, QStringLiteral("Rune Order"), RunewordColumn1);
    runewordList->InsertColumn(2, QStringLiteral("Allowed Items"), std::max(0, RunewordColumn2Base - v));
    runewordList->setGeometry(RunewordListRect);
    NameList(runewordList, QStringLiteral("Runewords"));
    ConnectList(runewordList, Pick::Runeword);
}
void MainPanel::CreateInfoBox()
{
    infoBox = new QTextEdit(this);
    infoBox->setObjectName(QString::number(ids::InfoBox));
    infoBox->setReadOnly(true);
    infoBox->setAcceptRichText(false);
    infoBox->setFocusPolicy(Qt::ClickFocus);
    infoBox->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    infoBox->setLineWidth(1);
    infoBox->document()->setDefaultTextOption(QTextOption(Qt::AlignHCenter));
    infoBox->setGeometry(InfoBoxRect);
    infoBox->setAccessibleName(QStringLiteral("Information"));
}

void MainPanel::CreateCharacterList()
{
    characterList = new SelectList(ids::CharacterList, SelectList::Mode::Report, this);
    characterList->SetFullRowSelect(true);
    const int v = VerticalScrollBarWidth(this);
    characterList->InsertColumn(0, QStringLiteral("Character"), std::max(0, CharacterColumn0Base - v));
    characterList->InsertColumn(1, QStringLiteral("Clvl"), CharacterColumn1);
    characterList->setGeometry(CharacterListRect);
    characterList->setObjectName(QString::number(ids::CharacterList));
    NameList(characterList, QStringLiteral("Characters"));
    connect(characterList, &SelectList::itemChanged, this, &MainPanel::OnCharacterListChanged);
    for (auto signal : {&SelectList::clicked, &SelectList::doubleClicked, &SelectList::rightClicked,
                        &SelectList::rightDoubleClicked})
        connect(characterList, signal, this, &MainPanel::OnCharacterListClick);
}

void MainPanel::CreateButtonColumn()
{
    for (const ButtonColumnEntry& entry : ButtonColumn) {
        QWidget* control = nullptr;
        switch (entry.kind) {
        case ButtonColumnEntry::Frame: {
            auto* frame = new QFrame(this);
            frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
            frame->setLineWidth(1);
            control = frame;
            break;
        }
        case ButtonColumnEntry::Label: {
            auto* label = new QLabel(QString::fromLatin1(entry.text), this);
            label->setAlignment(Qt::AlignCenter);
            control = label;
            break;
        }
        case ButtonColumnEntry::Button: {
            auto* button = new QPushButton(QString::fromLatin1(entry.text), this);
            button->setFocusPolicy(Qt::StrongFocus);
            button->setAccessibleName(QString::fromLatin1(entry.text).remove(QLatin1Char('&')));
            const int id = entry.id;
            if (id == ids::ExitButton)
                connect(button, &QPushButton::clicked, this, &MainPanel::OnExit);
            else
                connect(button, &QPushButton::clicked, this, [this, id] { OnGroupButton(id); });
            control = button;
            break;
        }
        }
        if (entry.id != ids::UnnamedStatic)
            control->setObjectName(QString::number(entry.id));
        control->setGeometry(entry.rect);
    }
}

void MainPanel::FitColumnsToScrollBar()
{
    const int v = VerticalScrollBarWidth(this);
    const int runewordWidth = std::max(0, RunewordColumn2Base - v);
    runewordList->SetColumnWidth(2, runewordWidth);
    const int characterWidth = std::max(0, CharacterColumn0Base - v);
    characterList->SetColumnWidth(0, characterWidth);
}

void MainPanel::ApplyStartupSettings()
{
    session.LoadSettingsFile();
    const Roster& roster = session.GetRoster();
    for (int i = 0; i < roster.characterCount; ++i) {
        const Character& character = roster.characters[static_cast<std::size_t>(i)];
        characterList->InsertRow(i, FromCodePage(character.GetName()));
        characterList->SetItemText(i, 1, FromCodePage(character.GetClvlText()));
    }
    characterList->SelectAndFocus(roster.selectedCharacter);
    if (roster.characterCount > 0)
        ApplySelectedCharacter();
    runeList->setFocus();
}

void MainPanel::SaveOnDestroy()
{
    if (saved || !created)
        return;
    saved = true;
    SaveState();
}

void MainPanel::SaveState()
{
    session.Save();
}

void MainPanel::OnExit()
{
    // The frame goes at once, without a close request; it is deleted as soon
    // as this click has been handled.
    window()->hide();
    window()->deleteLater();
}

// Ticks and selections.

void MainPanel::TicksChanged(Pick list)
{
    DrawTicks(list);
    RefreshRunewordList(false);
}

void MainPanel::RulesChanged()
{
    RefreshRunewordList(false);
}

void MainPanel::DrawTicks(Pick pick)
{
    SelectList* list = pick == Pick::Rune ? runeList : itemList;
    const bool wereEnabled = notificationsEnabled;
    notificationsEnabled = false;
    for (int row = 0; row < list->GetRowCount(); ++row) {
        const bool ticked = session.Ticked(pick, row);
        if (list->GetTick(row) != (ticked ? 1 : 0))
            list->SetTick(row, ticked);
    }
    notificationsEnabled = wereEnabled;
}

void MainPanel::OnListChanged(SelectList& list, Pick pick, int row)
{
    session.SetHighlighted(pick, list.GetFirstSelectedRow());
    if (!notificationsEnabled)
        return;
    UpdateStatusPane(pick, row);
    if (static_cast<int>(session.GetInfoKind()) == static_cast<int>(pick))
        ShowInfo(session.GetInfoKind());
}

void MainPanel::OnListClick(SelectList& list, Pick pick, int row, QPoint point)
{
    const SelectList::HitTestResult hit = list.HitTest(point);
    if ((hit.flags & SelectList::HitOnLabel) != 0) {
        if (notificationsEnabled)
            OnListChanged(list, pick, row);
        if (pick == Pick::Runeword)
            return;
    } else {
        // A click beside the rows leaves the last selected row selected.
        list.SelectAndFocus(list.GetSelectionMark());
    }
    if (pick != Pick::Runeword && (hit.flags & SelectList::HitOnStateIcon) != 0 && row >= 0 &&
        row < list.GetRowCount())
        session.FlipTick(pick, row);
}

void MainPanel::OnListRightClick(SelectList& list, Pick pick, int row, QPoint point)
{
    session.SetInfoKind(static_cast<InfoKind>(pick));
    OnListClick(list, pick, row, point);
    ShowInfo(session.GetInfoKind());
}

void MainPanel::OnGroupButton(int buttonId)
{
    session.TickGroup(SetOfButton(buttonId));
}

void MainPanel::ApplySelectedCharacter()
{
    const Character& character = session.GetRoster().Selected();
    notificationsEnabled = false;
    session.ApplySelected();
    DrawTicks(Pick::Rune);
    DrawTicks(Pick::ItemType);

    const int rune = character.GetHighlight(HighlightedRune);
    const int itemType = character.GetHighlight(HighlightedItemType);
    runeList->SelectAndFocus(rune);
    runeList->SetSelectionMark(rune);
    itemList->SelectAndFocus(itemType);
    itemList->SetSelectionMark(itemType);

    UpdateStatusPane(Pick::Rune, rune);
    UpdateStatusPane(Pick::ItemType, itemType);
    if (session.GetInfoKind() == RuneInfo)
        ShowInfo(RuneInfo);
    if (session.GetInfoKind() == ItemInfo)
        ShowInfo(ItemInfo);
    notificationsEnabled = true;

    RefreshRunewordList(true);
    const int runeword = character.GetHighlight(HighlightedRuneword);
    if (runeword != -1 && SelectRunewordRow(runeword)) {
        runewordList->EnsureVisible(session.RowOf(runeword));
        return;
    }
    // The runeword pane describes the row now selected, or nothing.
    runewordList->SelectAndFocus(0);
    if (session.GetInfoKind() == RunewordInfo)
        ShowInfo(RunewordInfo);
    UpdateStatusPane(Pick::Runeword, runewordList->GetFirstSelectedRow());
}

// The runeword list: rebuilt from scratch from the ticks, the roster and the
// filter rules whenever one of them changes.

void MainPanel::RefreshRunewordList(bool callerSelects)
{
    const int remembered = session.ListedRuneword(session.Highlighted(Pick::Runeword));
    runewordList->DeleteAllRows();
    session.ListRunewords();
    const std::vector<int>& listed = session.Listed();
    if (!listed.empty()) {
        if (runewordRows.empty()) {
            const DataStore& store = session.Store();
            runewordRows.reserve(static_cast<std::size_t>(store.GetRunewordCount()));
            for (int index = 0; index < store.GetRunewordCount(); ++index) {
                const Runeword& runeword = store.GetRuneword(index);
                runewordRows.push_back({FromCodePage(runeword.GetName()), FromCodePage(runeword.RuneOrderText()),
                                        FromCodePage(runeword.GetAllowedItemsText())});
            }
        }
        // Each row carries its runeword's index, and the runes the ticks lack
        // are marked in its rune order and named for screen readers.
        QList<RowContent> rows;
        rows.reserve(static_cast<qsizetype>(listed.size()));
        for (const int index : listed) {
            RowContent row{runewordRows[static_cast<std::size_t>(index)], index, 1, {}, {}};
            const std::vector<Session::MissingRune> missing = session.MissingRunes(index);
            for (const Session::MissingRune& rune : missing)
                row.marks.append(QPoint(rune.start, rune.length));
            row.description = FromCodePage(Session::NeedsText(missing));
            rows.append(std::move(row));
        }
        runewordList->AppendRows(std::move(rows)); // rows 0, 1, 2 ... in table order
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
    if (session.GetInfoKind() == RunewordInfo)
        SetInfoText({});
    UpdateStatusPane(Pick::Runeword, -1);
}

bool MainPanel::SelectRunewordRow(int runewordIndex)
{
    const int row = session.RowOf(runewordIndex);
    return row != -1 && runewordList->SelectAndFocus(row);
}

// The status line and the info box.

void MainPanel::UpdateStatusPane(Pick list, int row)
{
    if (statusLine != nullptr)
        statusLine->SetPaneText(PaneOf(list), FromCodePage(session.StatusText(list, row)));
}

void MainPanel::SetInfoText(const QString& text)
{
    // Laying out the box again for the same text would change nothing.
    if (text == infoText)
        return;
    infoText = text;
    infoBox->setPlainText(text); // centred by the document's default option
}

void MainPanel::ShowInfo(InfoKind kind)
{
    session.SetInfoKind(kind);
    SetInfoText(Displayed(session.InfoText()));
}

// Creating, editing, deleting and switching characters.

void MainPanel::NewCharacter(bool allowCancel)
{
    if (session.RosterFull()) {
        prompter.ShowMessage(this, {"Info...", "You can't have more that 256 characters", MessageIcon::None,
                                    MessageButtons::Ok});
        return;
    }
    NewCharacterDialog dialog(prompter, DialogOwner());
    dialog.SetAllowCancel(allowCancel);
    if (!prompter.RunDialog(dialog))
        return;
    session.AddCharacter(dialog.Name(), dialog.Clvl());
    if (session.GetRoster().characterCount == 1)
        return; // the caller fills the list
    RefillCharacterList();
    ApplySelectedCharacter();
}

void MainPanel::EditCharacter()
{
    const Roster& roster = session.GetRoster();
    if (roster.selectedCharacter < 0)
        return;
    EditCharacterDialog dialog(prompter, DialogOwner());
    dialog.SetName(roster.Selected().GetName());
    dialog.SetClvlText(roster.Selected().GetClvlText());
    if (!prompter.RunDialog(dialog))
        return;
    session.EditSelected(dialog.Name(), dialog.Clvl());

    notificationsEnabled = false;
    characterList->SetItemText(roster.selectedCharacter, 0, FromCodePage(roster.Selected().GetName()));
    characterList->SetItemText(roster.selectedCharacter, 1, FromCodePage(roster.Selected().GetClvlText()));
    notificationsEnabled = true;
    characterList->EnsureVisible(roster.selectedCharacter);
}

void MainPanel::DeleteCharacter()
{
    if (session.GetRoster().selectedCharacter < 0)
        return;
    if (prompter.ShowMessage(this, {"Confirm...", session.DeleteQuestion(), MessageIcon::Question,
                                    MessageButtons::YesNo}) != MessageAnswer::Yes)
        return;

    if (session.DeleteSelected()) {
        notificationsEnabled = false;
        runewordList->DeleteAllRows();
        characterList->DeleteAllRows();
        DrawTicks(Pick::Rune);
        DrawTicks(Pick::ItemType);
        runeList->SelectAndFocus(0);
        runeList->SetSelectionMark(0);
        itemList->SelectAndFocus(0);
        itemList->SetSelectionMark(0);
        UpdateStatusPane(Pick::Rune, 0);
        UpdateStatusPane(Pick::ItemType, 0);
        UpdateStatusPane(Pick::Runeword, -1);
        ShowInfo(session.GetInfoKind());
        notificationsEnabled = true;
        NewCharacter(false);
        if (session.GetRoster().characterCount == 0)
            return; // only a scripted dialog can refuse
        session.FinishDeletion();
    }
    RefillCharacterList();
    ApplySelectedCharacter();
}

void MainPanel::RefillCharacterList()
{
    const Roster& roster = session.GetRoster();
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
    const Roster& roster = session.GetRoster();
    if (row == roster.selectedCharacter || row < 0 || row >= roster.characterCount)
        return;
    session.SwitchTo(row);
    ApplySelectedCharacter();
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
