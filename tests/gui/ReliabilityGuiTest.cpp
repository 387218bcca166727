// SPDX-License-Identifier: GPL-3.0-or-later
// Signals inside modal windows, a second copy, a file-size limit.
#include "GuiTestSupport.h"

#include "app/MainFrame.h"
#include "ui/ControlIds.h"
#include "app/RunewordFinderApp.h"
#include "app/TerminationSignals.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace gui_test;

namespace {

QByteArray Contents(const QTemporaryDir& dir, const char* name)
{
    QFile file(dir.filePath(QString::fromLatin1(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct SignalCase {
    const char* name;
    int command;
    int signalNumber;
}; // command 0: the first character

class SignalInModalWindow : public ::testing::TestWithParam<SignalCase> {};

TEST_P(SignalInModalWindow, EndsTheRunWithTheUsualSaves)
{
    const int command = GetParam().command;
    const int signalNumber = GetParam().signalNumber;
    QTemporaryDir dir;
    glyphmoor::DiskFiles files(dir.path().toStdString());
    TestData::WriteAll(files);
    if (command != 0)
        WriteRoster(files, {{"Anna", 30, {3}, {}, 0, 0, 0}});
    QtPrompter prompter; // real dialogs and message boxes, each in its own event loop
    RunewordFinderApp app(prompter, files);
    TerminationSignals terminations;
    QObject::connect(&terminations, &TerminationSignals::terminationRequested, &app,
                     &RunewordFinderApp::EndRun);
    if (command != 0)
        QTimer::singleShot(0, &app, [&app, command] { app.OnCommand(command); });
    QTimer::singleShot(300, [signalNumber] { std::raise(signalNumber); });
    EXPECT_EQ(app.Run(dir.path()), 0);
    const QByteArray settings = Contents(dir, "settings.dat");
    ASSERT_EQ(settings.size(), 28);
    EXPECT_EQ(settings[24], 0);
    EXPECT_EQ(Contents(dir, "chars.dat").size(), command != 0 ? 71 : 0);
}

INSTANTIATE_TEST_SUITE_P(Windows, SignalInModalWindow,
                         ::testing::Values(SignalCase{"NewCharacter", ids::NewCharacterCommand, SIGTERM},
                                           SignalCase{"EditCharacter", ids::EditCharacterCommand, SIGHUP},
                                           SignalCase{"DeleteQuestion", ids::DeleteCharacterCommand, SIGINT},
                                           SignalCase{"About", ids::AboutCommand, SIGTERM},
                                           SignalCase{"FirstCharacter", 0, SIGHUP}),
                         [](const auto& info) { return std::string(info.param.name); });

void Start(QProcess& program, const QTemporaryDir& dir, rlim_t fileLimit = RLIM_INFINITY)
{
    program.setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.setChildProcessModifier([fileLimit] {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{fileLimit, fileLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    program.start(GLYPHMOOR_PROGRAM, {});
    ASSERT_TRUE(program.waitForStarted(10000));
    QTest::qWait(1500); // until its window is up
}

void Send(QProcess& program, int signalNumber)
{
    if (program.state() == QProcess::Running) // a process id of 0 would signal this whole group
        ::kill(static_cast<pid_t>(program.processId()), signalNumber);
}

// A second copy, then a killed one, then one under a file-size limit.
TEST(ReliabilityProgram, OneCopyPerFolderAndAFileSizeLimitLoseNothing)
{
    QTemporaryDir dir;
    glyphmoor::DiskFiles files(dir.path().toStdString());
    TestData::WriteAll(files);
    WriteRoster(files, std::vector<CharacterSpec>(20, {"Anna", 30, {3}, {}, 0, 0, 0})); // 1,420 bytes
    const QByteArray roster = Contents(dir, "chars.dat");
    QProcess first, second, third;
    Start(first, dir);
    Start(second, dir); // the folder is taken: it waits in its message box
    Send(second, SIGTERM);
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("settings.dat")));
    Send(first, SIGKILL); // leaves its lock, and a save it had begun
    ASSERT_TRUE(first.waitForFinished(20000));
    files.Replace("chars.dat.new-999999999-0", {});
    Start(third, dir, 1000);
    Send(third, SIGTERM); // the save of chars.dat passes the limit: its message box
    QTest::qWait(1000);
    Send(third, SIGTERM); // closes the box
    ASSERT_TRUE(third.waitForFinished(20000));
    EXPECT_EQ(third.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(third.exitCode(), 0);
    EXPECT_EQ(Contents(dir, "chars.dat"), roster);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"chars.dat", "items.dat", "runes.dat", "runewords.dat", "settings.dat"}));
}

} // namespace
