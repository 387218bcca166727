// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileStore.h"
#include "app/MainFrame.h"
#include "ui/Prompter.h"
#include "app/RunewordFinderApp.h"
#include "app/TerminationSignals.h"
#include "core/Version.h"
#include "ui/UiFont.h"

#include <QApplication>
#include <QSessionManager>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(GLYPHMOOR_APP_ID));
    UseUiStyle();
    QtPrompter prompter;
    glyphmoor::DiskFiles files;
    RunewordFinderApp app(prompter, files);

    // Ending by a signal, a close request from outside or the desktop
    // session saves as the close box does, whatever dialog is open.
    TerminationSignals terminations;
    QObject::connect(&terminations, &TerminationSignals::terminationRequested, &app,
                     &RunewordFinderApp::EndRun);
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &app,
                     [&app](QSessionManager&) { app.SaveState(); });
    return app.Run();
}
