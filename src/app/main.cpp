#include "FileStore.h"
#include "MainFrame.h"
#include "Prompter.h"
#include "RunewordFinderApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QtPrompter prompter;
    glyphmoor::DiskFiles files;
    RunewordFinderApp app(prompter, files);
    app.InitInstance();
    QObject::connect(app.Frame(), &QObject::destroyed, &application, &QApplication::quit);
    return QApplication::exec();
}
