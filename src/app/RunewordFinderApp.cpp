// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RunewordFinderApp.h"

#include "ui/AboutDialog.h"
#include "ui/ControlIds.h"
#include "app/MainFrame.h"
#include "ui/MainPanel.h"
#include "ui/Prompter.h"
#include "core/Roster.h"

#include <QAction>
#include <QApplication>
#include <QScreen>

#include <algorithm>
#include <iterator>

using namespace glyphmoor;

namespace {

// What a Filters or Options command sets; its menu item is marked while the
// setting holds the command's value.
enum class Setting { RuneRule, CharacterRule, ClvlOver, ClvlUnder, IgnoreClvlLimits, InfoKind };

struct MarkedCommand {
    int id;
    Setting setting;
    RuneRule runeRule = AllRunes;
    CharacterRule characterRule = IgnoreCharacters;
    int clvl = 0;
    InfoKind infoKind = DefaultInfoKind;
};

using S = Setting;

constexpr MarkedCommand MarkedCommands[] = {
    {.id = ids::AllRunesRule, .setting = S::RuneRule, .runeRule = AllRunes},
    {.id = ids::AnyRuneRule, .setting = S::RuneRule, .runeRule = AnyRune},
    {.id = ids::IgnoreRunesRule, .setting = S::RuneRule, .runeRule = IgnoreRunes},
    {.id = ids::SelectedCharacterRule, .setting = S::CharacterRule, .characterRule = SelectedCharacter},
    {.id = ids::AnyCharacterRule, .setting = S::CharacterRule, .characterRule = AnyCharacter},
    {.id = ids::IgnoreCharactersRule, .setting = S::CharacterRule, .characterRule = IgnoreCharacters},
    {.id = ids::ClvlOver15, .setting = S::ClvlOver, .clvl = 15},
    {.id = ids::ClvlOver20, .setting = S::ClvlOver, .clvl = 20},
    {.id = ids::ClvlOver25, .setting = S::ClvlOver, .clvl = 25},
    {.id = ids::ClvlOver30, .setting = S::ClvlOver, .clvl = 30},
    {.id = ids::ClvlOver35, .setting = S::ClvlOver, .clvl = 35},
    {.id = ids::ClvlOver40, .setting = S::ClvlOver, .clvl = 40},
    {.id = ids::ClvlOver45, .setting = S::ClvlOver, .clvl = 45},
    {.id = ids::ClvlOver50, .setting = S::ClvlOver, .clvl = 50},
    {.id = ids::ClvlOver55, .setting = S::ClvlOver, .clvl = 55},
    {.id = ids::ClvlOver60, .setting = S::ClvlOver, .clvl = 60},
    {.id = ids::ClvlUnder20, .setting = S::ClvlUnder, .clvl = 20},
    {.id = ids::ClvlUnder25, .setting = S::ClvlUnder, .clvl = 25},
    {.id = ids::ClvlUnder30, .setting = S::ClvlUnder, .clvl = 30},
    {.id = ids::ClvlUnder35, .setting = S::ClvlUnder, .clvl = 35},
    {.id = ids::ClvlUnder40, .setting = S::ClvlUnder, .clvl = 40},
    {.id = ids::ClvlUnder45, .setting = S::ClvlUnder, .clvl = 45},
    {.id = ids::ClvlUnder50, .setting = S::ClvlUnder, .clvl = 50},
    {.id = ids::ClvlUnder55, .setting = S::ClvlUnder, .clvl = 55},
    {.id = ids::ClvlUnder60, .setting = S::ClvlUnder, .clvl = 60},
    {.id = ids::ClvlUnder65, .setting = S::ClvlUnder, .clvl = 65},
    {.id = ids::IgnoreClvlLimits, .setting = S::IgnoreClvlLimits},
    {.id = ids::ShowRuneInfo, .setting = S::InfoKind, .infoKind = RuneInfo},
    {.id = ids::ShowItemInfo, .setting = S::InfoKind, .infoKind = ItemInfo},
    {.id = ids::ShowRunewordInfo, .setting = S::InfoKind, .infoKind = RunewordInfo},
};

const MarkedCommand* FindMarked(int id)
{
    const auto* found = std::find_if(std::begin(MarkedCommands), std::end(MarkedCommands),
                                     [id](const MarkedCommand& command) { return command.id == id; });
    return found == std::end(MarkedCommands) ? nullptr : found;
}

bool IsMarked(const MarkedCommand& command, const FilterSettings& filter, InfoKind infoKind)
{
    switch (command.setting) {
    case S::RuneRule:
        return filter.runeRule == command.runeRule;
    case S::CharacterRule:
        return filter.characterRule == command.characterRule;
    case S::ClvlOver:
        return filter.clvlOver == command.clvl;
    case S::ClvlUnder:
        return filter.clvlUnder == command.clvl;
    case S::IgnoreClvlLimits:
        return filter.ignoreClvlLimits;
    case S::InfoKind:
        return infoKind == command.infoKind;
    }
    return false;
}

} // namespace

RunewordFinderApp::RunewordFinderApp(Prompter& prompter, FileStore& files) : prompter(prompter), files(files)
{
}

RunewordFinderApp::~RunewordFinderApp()
{
    delete frame.data();
}

int RunewordFinderApp::Run()
{
    const LockState lock = LockRosterFiles(files);
    if (lock == LockState::Taken) {
        prompter.Show(AlreadyRunningMessage());
        return 1;
    }
    // Without a lock another copy could write over this one's saves, and
    // this one over its: the session reads the files and writes none.
    if (lock != LockState::Held)
        unsaved = std::make_unique<UnsavedFiles>(files);
    files.RemoveLeftovers(RosterFileName);
    files.RemoveLeftovers(SettingsFileName);
    if (!InitInstance())
        return 1;
    if (unsaved && !ending)
        prompter.Show(UnsavedSessionMessage());
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
    frame = new MainFrame(*this, prompter, unsaved ? *unsaved : files);
    if (!frame->Panel()->Started()) {
        delete frame.data(); // saves nothing: the roster did not read
        return false;
    }
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
    if (const MarkedCommand* command = FindMarked(id)) {
        switch (command->setting) {
        case S::RuneRule:
            OnFilterRune(command->runeRule);
            break;
        case S::CharacterRule:
            OnFilterCharacter(command->characterRule);
            break;
        case S::ClvlOver:
            OnFilterClvlOver(command->clvl);
            break;
        case S::ClvlUnder:
            OnFilterClvlUnder(command->clvl);
            break;
        case S::IgnoreClvlLimits:
            OnFilterIgnoreClvl();
            break;
        case S::InfoKind:
            OnInfoKind(command->infoKind);
            break;
        }
        return;
    }
    MainPanel& panel = *frame->Panel();
    switch (id) {
    case ids::NewCharacterCommand:
        panel.NewCharacter(true);
        break;
    case ids::EditCharacterCommand:
        panel.EditCharacter();
        break;
    case ids::DeleteCharacterCommand:
        panel.DeleteCharacter();
        break;
    case ids::AboutCommand:
        OnAppAbout();
        break;
    case ids::ExitCommand:
        OnAppExit();
        break;
    default:
        break;
    }
}

bool RunewordFinderApp::HasCheckMark(int id)
{
    return FindMarked(id) != nullptr;
}

void RunewordFinderApp::UpdateMenuState(QAction& item, int id) const
{
    if (frame == nullptr)
        return;
    const MainPanel& panel = *frame->Panel();
    const MarkedCommand* command = FindMarked(id);
    item.setEnabled(true);
    item.setChecked(command != nullptr &&
                    IsMarked(*command, panel.GetSession().Filter(), panel.GetSession().GetInfoKind()));
}

void RunewordFinderApp::OnFilterRune(RuneRule rule)
{
    frame->Panel()->GetSession().SetRuneRule(rule);
}

void RunewordFinderApp::OnFilterCharacter(CharacterRule rule)
{
    frame->Panel()->GetSession().SetCharacterRule(rule);
}

void RunewordFinderApp::OnFilterClvlOver(int bound)
{
    frame->Panel()->GetSession().SetClvlOver(bound);
}

void RunewordFinderApp::OnFilterClvlUnder(int bound)
{
    frame->Panel()->GetSession().SetClvlUnder(bound);
}

void RunewordFinderApp::OnFilterIgnoreClvl()
{
    frame->Panel()->GetSession().FlipIgnoreClvlLimits();
}

void RunewordFinderApp::OnInfoKind(InfoKind kind)
{
    frame->Panel()->ShowInfo(kind);
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
