// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/MenuTable.h"
#include "core/Version.h"

#include <QMainWindow>

#include <utility>
#include <vector>

class MainPanel;
class Prompter;
class QMenu;
class StatusLine;

namespace glyphmoor {
class FileStore;
}

// The one top-level window: title, icon, menu bar, the panel and the status
// line, at a fixed size.
class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* Title = GLYPHMOOR_NAME " v" GLYPHMOOR_VERSION;

    MainFrame(Prompter& prompter, glyphmoor::FileStore& files);
    ~MainFrame() override;

    MainPanel* Panel() const { return panel; }
    StatusLine* GetStatusLine() const { return statusLine; }
    // The menu item of a command id.
    QAction* Action(int commandId) const;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildMenu();
    void Bind(QAction* action, const MenuCommand& command);
    void ShowAbout();

    Prompter& prompter;
    glyphmoor::FileStore& files;
    std::vector<std::pair<QAction*, MenuCommand>> markedActions; // the items with a check mark
    MainPanel* panel = nullptr;
    StatusLine* statusLine = nullptr;
};
