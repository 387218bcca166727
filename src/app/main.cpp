// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileStore.h"
#include "app/MainFrame.h"
#include "ui/MainPanel.h"
#include "ui/Prompter.h"
#include "app/RunewordFinderApp.h"
#include "app/TerminationSignals.h"
#include "core/Version.h"

#include <QApplication>
#include <QPointer>
#include <QSessionManager>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(GLYPHMOOR_APP_ID));
    QtPrompter prompter;
    glyphmoor::DiskFiles files;
    RunewordFinderApp app(prompter, files);
    app.InitInstance();
    QPointer<MainFrame> frame = app.Frame();
    QObject::connect(frame, &QObject::destroyed, &application, &QApplication::quit);

    // Ending by a signal or by the desktop session closes the window as the
    // close box does, so the character and the settings are saved.
    TerminationSignals terminations;
    QObject::connect(&terminations, &TerminationSignals::terminationRequested, frame, [frame] {
        if (frame != nullptr)
            frame->close();
    });
    QObject::connect(&application, &QGuiApplication::commitDataRequest, frame, [frame](QSessionManager&) {
        if (frame != nullptr)
            frame->Panel()->SaveState();
    });
    return QApplication::exec();
}
