// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/MainFrame.h"
#include "app/RunewordFinderApp.h"
#include "core/FileStore.h"
#include "core/Messages.h"
#include "ui/ControlIds.h"
#include "ui/MainPanel.h"
#include "ui/Prompter.h"
#include "ui/SelectList.h"
#include "ui/StatusLine.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace gui_test {

// Answers message boxes and runs dialogs from a script instead of a person.
class ScriptedPrompter final : public Prompter {
public:
    struct Shown {
        glyphmoor::Message message;
        QWidget* owner;
        bool windowVisible; // whether the main window was on screen then
    };
    using DialogScript = std::function<void(QDialog&)>;

    glyphmoor::MessageAnswer ShowMessage(QWidget* owner, const glyphmoor::Message& message) override;
    bool RunDialog(QDialog& dialog) override;

    std::vector<Shown> shown;
    std::deque<glyphmoor::MessageAnswer> answers; // then Yes or OK
    // Scripts that drive the next dialogs, open and active as for a user; without one a dialog is
    // cancelled, and what a script leaves open counts as still running.
    std::deque<DialogScript> dialogs;
    bool stillOpen = false;
};

void Type(QWidget* field, const QString& text);

// Types a name and a level into a character dialog and presses Enter.
ScriptedPrompter::DialogScript TypeCharacter(const QString& name, const QString& clvl);

// Copies the data files. The test set, compiled from data/*.txt: runes R00..R32 (clvl 2i+1,
// "Rune i\r\nsecond line"), item types Mel0..5, Mis0..5, Def0..5 (2 + i%5 sockets), runewords
// ("Grants <name>\r\nto the bearer") Alpha (R00 R01, Weapons), Twice (R02 R02, Def0), Gamma (R03-R05,
// Melee Weapons/Def1), Delta (R07, Mis1), Epsilon (R10-R13, Def2), Zeta (R20 R21, Missile Weapons),
// Eta (R00, Mel0).
void CopyDataFiles(const QString& folder, const QString& from = QStringLiteral(GLYPHMOOR_TEST_DATA_FILES));

struct RosterEntry {
    std::string name;
    int clvl;
    std::vector<int> runes;
    std::vector<int> items;
    int highlightedRune = 0;
    int highlightedItemType = 0;
    int highlightedRuneword = 0;
};
void WriteRoster(glyphmoor::FileStore& files, const std::vector<RosterEntry>& characters);

// A running program in a temporary folder.
class Harness {
public:
    void Start(); // builds and shows the frame

    MainFrame* Frame() const { return app->Frame(); }
    MainPanel& Panel() const { return *app->Frame()->Panel(); }
    SelectList& List(int id) const { return *Panel().List(id); }
    QString Pane(int pane) const { return app->Frame()->GetStatusLine()->PaneText(pane); }
    void Command(int id) { app->Frame()->Action(id)->trigger(); }
    void Press(const QString& button) const; // a button of the column, by its name
    bool Checked(int commandId) const; // as the menu holding it shows it
    QByteArray File(const QString& name) const;

    QTemporaryDir dir;
    glyphmoor::DiskFiles files{dir.path().toStdString()};
    ScriptedPrompter prompter;
    std::unique_ptr<RunewordFinderApp> app;
};

inline QPoint StateIconPoint(const SelectList& list, int row) { return list.StateIconRect(row).center(); }
inline QPoint LabelPoint(const SelectList& list, int row) // 3 pixels into the label, halfway down
{
    return {list.LabelRect(row).left() + 3, list.LabelRect(row).center().y()};
}
inline void Click(SelectList& list, QPoint point, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(list.Viewport(), button, {}, point);
}

} // namespace gui_test
