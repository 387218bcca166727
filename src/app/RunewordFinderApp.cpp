// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RunewordFinderApp.h"

#include "app/MainFrame.h"
#include "ui/MainPanel.h"
#include "ui/Prompter.h"
#include "core/Roster.h"

#include <QApplication>
#include <QScreen>


using namespace glyphmoor;

RunewordFinderApp::RunewordFinderApp(Prompter& prompter, FileStore& files) : prompter(prompter), files(files)
{
}

RunewordFinderApp::~RunewordFinderApp()
{
    delete frame.data();
}

int RunewordFinderApp::Run()
{
    const LockState lock = LockRosterFiles(files);
    if (lock == LockState::Taken) {
        prompter.Show(AlreadyRunningMessage());
        return 1;
    }
    // Without a lock another copy could write over this one's saves, and
    // this one over its: the session reads the files and writes none.
    if (lock != LockState::Held)
        unsaved = std::make_unique<UnsavedFiles>(files);
    files.RemoveLeftovers(RosterFileName);
    files.RemoveLeftovers(SettingsFileName);
    if (!InitInstance())
        return 1;
    if (unsaved && !ending)
        prompter.Show(UnsavedSessionMessage());
    if (!ending) {
        connect(frame, &QObject::destroyed, qApp, &QCoreApplication::quit);
        QApplication::exec();
    }
    if (frame != nullptr) {
        frame->disconnect(qApp);
        delete frame.data(); // the saves of a closing frame
    }
    return 0;
}

void RunewordFinderApp::EndRun()
{
    // Closing the frame here could delete it inside a dialog's own event
    // loop, under a dialog that still lives on the stack.
    ending = true;
    QCoreApplication::exit(0);
}

void RunewordFinderApp::SaveState()
{
    if (frame != nullptr)
        frame->Panel()->SaveState();
}

bool RunewordFinderApp::InitInstance()
{
    frame = new MainFrame(prompter, unsaved ? *unsaved : files);
    if (!frame->Panel()->Started()) {
        delete frame.data(); // saves nothing: the roster did not read
        return false;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect placed = frame->frameGeometry();
        placed.moveCenter(screen->availableGeometry().center());
        frame->move(placed.topLeft());
    }
    frame->show();
    frame->repaint();
    return true;
}
