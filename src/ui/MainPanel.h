// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/FileStore.h"
#include "core/Session.h"

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

// The frame's one pane: draws the session in the lists, the status line and
// the info box, and forwards the player's input on them to it.
class MainPanel : public QWidget, private glyphmoor::SessionObserver {
    Q_OBJECT
public:
    static constexpr int Width = 746;
    static constexpr int Height = 530;
    static constexpr int RuneRows = glyphmoor::RuneCount;
    static constexpr int ItemRows = glyphmoor::ItemTypeCount;

    MainPanel(QWidget* parent, Prompter& prompter, glyphmoor::FileStore& files);
    ~MainPanel() override;

    // Loads the data and the roster (asking for a first character when the
    // roster is empty) and creates the controls. False, with no controls and
    // nothing to save, when chars.dat is there but does not read.
    bool Create();
    bool Started() const { return !session.RosterUnreadable(); }
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

    glyphmoor::Session& GetSession() { return session; }
    const glyphmoor::Session& GetSession() const { return session; }
    void ShowInfo(glyphmoor::InfoKind kind);
    void NewCharacter(bool allowCancel);
    void EditCharacter();
    void DeleteCharacter();
    void SelectCharacter(int row);
    // Draws the selected character's ticks, highlights and runewords.
    void ApplySelectedCharacter();

    SelectList* List(int id) const;
    QTextEdit* InfoBox() const { return infoBox; }

private:
    void OnGroupButton(int buttonId);
    void TicksChanged(glyphmoor::Pick list) override;
    void RulesChanged() override;

    void CreateRuneList();
    void CreateItemList();
    void CreateRunewordList();
    void CreateInfoBox();
    void CreateCharacterList();
    void CreateButtonColumn();
    void ConnectList(SelectList* list, glyphmoor::Pick pick);

    void RefreshRunewordList(bool callerSelects);
    bool SelectRunewordRow(int runewordIndex);
    void UpdateStatusPane(glyphmoor::Pick list, int row);
    void RefillCharacterList();
    void DrawTicks(glyphmoor::Pick list);

    void OnListChanged(SelectList& list, glyphmoor::Pick pick, int row);
    void OnListClick(SelectList& list, glyphmoor::Pick pick, int row, QPoint point);
    void OnListRightClick(SelectList& list, glyphmoor::Pick pick, int row, QPoint point);
    void OnCharacterListChanged(int row);
    void OnCharacterListClick(int row, QPoint point);
    void OnExit();
    void SetInfoText(const QString& text);
    QWidget* DialogOwner();

    Prompter& prompter;
    glyphmoor::Session session;

    bool notificationsEnabled = false;
    SelectList* runeList = nullptr;
    SelectList* itemList = nullptr;
    SelectList* runewordList = nullptr;
    SelectList* characterList = nullptr;
    QTextEdit* infoBox = nullptr;
    StatusLine* statusLine = nullptr;

    bool created = false;
    bool saved = false;
    // The three column texts of each runeword, made once: the tables do not
    // change while the program runs.
    std::vector<QStringList> runewordRows;
    QString infoText;
};
