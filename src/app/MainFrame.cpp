// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainFrame.h"

#include "ui/ControlIds.h"
#include "ui/MainPanel.h"
#include "app/MenuTable.h"
#include "app/RunewordFinderApp.h"
#include "ui/StatusLine.h"
#include "ui/UiFont.h"

#include <QDir>
#include <QEvent>
#include <QIcon>
#include <QMenuBar>

#include <vector>

MainFrame::MainFrame(RunewordFinderApp& app, Prompter& prompter, glyphmoor::FileStore& files)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      app(app)
{
    setObjectName(QStringLiteral("MainFrame"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromLatin1(Title));

    // The panel loads the data and the roster while it is created, so their
    // messages come before the window shows.
    panel = new MainPanel(this, prompter, files);
    panel->Create();
    setCentralWidget(panel);

    // Icon 102 at every size it is drawn in, so that the window manager and
    // the task switcher need not scale it.
    QIcon icon;
    for (const QString& file : QDir(QStringLiteral(":/icons"), QStringLiteral("102-*.png")).entryList())
        icon.addFile(QStringLiteral(":/icons/") + file);
    setWindowIcon(icon);
    BuildMenu();

    statusLine = new StatusLine(this);
    setStatusBar(statusLine);
    panel->SetStatusLine(statusLine);

    ApplyUiFont(this);
    menuBar()->setFont(UiFont());
    setFixedSize(sizeHint());

    panel->ApplyStartupSettings();
}

MainFrame::~MainFrame()
{
    // The panel's destruction step needs the status line and the lists, so
    // it runs before any of them is gone.
    panel->SaveOnDestroy();
}

void MainFrame::BuildMenu()
{
    std::vector<QMenu*> open;
    QMenuBar* bar = menuBar();
    bar->setObjectName(QString::number(ids::MainMenu));
    for (const MenuEntry& entry : MainMenuTable()) {
        switch (entry.kind) {
        case MenuEntry::Popup: {
            const QString text = QString::fromLatin1(entry.text);
            QMenu* menu = open.empty() ? bar->addMenu(text) : open.back()->addMenu(text);
            // Check marks follow the current values each time a menu shows.
            connect(menu, &QMenu::aboutToShow, this, [this, menu] {
                for (QAction* action : menu->actions()) {
                    if (action->isCheckable())
                        app.UpdateMenuState(*action, action->objectName().toInt());
                }
            });
            open.push_back(menu);
            break;
        }
        case MenuEntry::EndPopup:
            open.pop_back();
            break;
        case MenuEntry::Separator:
            open.back()->addSeparator();
            break;
        case MenuEntry::Item: {
            QAction* action = open.back()->addAction(QString::fromLatin1(entry.text));
            action->setObjectName(QString::number(entry.id));
            action->setCheckable(RunewordFinderApp::HasCheckMark(entry.id));
            const int id = entry.id;
            connect(action, &QAction::triggered, this, [this, id] { app.OnCommand(id); });
            break;
        }
        }
    }
}

QAction* MainFrame::Action(int commandId) const
{
    return menuBar()->findChild<QAction*>(QString::number(commandId));
}

void MainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::StyleChange && panel != nullptr)
        panel->FitColumnsToScrollBar();
}
