// SPDX-License-Identifier: GPL-3.0-or-later
// Glyphmoor's own start-up, ending as soon as its window has been shown and
// painted: for measuring the whole process from outside.
#include "core/FileStore.h"
#include "app/MainFrame.h"
#include "ui/Prompter.h"
#include "app/RunewordFinderApp.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QtPrompter prompter;
    glyphmoor::DiskFiles files;
    RunewordFinderApp app(prompter, files);
    app.InitInstance();
    QTimer::singleShot(0, &application, &QApplication::quit);
    return QApplication::exec();
}
