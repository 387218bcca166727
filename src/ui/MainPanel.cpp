// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainPanel.h"

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

int VerticalScrollBarWidth(const QWidget* widget)
{
    return widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget);
}

} // namespace

MainPanel::MainPanel(QWidget* parent, Prompter& prompter, FileStore& files)
    : QWidget(parent), prompter(prompter), files(files)
{
    InitResources();
    setObjectName(QString::number(ids::Panel));
    setFixedSize(Width, Height);
}

MainPanel::~MainPanel()
{
    SaveOnDestroy();
    // The lists go after this body; what they report while they go is not
    // the player's doing.
    notificationsEnabled = false;
    for (SelectList* list : {runeList, itemList, runewordList, characterList}) {
        if (list != nullptr)
            list->disconnect(this);
    }
}

Io MainPanel::FileIo()
{
    return {files, prompter};
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
    store = std::make_unique<DataStore>(RuneRows, ItemRows, RunewordCapacity, MaxRunesPerRuneword);
    for (const ReferenceTable table : ReferenceTables)
        store->Load(table, FileIo());
    LoadRoster(roster, FileIo());
    if (roster.unreadable) {
        saved = true; // the file is left as it is, and so are the settings
        return false;
    }
    if (!roster.corruptCopy.empty())
        prompter.Show(CorruptCopyKeptMessage(roster.corruptCopy));
    else if (roster.uncopiedFile)
        prompter.Show(CorruptCopyFailedMessage());
    if (roster.characterCount == 0)
        NewCharacter(false);

    CreateRuneList();
    CreateItemList();
    CreateRunewordList();
    CreateInfoBox();
    CreateCharacterList();
    CreateButtonColumn();
    return true;
}

void MainPanel::ConnectList(SelectList* list, InfoKind kind)
{
    list->setObjectName(QString::number(list->Id()));
    connect(list, &SelectList::itemChanged, this, [this, kind](int row) { OnListChanged(kind, row); });
    auto click = [this, list, kind](int row, QPoint point) { OnListClick(*list, kind, row, point); };
    auto rightClick = [this, list, kind](int row, QPoint point) { OnListRightClick(*list, kind, row, point); };
    connect(list, &SelectList::clicked, this, click);
    connect(list, &SelectList::doubleClicked, this, click);
    connect(list, &SelectList::rightClicked, this, rightClick);
    connect(list, &SelectList::rightDoubleClicked, this, rightClick);
    if (kind != RunewordInfo)
        connect(list, &SelectList::toggleRequested, this, [this, list](int row) { FlipTick(*list, row); });
    if (kind != RunewordInfo)
        connect(list, &SelectList::keyDown, this, [this, list](int key, Qt::KeyboardModifiers modifiers) {
            // Only a plain Space ticks; Alt+Space belongs to the window menu.
            if (modifiers == Qt::NoModifier || modifiers == Qt::KeypadModifier)
                OnListKeyDown(*list, key);
        });
    connect(list, &SelectList::infoTipRequested, this,
            [this, kind](int row, QString* text, int capacity) { *text = GetInfoTip(kind, row, capacity); });
}

void MainPanel::CreateRuneList()
{
    runeList = new SelectList(ids::RuneList, SelectList::Mode::List, this);
    runeList->SetStateIcons(ScaledIcon(ids::UntickedIcon), ScaledIcon(ids::TickedIcon));
    runeList->SetListColumnWidth(RuneColumnWidth);
    for (int i = 0; i < RuneRows; ++i)
        runeList->InsertRow(i, FromCodePage(store->GetRune(i).GetName()));
    runeList->setGeometry(RuneListRect);
    NameList(runeList, QStringLiteral("Runes"));
    ConnectList(runeList, RuneInfo);
}

void MainPanel::CreateItemList()
{
    itemList = new SelectList(ids::ItemList, SelectList::Mode::Report, this);
    itemList->SetStateIcons(ScaledIcon(ids::UntickedIcon), ScaledIcon(ids::TickedIcon));
    itemList->SetHeaderHidden(true);
    itemList->InsertColumn(0, QString(), ItemColumnWidth);
    for (int i = 0; i < ItemRows; ++i)
        itemList->InsertRow(i, FromCodePage(store->GetItemType(i).GetName()));
    itemList->setGeometry(ItemListRect);
    NameList(itemList, QStringLiteral("Items"));
    ConnectList(itemList, ItemInfo);
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
    ConnectList(runewordList, RunewordInfo);
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
            button->setAutoDefault(false);
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
    if (runewordList->GetColumnWidth(2) != runewordWidth)
        runewordList->SetColumnWidth(2, runewordWidth);
    const int characterWidth = std::max(0, CharacterColumn0Base - v);
    if (characterList->GetColumnWidth(0) != characterWidth)
        characterList->SetColumnWidth(0, characterWidth);
}

void MainPanel::ApplyStartupSettings()
{
    const LoadedSettings loaded = LoadSettings(filter, infoKind, roster.characterCount, FileIo());
    roster.selectedCharacter = loaded.selectedCharacter;
    settingsUnreadable = loaded.unreadable;
    if (roster.characterCount == 0)
        roster.selectedCharacter = -1; // only when the first character was refused
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
    if (saved || store == nullptr)
        return;
    saved = true;
    SaveState();
}

void MainPanel::SaveState()
{
    if (roster.selectedCharacter >= 0 && roster.selectedCharacter < roster.characterCount) {
        CaptureSelection(roster.selectedCharacter);
        SaveCharacter(roster, roster.selectedCharacter, FileIo());
    }
    WriteSettings();
}

void MainPanel::WriteSettings()
{
    // A settings file that did not read may hold choices this run never saw.
    if (settingsUnreadable)
        return;
    // With no character (a run ended while the first one was being asked
    // for) the index is stored as 0, which the next start accepts; -1 would
    // be rejected as corrupt.
    SaveSettings(filter, infoKind, std::max(roster.selectedCharacter, 0), FileIo());
}

void MainPanel::OnExit()
{
    // The frame goes at once, without a close request; it is deleted as soon
    // as this click has been handled.
    window()->hide();
    window()->deleteLater();
}
