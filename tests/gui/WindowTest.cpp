// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a player uses it: start-up, closing, a signal in a modal window, one copy per folder,
// ticking with the mouse, the keys and the group buttons, the info box and the status line.
#include "GuiTestSupport.h"

#include "app/TerminationSignals.h"
#include "ui/UiFont.h"

#include <QAbstractItemModelTester>
#include <QAbstractItemView>
#include <QAccessible>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStyle>
#include <QTimer>

#include <csignal>
#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#endif

using namespace gui_test;

namespace {

class Window : public testing::Test {
protected:
    void SetUp() override
    {
        CopyDataFiles(harness.dir.path());
        // Anna: runes 0-2, items Mel0 and Def0; Bert: nothing ticked.
        WriteRoster(harness.files,
                    {{"Anna", 30, {0, 1, 2}, {0, 12}, 1, 0, 0}, {"Bert", 10, {}, {}, 4, 3, 0}});
    }

    std::vector<QString> Runewords() const
    {
        std::vector<QString> names;
        for (int row = 0; row < harness.List(ids::RunewordList).GetRowCount(); ++row)
            names.push_back(harness.List(ids::RunewordList).GetItemText(row, 0));
        return names;
    }

    int Refreshes() const { return harness.Panel().GetSession().ListingCount(); }
    QString Info() const { return harness.Panel().InfoBox()->toPlainText(); }

    Harness harness;
};

} // namespace

TEST_F(Window, MissingDataFileIsReportedBeforeTheWindowShows)
{
    harness.files.Remove("items.dat");
    harness.Start();
    ASSERT_EQ(harness.prompter.shown.size(), 1u);
    EXPECT_EQ(harness.prompter.shown[0].message,
              (glyphmoor::Message{"Error...", "File not found: 'items.dat'",
                                  glyphmoor::MessageIcon::Exclamation, glyphmoor::MessageButtons::Ok}));
    EXPECT_FALSE(harness.prompter.shown[0].windowVisible);
}

TEST_F(Window, StartupAppliesTheStoredCharacterAndSettings)
{
    harness.files.Replace(
        "settings.dat",
        glyphmoor::EncodeSettings({glyphmoor::AnyRune, glyphmoor::SelectedCharacter, 0, 100, false},
                                  glyphmoor::RuneInfo, 1));
    WriteRoster(harness.files,
                {{"Anna", 30, {0, 1, 2}, {0, 12}, 1, 0, 0}, {"Bert", 10, {0, 2}, {0, 1, 12}, 2, 12, 1}});
    harness.Start();
    EXPECT_TRUE(harness.prompter.shown.empty());
    EXPECT_EQ(harness.List(ids::CharacterList).GetFirstSelectedRow(), 1);
    const SelectList& runes = harness.List(ids::RuneList);
    EXPECT_EQ(std::make_tuple(runes.GetTick(0), runes.GetTick(1), runes.GetTick(2), runes.GetTick(3)),
              std::make_tuple(1, 0, 1, 0));
    // Runes 0 and 2 with Mel0, Mel1, Def0 at Clvl 10, any rune: Alpha, Twice (selected), Eta.
    EXPECT_EQ(Runewords(), (std::vector<QString>{"Alpha", "Twice", "Eta"}));
    EXPECT_EQ(harness.List(ids::RunewordList).GetItemText(1, 1), "R02 R02");
    // Alpha lacks R01: marked under its place in the rune order, and named
    // after the row for screen readers.
    SelectList& runewords = harness.List(ids::RunewordList);
    const QModelIndex alpha = runewords.View()->model()->index(0, 1);
    EXPECT_EQ(alpha.data(Qt::AccessibleDescriptionRole).toString(), "needs R01");
    const QImage cells = runewords.View()->viewport()->grab().toImage();
    const QRect cell = runewords.View()->visualRect(alpha);
    const QFontMetrics metrics(runewords.View()->font());
    const int left = cell.left() + 6; // where the text of a later column starts
    auto dark = [&](int from, int to, int y) {
        for (int x = from; x <= to; ++x)
            if (qGray(cells.pixel(x, y)) >= 128)
                return false;
        return true;
    };
    const int r01Start = left + metrics.horizontalAdvance("R00 "), r01End = left + metrics.horizontalAdvance("R00 R01");
    int marks = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        if (dark(r01Start + 1, r01End - 1, y) && !dark(r01End, r01End, y))
            marks += dark(left + 1, left + metrics.horizontalAdvance("R00") - 2, y) ? 100 : 1;
    EXPECT_EQ(marks, 1); // one line under R01, ending where R01 ends, and none under R00
    EXPECT_EQ(QStringList({harness.Pane(0), harness.Pane(1), harness.Pane(2), Info()}),
              QStringList({" Def0:  Max possible sockets:  4", " R02:  Clvl requirement:  5",
                           " Twice:  Clvl requirement:  5", "Rune 2\nsecond line"}));
    EXPECT_TRUE(harness.List(ids::RuneList).hasFocus());
    // What a screen reader names: the lists, the info box, the status panes and the buttons.
    QStringList names;
    const std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        names << node->text(QAccessible::Name);
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(harness.Frame()));
    for (const char* name : {"Runes", "Items", "Runewords", "Characters", "Information", "Item status", "Rune status",
                             "Runeword status", "All Runes", "Extremely Rare", "Missile Weapons", "All Defence", "Exit"})
        EXPECT_TRUE(names.contains(name)) << name;
    EXPECT_EQ(harness.Frame()->findChild<QWidget*>(QString::number(ids::StatusBar)), harness.Frame()->GetStatusLine());
    QApplication::setStyle(QStringLiteral("Windows")); // another style: the last columns make room for its scroll bar
    const int bar = harness.Panel().style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &harness.Panel());
    EXPECT_EQ(std::make_pair(runewords.GetColumnWidth(2), harness.List(ids::CharacterList).GetColumnWidth(0)),
              std::make_pair(176 - bar, 86 - bar));
    UseUiStyle();
}

TEST_F(Window, ClosingSavesTheCharacterAndTheSettings)
{
    WriteRoster(harness.files, {{"Anna", 30, {0}, {}, 0, 0, 0}, {"Bert", 10, {}, {}, 0, 0, 0}});
    harness.Start();
    // Each Filters command marks its choice, the only mark of its group; the
    // two bounds' submenus are one group, as a bound resets the other bound.
    const std::pair<int, int> groups[] = {{ids::AllRunesRule, ids::IgnoreRunesRule},
        {ids::SelectedCharacterRule, ids::IgnoreCharactersRule}, {ids::ClvlOverFirst, ids::ClvlUnderLast},
        {ids::IgnoreClvlLimits, ids::IgnoreClvlLimits}};
    for (const int id : {ids::AnyRuneRule, ids::AnyCharacterRule, ids::ClvlOver20, ids::ClvlUnder65,
                         ids::IgnoreClvlLimits}) {
        harness.Command(id);
        for (const auto& [first, last] : groups)
            for (int other = first; other <= last && first <= id && id <= last; ++other)
                EXPECT_EQ(harness.Checked(other), other == id) << id << " " << other;
    }
    Click(harness.List(ids::RuneList), StateIconPoint(harness.List(ids::RuneList), 5));
    harness.Frame()->close(); // as the close box does
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QByteArray roster = harness.File("chars.dat");
    ASSERT_EQ(roster.size(), 2 * 71);
    EXPECT_EQ(roster.mid(17, 6), QByteArray::fromHex("010000000001"));
    EXPECT_EQ(harness.File("settings.dat"),
              QByteArray::fromHex("02000000020000000000000041000000010000000300000000000000"));
}

// Files this copy cannot trust: a roster that is there and does not read ends the run before
// anything is asked or written; where no lock can be taken the session runs and saves nothing.
TEST_F(Window, AnUnreadableRosterEndsTheRunAndAnUnlockableFolderSavesNothing)
{
    const QString roster = harness.dir.filePath("chars.dat");
    for (const auto& [unreadable, status, message] :
         {std::tuple(true, 1, glyphmoor::UnreadableRosterMessage()), std::tuple(false, 0, glyphmoor::UnsavedSessionMessage())}) {
        for (const char* name : {"chars.dat", "settings.dat", ".glyphmoor.lock"})
            QFile::remove(harness.dir.filePath(name));
#ifdef _WIN32
        HANDLE held = INVALID_HANDLE_VALUE;
        QByteArray kept;
        if (unreadable) {
            // Held open without sharing, as a backup tool or a scanner may: no read succeeds.
            WriteRoster(harness.files, {{"Anna", 30, {0}, {}, 0, 0, 0}});
            kept = harness.File("chars.dat");
            held = ::CreateFileW(roster.toStdWString().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        }
#else
        if (unreadable)
            QFile::link(QStringLiteral("/proc/self/mem"), roster); // every read fails
#endif
        if (!unreadable)
            QDir(harness.dir.path()).mkdir(".glyphmoor.lock"); // no lock file can be made there
        glyphmoor::DiskFiles files(harness.dir.path().toStdString());
        ScriptedPrompter prompter;
        RunewordFinderApp app(prompter, files);
        prompter.dialogs.push_back([&app](QDialog& dialog) {
            TypeCharacter("Hero", "5")(dialog);
            QTimer::singleShot(0, &app, &RunewordFinderApp::EndRun); // once the window runs
        });
        EXPECT_EQ(app.Run(), status);
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].message, message);
        EXPECT_EQ(prompter.dialogs.size(), unreadable ? 1u : 0u); // no first character asked for
#ifdef _WIN32
        if (held != INVALID_HANDLE_VALUE)
            ::CloseHandle(held);
        EXPECT_EQ(harness.File("chars.dat"), kept);
#else
        EXPECT_EQ(QFileInfo(roster).isSymLink(), unreadable);
#endif
        EXPECT_FALSE(QFile::exists(harness.dir.filePath("settings.dat")) || (!unreadable && QFile::exists(roster)));
    }
}

// Each gesture, then the row's tick, the rebuilds of the runeword list it
// caused and the list's selected row.
TEST_F(Window, GesturesTickOrSelectAsOnTheDesktop)
{
    harness.Start();
    SelectList& runes = harness.List(ids::RuneList);
    SelectList& items = harness.List(ids::ItemList);
    for (SelectList* list : {&runes, &items, &runes, &items})
        Click(*list, StateIconPoint(*list, 7)); // brings the rebuild's snapshots up to date
    int before = Refreshes();
    const auto expect = [&](SelectList& list, int row, int tick, int refreshes, int selected) {
        EXPECT_EQ(std::make_tuple(list.GetTick(row), Refreshes() - before, list.GetFirstSelectedRow()),
                  std::make_tuple(tick, refreshes, selected));
        before = Refreshes();
    };
    Click(runes, StateIconPoint(runes, 14));
    expect(runes, 14, 1, 1, 14);
    Click(runes, LabelPoint(runes, 20));
    expect(runes, 20, 0, 0, 20);
    QTest::keyClick(runes.View(), Qt::Key_Space);
    expect(runes, 20, 1, 1, 20);
    for (const auto modifier : {Qt::AltModifier, Qt::ShiftModifier})
        QTest::keyClick(runes.View(), Qt::Key_Space, modifier);
    expect(runes, 20, 1, 0, 20);
    // A press on row 5 and a release on row 3's box is a drag: no click.
    QTest::mousePress(runes.Viewport(), Qt::LeftButton, {}, LabelPoint(runes, 5));
    QTest::mouseMove(runes.Viewport(), StateIconPoint(runes, 3));
    QTest::mouseRelease(runes.Viewport(), Qt::LeftButton, {}, StateIconPoint(runes, 3));
    expect(runes, 3, 0, 0, 5);
    Click(runes, LabelPoint(runes, 8) + QPoint(runes.LabelRect(8).width() + 2, 0)); // beside the label
    expect(runes, 8, 0, 0, 5);
    QTest::mouseClick(items.Viewport(), Qt::LeftButton, {}, StateIconPoint(items, 9));
    QTest::mouseDClick(items.Viewport(), Qt::LeftButton, {}, StateIconPoint(items, 9));
    QTest::mouseRelease(items.Viewport(), Qt::LeftButton, {}, StateIconPoint(items, 9));
    expect(items, 9, 0, 2, 9);
    Click(items, StateIconPoint(items, 4), Qt::RightButton);
    expect(items, 4, 1, 1, 4);
    Click(runes, LabelPoint(runes, 2), Qt::MiddleButton); // nothing at all: the keyboard stays in the items
    expect(runes, 2, 1, 0, 5);
    // A screen reader's Toggle on a row ticks it as a click on its box does.
    QAccessible::queryAccessibleInterface(runes.View())->child(6)->actionInterface()->doAction(
        QAccessibleActionInterface::toggleAction());
    expect(runes, 6, 1, 1, 5);
    EXPECT_TRUE(items.hasFocus());
    // Its focus frame goes round the label, as its selection does, and no further.
    const QImage shot = items.Viewport()->grab().toImage();
    const QRect row = items.RowRect(4);
    int framed = 0;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = items.LabelRect(4).right() + 2; x <= row.right(); ++x)
            framed += shot.pixelColor(x, y) != items.View()->palette().color(QPalette::Base);
    EXPECT_EQ(framed, 0);
}

TEST_F(Window, InfoCommandsAndRightClicksChooseTheInfoBoxContent)
{
    harness.Start();
    const int refreshes = Refreshes();
    harness.Command(ids::ShowItemInfo);
    EXPECT_EQ(Info(), "Item information is not yet implemended");
    harness.Command(ids::ShowRuneInfo);
    EXPECT_EQ(Info(), "Rune 1\nsecond line");
    EXPECT_EQ(Refreshes(), refreshes);
    SelectList& runewords = harness.List(ids::RunewordList);
    Click(runewords, LabelPoint(runewords, 1), Qt::RightButton);
    EXPECT_EQ(std::make_pair(static_cast<int>(harness.Panel().GetSession().GetInfoKind()), Info()),
              std::make_pair(3, QString("Grants Twice\nto the bearer")));
    harness.Frame()->GetStatusLine()->SetPaneText(2, QString());
    Click(runewords, LabelPoint(runewords, 1)); // the selected row again
    EXPECT_EQ(harness.Pane(2), " Twice:  Clvl requirement:  5");
    Click(runewords, QPoint(100, 250)); // below the rows
    EXPECT_EQ(runewords.GetFirstSelectedRow(), 1);
    Click(harness.List(ids::ItemList), LabelPoint(harness.List(ids::ItemList), 4), Qt::RightButton);
    EXPECT_EQ(std::make_pair(static_cast<int>(harness.Panel().GetSession().GetInfoKind()), Info()),
              std::make_pair(2, QString("Item information is not yet implemended")));
    EXPECT_TRUE(harness.Checked(ids::ShowItemInfo) && !harness.Checked(ids::ShowRunewordInfo));
}

TEST_F(Window, RefreshKeepsTheSelectedRunewordWhileItIsListed)
{
    harness.Start();
    SelectList& runewords = harness.List(ids::RunewordList);
    SelectList& runes = harness.List(ids::RuneList);
    SelectList& items = harness.List(ids::ItemList);
    QAbstractItemModelTester model(runewords.View()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    Click(runewords, LabelPoint(runewords, 2)); // Eta
    Click(items, StateIconPoint(items, 13));    // Def1
    for (const int rune : {3, 4, 5})
        Click(runes, StateIconPoint(runes, rune));
    EXPECT_EQ(Runewords(), (std::vector<QString>{"Alpha", "Twice", "Gamma", "Eta"}));
    EXPECT_EQ(std::make_pair(runewords.GetFirstSelectedRow(), runewords.GetTick(3)), std::make_pair(3, -1));
    EXPECT_EQ(harness.Pane(2), " Eta:  Clvl requirement:  1");
    harness.Command(ids::IgnoreRunesRule); // a rule keeps the selected runeword too
    EXPECT_EQ(runewords.GetItemText(runewords.GetFirstSelectedRow(), 0), "Eta");
    harness.Command(ids::AllRunesRule);
    Click(items, StateIconPoint(items, 0)); // without Mel0, Eta and Alpha go
    EXPECT_EQ(Runewords(), (std::vector<QString>{"Twice", "Gamma"}));
    EXPECT_EQ(runewords.GetFirstSelectedRow(), 0);
    harness.Press("All Items"); // some ticked: ticks all
    harness.Press("All Items"); // all ticked: unticks all
    EXPECT_EQ(runewords.GetRowCount(), 0);
    EXPECT_EQ(Info(), "");
    EXPECT_EQ(harness.Pane(2), "");
}

namespace {

#ifdef _WIN32
// What `taskkill /pid N` does: WM_CLOSE to every top-level window of the process.
void RequestEnd(int)
{
    ::EnumWindows(
        [](HWND window, LPARAM) -> BOOL {
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            if (process == ::GetCurrentProcessId())
                ::PostMessageW(window, WM_CLOSE, 0, 0);
            return TRUE;
        },
        0);
}
constexpr int HangUp = SIGTERM; // no such signal there; the case runs as a WM_CLOSE all the same
#else
void RequestEnd(int signalNumber)
{
    std::raise(signalNumber);
}
constexpr int HangUp = SIGHUP;
#endif

// A request to end while a modal window runs: the dialogs of a new character (a first one too) and
// of the About box, and the question before a deletion.
TEST(SignalInModalWindow, EndsTheRunWithTheUsualSaves)
{
    for (const auto& [command, signalNumber] : {std::pair(int(ids::NewCharacterCommand), SIGTERM),
             std::pair(int(ids::DeleteCharacterCommand), SIGINT), std::pair(int(ids::AboutCommand), SIGTERM),
             std::pair(0, HangUp)}) { // 0: the first character's dialog
        SCOPED_TRACE(command);
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
            QTimer::singleShot(0, &app, [&app, command = command] { app.Frame()->Action(command)->trigger(); });
        QString shown; // a real message box's title and text
        QTimer::singleShot(300, [&shown, signalNumber = signalNumber] {
            if (const auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                shown = box->windowTitle() + " " + box->text();
            RequestEnd(signalNumber);
        });
        EXPECT_EQ(app.Run(), 0);
        EXPECT_EQ(shown.left(23), command == ids::DeleteCharacterCommand ? "Confirm... Are you sure" : "");
        QFile settings(dir.filePath("settings.dat")), roster(dir.filePath("chars.dat"));
        EXPECT_TRUE(settings.open(QIODevice::ReadOnly) && settings.readAll().size() == 28);
        EXPECT_EQ(roster.size(), command != 0 ? 71 : 0);
    }
}

} // namespace
