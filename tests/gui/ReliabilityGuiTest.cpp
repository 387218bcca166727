// SPDX-License-Identifier: GPL-3.0-or-later
// A termination signal while a modal window runs its own event loop.
#include "GuiTestSupport.h"

#include "app/MainFrame.h"
#include "app/RunewordFinderApp.h"
#include "app/TerminationSignals.h"
#include "ui/ControlIds.h"

#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

using namespace gui_test;

namespace {

struct SignalCase {
    const char* name;
    int command; // 0: the first character's dialog
    int signalNumber;
};

class SignalInModalWindow : public ::testing::TestWithParam<SignalCase> {};

TEST_P(SignalInModalWindow, EndsTheRunWithTheUsualSaves)
{
    const auto [name, command, signalNumber] = GetParam();
    QTemporaryDir dir;
    glyphmoor::DiskFiles files(dir.path().toStdString());
    CopyDataFiles(dir.path());
    if (command != 0)
        WriteRoster(files, {{"Anna", 30, {3}, {}, 0, 0, 0}});
    QtPrompter prompter; // real dialogs and message boxes, each in its own event loop
    RunewordFinderApp app(prompter, files);
    TerminationSignals terminations;
    QObject::connect(&terminations, &TerminationSignals::terminationRequested, &app,
                     &RunewordFinderApp::EndRun);
    if (command != 0)
        QTimer::singleShot(0, &app, [&app, command = command] { app.OnCommand(command); });
    QTimer::singleShot(300, [signalNumber = signalNumber] { std::raise(signalNumber); });
    EXPECT_EQ(app.Run(dir.path()), 0);
    QFile settings(dir.filePath("settings.dat")), roster(dir.filePath("chars.dat"));
    EXPECT_TRUE(settings.open(QIODevice::ReadOnly) && settings.readAll().size() == 28);
    EXPECT_EQ(roster.size(), command != 0 ? 71 : 0);
}

INSTANTIATE_TEST_SUITE_P(Windows, SignalInModalWindow,
                         ::testing::Values(SignalCase{"NewCharacter", ids::NewCharacterCommand, SIGTERM},
                                           SignalCase{"EditCharacter", ids::EditCharacterCommand, SIGHUP},
                                           SignalCase{"DeleteQuestion", ids::DeleteCharacterCommand, SIGINT},
                                           SignalCase{"About", ids::AboutCommand, SIGTERM},
                                           SignalCase{"FirstCharacter", 0, SIGHUP}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
