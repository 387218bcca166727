// SPDX-License-Identifier: GPL-3.0-or-later
// The real window, offscreen: each operation a player performs, measured
// until the runeword list, its selection, the status line and the info box
// are rebuilt (all of it happens before the call returns).
#include "core/Character.h"
#include "ui/ControlIds.h"
#include "core/FileStore.h"
#include "app/MainFrame.h"
#include "ui/MainPanel.h"
#include "ui/Prompter.h"
#include "app/RunewordFinderApp.h"
#include "ui/SelectList.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

using namespace glyphmoor;

namespace {

class SilentPrompter final : public Prompter {
public:
    MessageAnswer ShowMessage(QWidget*, const Message&) override { return MessageAnswer::Ok; }
    bool RunDialog(QDialog&) override { return false; }
};

// A running program on the sample data with ten characters; the first has
// every rune and item type ticked (51 ticks).
class Window {
public:
    Window() : files(dir.path().toStdString())
    {
        for (const char* name : {"runes.dat", "items.dat", "runewords.dat"})
            QFile::copy(QString(GLYPHMOOR_SAMPLE_DATA "/") + name, dir.filePath(name));
        Bytes roster;
        for (int k = 0; k < 10; ++k) {
            Character character(k);
            character.SetNameAndClvl("Hero" + std::to_string(k), 10 + 8 * k);
            for (int i = 0; i < 33 && k == 0; ++i)
                character.SetRuneTick(i, true);
            for (int i = 0; i < 18 && k == 0; ++i)
                character.SetItemTypeTick(i, true);
            character.SetHighlights(k, k, k);
            const auto record = character.EncodeRecord();
            roster.insert(roster.end(), record->begin(), record->end());
        }
        files.Replace("chars.dat", roster);
        app = std::make_unique<RunewordFinderApp>(prompter, files);
        app->InitInstance();
        if (!QTest::qWaitForWindowExposed(app->Frame()))
            std::abort();
    }

    MainPanel& Panel() const { return *app->Frame()->Panel(); }
    SelectList& List(int id) const { return *Panel().List(id); }

    QTemporaryDir dir;
    DiskFiles files;
    SilentPrompter prompter;
    std::unique_ptr<RunewordFinderApp> app;
};

void ReportRebuilds(benchmark::State& state, const MainPanel& panel, int before)
{
    state.counters["rebuilds_per_op"] =
        static_cast<double>(panel.GetSession().ListingCount() - before) / static_cast<double>(state.iterations());
    state.counters["rows"] = panel.List(ids::RunewordList)->GetRowCount();
}

void BM_TickClick(benchmark::State& state)
{
    Window window;
    SelectList& runes = window.List(ids::RuneList);
    const QPoint icon = runes.StateIconRect(5).center();
    QTest::mouseClick(runes.Viewport(), Qt::LeftButton, {}, icon); // settles the snapshot
    const int before = window.Panel().GetSession().ListingCount();
    for (auto _ : state)
        QTest::mouseClick(runes.Viewport(), Qt::LeftButton, {}, icon);
    ReportRebuilds(state, window.Panel(), before);
}
BENCHMARK(BM_TickClick)->Unit(benchmark::kMicrosecond);

void BM_AllRunesButton(benchmark::State& state)
{
    Window window;
    auto* button = window.Panel().findChild<QPushButton*>(QString::number(ids::AllRunesButton));
    const int before = window.Panel().GetSession().ListingCount();
    for (auto _ : state)
        button->click();
    ReportRebuilds(state, window.Panel(), before);
}
BENCHMARK(BM_AllRunesButton)->Unit(benchmark::kMicrosecond);

void BM_FiltersCommand(benchmark::State& state)
{
    Window window;
    QAction* any = window.app->Frame()->Action(ids::AnyRuneRule);
    QAction* all = window.app->Frame()->Action(ids::AllRunesRule);
    const int before = window.Panel().GetSession().ListingCount();
    bool flip = false;
    for (auto _ : state) {
        (flip ? all : any)->trigger();
        flip = !flip;
    }
    ReportRebuilds(state, window.Panel(), before);
}
BENCHMARK(BM_FiltersCommand)->Unit(benchmark::kMicrosecond);

void BM_CharacterSwitch(benchmark::State& state)
{
    Window window;
    const int before = window.Panel().GetSession().ListingCount();
    for (auto _ : state)
        window.Panel().ApplySelectedCharacter(); // the first character: 51 ticks
    ReportRebuilds(state, window.Panel(), before);
}
BENCHMARK(BM_CharacterSwitch)->Unit(benchmark::kMicrosecond);

} // namespace
