// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Settings.h"

#include <QObject>
#include <QPointer>

class MainFrame;
class Prompter;
class QAction;

namespace glyphmoor {
class FileStore;
}

// The program: starts the frame and handles the menu commands.
class RunewordFinderApp : public QObject {
    Q_OBJECT
public:
    RunewordFinderApp(Prompter& prompter, glyphmoor::FileStore& files);
    ~RunewordFinderApp() override;

    // Builds the frame (which loads the data), centres it and shows it.
    bool InitInstance();
    MainFrame* Frame() const { return frame; }

    void OnCommand(int commandId);
    static bool HasCheckMark(int commandId);
    void UpdateMenuState(QAction& item, int commandId) const;

    void OnFilterRune(glyphmoor::RuneRule rule);
    void OnFilterCharacter(glyphmoor::CharacterRule rule);
    void OnFilterClvlOver(int bound);
    void OnFilterClvlUnder(int bound);
    void OnFilterIgnoreClvl();
    void OnInfoKind(glyphmoor::InfoKind kind);
    void OnAppAbout();
    void OnAppExit();

private:
    Prompter& prompter;
    glyphmoor::FileStore& files;
    QPointer<MainFrame> frame;
};
