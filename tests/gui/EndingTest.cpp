// SPDX-License-Identifier: GPL-3.0-or-later
// Ending by a signal saves as the close box does.
#include "GuiTestSupport.h"

#include "ui/ControlIds.h"
#include "app/MainFrame.h"
#include "ui/SelectList.h"
#include "app/TerminationSignals.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

using namespace gui_test;

TEST(Ending, SignalClosesTheWindowInTheNormalOrder)
{
    Harness harness;
    TestData::WriteAll(harness.files);
    WriteRoster(harness.files, {{"Anna", 30, {}, {}, 0, 0, 0}});
    harness.Start();
    TerminationSignals terminations;
    MainFrame* frame = harness.Frame();
    QObject::connect(&terminations, &TerminationSignals::terminationRequested, frame, &QWidget::close);

    SelectList& runes = harness.List(ids::RuneList);
    Click(runes, StateIconPoint(runes, 12));
    harness.Command(ids::AnyRuneRule);
    std::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&harness] { return harness.Frame() == nullptr; }, 5000));

    const QByteArray roster = harness.File("chars.dat");
    ASSERT_EQ(roster.size(), 71);
    EXPECT_EQ(roster[17 + 12], 1);
    const QByteArray settings = harness.File("settings.dat");
    ASSERT_EQ(settings.size(), 28);
    EXPECT_EQ(settings[0], 2);
}

TEST(Ending, TheProgramSavesWhenTerminated)
{
    QTemporaryDir dir;
    glyphmoor::DiskFiles files(dir.path().toStdString());
    TestData::WriteAll(files);
    WriteRoster(files, {{"Anna", 30, {3, 4}, {5}, 3, 5, 0}, {"Bert", 12, {}, {}, 0, 0, 0}});

    QProcess program;
    program.setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(GLYPHMOOR_PROGRAM, {});
    ASSERT_TRUE(program.waitForStarted(10000));
    // Give it time to load and show its window, then end it as a desktop would.
    QTest::qWait(1500);
    ASSERT_EQ(program.state(), QProcess::Running); // a process id of 0 would signal this whole group
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    QFile settings(dir.filePath("settings.dat"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray expected = QByteArray::fromHex("01000000030000000000000064000000010000000300000000000000");
    EXPECT_EQ(settings.readAll(), expected);
    QFile roster(dir.filePath("chars.dat"));
    ASSERT_TRUE(roster.open(QIODevice::ReadOnly));
    const QByteArray bytes = roster.readAll();
    ASSERT_EQ(bytes.size(), 2 * 71);
    EXPECT_EQ(bytes[17 + 3], 1);
    EXPECT_EQ(bytes[50 + 5], 1);
    EXPECT_EQ(bytes[68], 3);
    EXPECT_EQ(bytes[69], 5);
}
