// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/DataStore.h"
#include "core/FileStore.h"
#include "core/Roster.h"
#include "core/Settings.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class Prompter;
class QFrame;
class QLabel;
class QPushButton;
class QTextEdit;
class SelectList;
class StatusLine;

// The frame's one pane: owns the reference data, the roster, the filter state
// and every control the player works with, and receives their notifications.
class MainPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int Width = 746;
    static constexpr int Height = 530;
    static constexpr int RuneRows = glyphmoor::RuneCount;
    static constexpr int ItemRows = glyphmoor::ItemTypeCount;
    static constexpr int RunesPerGroup = glyphmoor::RunesPerRarityGroup;

    MainPanel(QWidget* parent, Prompter& prompter, glyphmoor::FileStore& files);
    ~MainPanel() override;

    // Loads the data and the roster (asking for a first character when the
    // roster is empty) and creates the controls. False, with no controls and
    // nothing to save, when chars.dat is there but does not read.
    bool Create();
    bool Started() const { return !roster.unreadable; }
    void SetStatusLine(StatusLine* line) { statusLine = line; }
    // Once the frame is complete: settings, character list, the selected
    // character's ticks and the runeword list.
    void ApplyStartupSettings();
    // Keeps the columns plus a vertical scroll bar filling their lists.
    void FitColumnsToScrollBar();
    // The end of the run: the selected character's ticks and highlights are
    // captured and written, then the settings. Runs once.
    void SaveOnDestroy();
    // The same writes while the program goes on (the desktop session asks
    // for them before it ends).
    void SaveState();

    void RefreshRunewordList(bool callerSelects);
    bool SelectRunewordRow(int runewordIndex);
    void ApplySelectedCharacter();
    void UpdateStatusPane(int kind, int row);
    void ShowInfo(int kind);
    // The tip for a row of a list (list code 1..3), fitted to the capacity.
    QString GetInfoTip(int kind, int row, int capacity) const;

    void NewCharacter(bool allowCancel);
    void EditCharacter();
    void DeleteCharacter();
    void SelectCharacter(int row);
    void CaptureSelection(int k);
    void RefillCharacterList();

    void OnGroupButton(int buttonId);
    void OnExit();

    const glyphmoor::DataStore& Store() const { return *store; }
    glyphmoor::FilterSettings& Filter() { return filter; }
    const glyphmoor::FilterSettings& Filter() const { return filter; }
    const glyphmoor::Roster& GetRoster() const { return roster; }
    glyphmoor::InfoKind GetInfoKind() const { return infoKind; }
    void SetInfoKind(glyphmoor::InfoKind kind) { infoKind = kind; }
    bool NotificationsEnabled() const { return notificationsEnabled; }
    SelectList* List(int id) const;
    QTextEdit* InfoBox() const { return infoBox; }
    // How many times the runeword list has been rebuilt; for tests and
    // benchmarks.
    int RefreshCount() const { return refreshCount; }

private:
    void CreateRuneList();
    void CreateItemList();
    void CreateRunewordList();
    void CreateInfoBox();
    void CreateCharacterList();
    void CreateButtonColumn();
    void ConnectList(SelectList* list, glyphmoor::InfoKind kind);

    void OnRuneListChanged(int row);
    void OnItemListChanged(int row);
    void OnRunewordListChanged(int row);
    void OnListChanged(glyphmoor::InfoKind kind, int row);
    void OnListClick(SelectList& list, glyphmoor::InfoKind kind, int row, QPoint point);
    void OnListRightClick(SelectList& list, glyphmoor::InfoKind kind, int row, QPoint point);
    void OnListKeyDown(SelectList& list, int key);
    void OnCharacterListChanged(int row);
    void OnCharacterListClick(int row, QPoint point);
    void FlipTick(SelectList& list, int row);
    void SetInfoText(const QString& text);
    void WriteSettings();
    std::vector<int> CheckedRows(const SelectList& list, int rows) const;
    glyphmoor::Io FileIo();
    QWidget* DialogOwner();

    Prompter& prompter;
    glyphmoor::FileStore& files;

    bool notificationsEnabled = false;
    std::unique_ptr<glyphmoor::DataStore> store;
    glyphmoor::FilterSettings filter;
    glyphmoor::InfoKind infoKind = glyphmoor::DefaultInfoKind;
    glyphmoor::Roster roster;

    // The tick states (-1, 0, 1) last seen by the change detection. There is
    // one panel in the program, so these are the program's snapshots.
    std::array<int, RuneRows> lastRuneTicks{};
    std::array<int, ItemRows> lastItemTypeTicks{};

    SelectList* runeList = nullptr;
    SelectList* itemList = nullptr;
    SelectList* runewordList = nullptr;
    SelectList* characterList = nullptr;
    QTextEdit* infoBox = nullptr;
    StatusLine* statusLine = nullptr;

    bool saved = false;
    bool settingsUnreadable = false;
    int refreshCount = 0;
    std::vector<int> passed; // reused by every rebuild
    // The three column texts of each runeword, made once: the tables do not
    // change while the program runs.
    std::vector<QStringList> runewordRows;
    QString infoText;
};
