// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RunewordFinderApp.h"

#include "app/FolderLock.h"
#include "ui/AboutDialog.h"
#include "ui/ControlIds.h"
#include "app/MainFrame.h"
#include "ui/MainPanel.h"
#include "ui/Prompter.h"

#include <QAction>
#include <QApplication>
#include <QScreen>

using namespace glyphmoor;

namespace {

bool InRange(int id, int first, int last)
{
    return id >= first && id <= last;
}

int ClvlOverOf(int commandId)
{
    return (commandId - 40297) * 5;
}

int ClvlUnderOf(int commandId)
{
    return (commandId - 40306) * 5;
}

} // namespace

RunewordFinderApp::RunewordFinderApp(Prompter& prompter, FileStore& files) : prompter(prompter), files(files)
{
}

RunewordFinderApp::~RunewordFinderApp()
{
    delete frame.data();
}

int RunewordFinderApp::Run(const QString& folder)
{
    FolderLock lock(folder);
    if (!lock.Take(prompter))
        return 1;
    files.RemoveLeftovers(RosterFileName);
    files.RemoveLeftovers(SettingsFileName);
    InitInstance();
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
    frame = new MainFrame(*this, prompter, files);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect placed = frame->frameGeometry();
        placed.moveCenter(screen->availableGeometry().center());
        frame->move(placed.topLeft());
    }
    frame->show();
    frame->repaint();
    return true;
}

void RunewordFinderApp::OnCommand(int id)
{
    if (frame == nullptr)
        return;
    MainPanel& panel = *frame->Panel();
    if (InRange(id, ids::AllRunesRule, ids::IgnoreRunesRule))
        OnFilterRune(id);
    else if (InRange(id, ids::SelectedCharacterRule, ids::IgnoreCharactersRule))
        OnFilterCharacter(id);
    else if (InRange(id, ids::ClvlOverFirst, ids::ClvlOverLast))
        OnFilterClvlOver(id);
    else if (InRange(id, ids::ClvlUnderFirst, ids::ClvlUnderLast))
        OnFilterClvlUnder(id);
    else if (id == ids::IgnoreClvlLimits)
        OnFilterIgnoreClvl();
    else if (InRange(id, ids::ShowRuneInfo, ids::ShowRunewordInfo))
        OnInfoKind(id);
    else if (id == ids::NewCharacterCommand)
        panel.NewCharacter(true);
    else if (id == ids::EditCharacterCommand)
        panel.EditCharacter();
    else if (id == ids::DeleteCharacterCommand)
        panel.DeleteCharacter();
    else if (id == ids::AboutCommand)
        OnAppAbout();
    else if (id == ids::ExitCommand)
        OnAppExit();
}

bool RunewordFinderApp::HasCheckMark(int id)
{
    return InRange(id, ids::AllRunesRule, ids::IgnoreRunesRule) ||
           InRange(id, ids::SelectedCharacterRule, ids::IgnoreCharactersRule) ||
           InRange(id, ids::ClvlOverFirst, ids::ClvlUnderLast) || id == ids::IgnoreClvlLimits ||
           InRange(id, ids::ShowRuneInfo, ids::ShowRunewordInfo);
}

void RunewordFinderApp::UpdateMenuState(QAction& item, int id) const
{
    if (frame == nullptr)
        return;
    const MainPanel& panel = *frame->Panel();
    const FilterSettings& filter = panel.Filter();
    bool checked = false;
    if (InRange(id, ids::AllRunesRule, ids::IgnoreRunesRule))
        checked = filter.runeRule == id - 40100;
    else if (InRange(id, ids::SelectedCharacterRule, ids::IgnoreCharactersRule))
        checked = filter.characterRule == id - 40200;
    else if (InRange(id, ids::ClvlOverFirst, ids::ClvlOverLast))
        checked = filter.clvlOver == ClvlOverOf(id);
    else if (InRange(id, ids::ClvlUnderFirst, ids::ClvlUnderLast))
        checked = filter.clvlUnder == ClvlUnderOf(id);
    else if (id == ids::IgnoreClvlLimits)
        checked = filter.ignoreClvlLimits;
    else if (InRange(id, ids::ShowRuneInfo, ids::ShowRunewordInfo))
        checked = panel.GetInfoKind() == id - 41200;
    item.setEnabled(true);
    item.setChecked(checked);
}

void RunewordFinderApp::OnFilterRune(int id)
{
    MainPanel& panel = *frame->Panel();
    panel.Filter().runeRule = id - 40100;
    panel.RefreshRunewordList(false);
}

void RunewordFinderApp::OnFilterCharacter(int id)
{
    MainPanel& panel = *frame->Panel();
    panel.Filter().characterRule = id - 40200;
    panel.RefreshRunewordList(false);
}

void RunewordFinderApp::OnFilterClvlOver(int id)
{
    MainPanel& panel = *frame->Panel();
    FilterSettings& filter = panel.Filter();
    filter.clvlOver = ClvlOverOf(id);
    filter.clvlUnder = 100;
    filter.ignoreClvlLimits = false;
    panel.RefreshRunewordList(false);
}

void RunewordFinderApp::OnFilterClvlUnder(int id)
{
    MainPanel& panel = *frame->Panel();
    FilterSettings& filter = panel.Filter();
    filter.clvlUnder = ClvlUnderOf(id);
    filter.clvlOver = 0;
    filter.ignoreClvlLimits = false;
    panel.RefreshRunewordList(false);
}

void RunewordFinderApp::OnFilterIgnoreClvl()
{
    MainPanel& panel = *frame->Panel();
    panel.Filter().ignoreClvlLimits = !panel.Filter().ignoreClvlLimits;
    panel.RefreshRunewordList(false);
}

void RunewordFinderApp::OnInfoKind(int id)
{
    MainPanel& panel = *frame->Panel();
    panel.SetInfoKind(id - 41200);
    panel.ShowInfo(panel.GetInfoKind());
}

void RunewordFinderApp::OnAppAbout()
{
    AboutDialog about(files, frame);
    prompter.RunDialog(about);
}

void RunewordFinderApp::OnAppExit()
{
    frame->close();
}
