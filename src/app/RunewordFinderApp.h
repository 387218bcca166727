// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class MainFrame;
class Prompter;

namespace glyphmoor {
class FileStore;
}

// The program's life: the folder lock, the leftovers of interrupted saves,
// the start, the end by a signal or the desktop session, and the saves.
class RunewordFinderApp : public QObject {
    Q_OBJECT
public:
    RunewordFinderApp(Prompter& prompter, glyphmoor::FileStore& files);
    ~RunewordFinderApp() override;

    // The whole run on the files: their lock, the removal of what
    // interrupted saves left, start-up, the event loop and the saves at the
    // end. Returns the exit status: 0, or 1 when another copy runs or the
    // roster does not read. Without a lock the session saves nothing, and
    // says so.
    int Run();
    // Ends the run from any state: every event loop returns, so open dialogs
    // and message boxes end as cancelled and the code that opened them
    // finishes; then the frame closes from the outermost level and saves as
    // the close box does. Nothing is freed while a dialog still uses it.
    void EndRun();
    // The saves of the end of the run, while it goes on.
    void SaveState();

    // Builds the frame (which loads the data), centres it and shows it;
    // false, with no frame, when the roster did not read.
    bool InitInstance();
    MainFrame* Frame() const { return frame; }

private:
    Prompter& prompter;
    glyphmoor::FileStore& files;
    std::unique_ptr<glyphmoor::FileStore> unsaved; // the files a session without lock sees
    QPointer<MainFrame> frame;
    bool ending = false;
};
