// SPDX-License-Identifier: GPL-3.0-or-later
// SelectList on real widgets: geometry, hit tests, the order and timing of
// its change reports, clicks, keys, info tips and the fixed header.

#include "ui/SelectList.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

const QColor UntickedColour(200, 40, 40);
const QColor TickedColour(40, 160, 40);

QIcon SolidIcon(const QColor& colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

std::string PointText(QPoint point)
{
    return std::to_string(point.x()) + "," + std::to_string(point.y());
}

// Everything a list reports, in order, as short readable lines.
class Recorder {
public:
    explicit Recorder(SelectList& list)
    {
        QObject::connect(&list, &SelectList::itemChanged, [this](int row) {
            Add("changed " + std::to_string(row));
            if (onChanged)
                onChanged(row);
        });
        QObject::connect(&list, &SelectList::clicked, [this](int row, QPoint point) {
            Add("click " + std::to_string(row) + " @" + PointText(point));
            if (onClick)
                onClick(row, point);
        });
        QObject::connect(&list, &SelectList::doubleClicked, [this](int row, QPoint point) {
            Add("dclick " + std::to_string(row) + " @" + PointText(point));
            if (onClick)
                onClick(row, point);
        });
        QObject::connect(&list, &SelectList::rightClicked, [this](int row, QPoint point) {
            Add("rclick " + std::to_string(row) + " @" + PointText(point));
        });
        QObject::connect(&list, &SelectList::rightDoubleClicked, [this](int row, QPoint point) {
            Add("rdclick " + std::to_string(row) + " @" + PointText(point));
        });
        QObject::connect(&list, &SelectList::keyDown, [this](int key) {
            Add("key " + std::to_string(key));
            if (onKey)
                onKey(key);
        });
    }

    void Add(const std::string& line) { lines.push_back(line); }
    void Clear() { lines.clear(); }

    std::vector<std::string> lines;
    std::function<void(int)> onChanged;
    std::function<void(int, QPoint)> onClick;
    std::function<void(int)> onKey;
};

using Lines = std::vector<std::string>;

// The four lists as the main panel makes them, in a window of its size.
class SelectListTest : public testing::Test {
protected:
    void SetUp() override { window.resize(760, 540); }

    SelectList* MakeRuneList(int rows = 33)
    {
        auto* list = new SelectList(50002, SelectList::Mode::List, &window);
        list->SetStateIcons(SolidIcon(UntickedColour), SolidIcon(TickedColour));
        list->SetListColumnWidth(50);
        for (int row = 0; row < rows; ++row)
            list->InsertRow(row, QString("R%1").arg(row));
        list->setGeometry(8, 8, 154, 192);
        return list;
    }

    SelectList* MakeItemList(int rows = 18)
    {
        auto* list = new SelectList(50003, SelectList::Mode::Report, &window);
        list->SetHeaderHidden(true);
        list->SetStateIcons(SolidIcon(UntickedColour), SolidIcon(TickedColour));
        list->InsertColumn(0, QString(), 120);
        for (int row = 0; row < rows; ++row)
            list->InsertRow(row, QString("I%1").arg(row));
        list->setGeometry(8, 208, 154, 314);
        return list;
    }

    SelectList* MakeRunewordList(int rows = 5)
    {
        auto* list = new SelectList(50001, SelectList::Mode::Report, &window);
        list->SetFullRowSelect(true);
        list->InsertColumn(0, "RuneWord", 120);
        list->InsertColumn(1, "Rune Order", 140);
        list->InsertColumn(2, "Allowed Items", 160);
        for (int row = 0; row < rows; ++row) {
            list->InsertRow(row, QString("W%1").arg(row));
            list->SetItemText(row, 1, "R1 R2");
            list->SetItemText(row, 2, "Melee");
        }
        list->setGeometry(170, 8, 440, 303);
        return list;
    }

    SelectList* MakeCharacterList(int rows)
    {
        auto* list = new SelectList(50004, SelectList::Mode::Report, &window);
        list->SetFullRowSelect(true);
        list->InsertColumn(0, "Character", 70);
        list->InsertColumn(1, "Clvl", 30);
        for (int row = 0; row < rows; ++row) {
            list->InsertRow(row, QString("C%1").arg(row));
            list->SetItemText(row, 1, QString::number(row + 1));
        }
        list->setGeometry(618, 8, 120, 135);
        return list;
    }

    void Show()
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // A point in a rune's cell, dx pixels from its left edge, halfway down.
    static QPoint RunePoint(int row, int dx) { return {row / 11 * 50 + dx, row % 11 * 16 + 8}; }
    // A point in a report row, x pixels from the left edge, halfway down.
    static QPoint ReportPoint(int row, int x) { return {x, row * 16 + 8}; }

    QWidget window;
};

// Where a point lands, by list and position.
enum class ListKind { Runes, Items, Runewords };

struct HitCase {
    const char* name;
    ListKind list;
    QPoint point;
    int row;
    int flags;
};

void PrintTo(const HitCase& hit, std::ostream* out)
{
    *out << hit.name;
}

class SelectListHitTest : public SelectListTest, public testing::WithParamInterface<HitCase> {};

TEST_P(SelectListHitTest, FindsRowAndPart)
{
    const HitCase& hit = GetParam();
    SelectList* list = hit.list == ListKind::Runes ? MakeRuneList()
                       : hit.list == ListKind::Items ? MakeItemList()
                                                     : MakeRunewordList();
    Show();
    const SelectList::HitTestResult result = list->HitTest(hit.point);
    EXPECT_EQ(result.row, hit.row);
    EXPECT_EQ(result.flags, hit.flags);
}

constexpr int Icon = SelectList::HitOnStateIcon;
constexpr int Label = SelectList::HitOnLabel;
constexpr int Nowhere = SelectList::HitNowhere;

INSTANTIATE_TEST_SUITE_P(
    Points, SelectListHitTest,
    testing::Values(HitCase{"RuneIconOfRow5", ListKind::Runes, {8, 88}, 5, Icon},
                    HitCase{"RuneIconLeftEdge", ListKind::Runes, {0, 80}, 5, Icon},
                    HitCase{"RuneIconRightEdge", ListKind::Runes, {15, 95}, 5, Icon},
                    HitCase{"RuneGapAfterIcon", ListKind::Runes, {16, 88}, -1, Nowhere},
                    HitCase{"RuneLabelOfRow5", ListKind::Runes, {20, 88}, 5, Label},
                    HitCase{"RuneBesideLabelOfRow5", ListKind::Runes, {47, 88}, -1, Nowhere},
                    HitCase{"RuneLabelTopOfSecondColumn", ListKind::Runes, {70, 1}, 11, Label},
                    HitCase{"RuneIconBottomOfThirdColumn", ListKind::Runes, {108, 170}, 32, Icon},
                    HitCase{"RuneBelowLastRow", ListKind::Runes, {20, 180}, -1, Nowhere},
                    HitCase{"ItemIconOfRow2", ListKind::Items, {4, 40}, 2, Icon},
                    HitCase{"ItemLabelOfRow2", ListKind::Items, {19, 40}, 2, Label},
                    HitCase{"ItemBesideLabelOfRow2", ListKind::Items, {100, 40}, -1, Nowhere},
                    HitCase{"ItemBelowLastRow", ListKind::Items, {20, 295}, -1, Nowhere},
                    HitCase{"RunewordFirstPixelIsLabel", ListKind::Runewords, {0, 8}, 0, Label},
                    HitCase{"RunewordThirdColumnIsLabel", ListKind::Runewords, {400, 40}, 2, Label},
                    HitCase{"RunewordRightOfColumns", ListKind::Runewords, {428, 40}, -1, Nowhere},
                    HitCase{"RunewordBelowLastRow", ListKind::Runewords, {50, 90}, -1, Nowhere},
                    HitCase{"OutsideViewport", ListKind::Runes, {-3, 8}, -1, Nowhere}),
    [](const testing::TestParamInfo<HitCase>& info) { return std::string(info.param.name); });

// Moving the selection from row A to row B reports A, then B, all before
// the call or the event returns.
enum class Move { Code, MousePress, RightMousePress, DownKey, UpKey, RightKey };

struct MoveCase {
    const char* name;
    ListKind list;
    Move move;
    int from;
    int to;
};

void PrintTo(const MoveCase& move, std::ostream* out)
{
    *out << move.name;
}

class SelectListMoveTest : public SelectListTest, public testing::WithParamInterface<MoveCase> {};

TEST_P(SelectListMoveTest, ReportsTheOldRowThenTheNewOneBeforeReturning)
{
    const MoveCase& move = GetParam();
    SelectList* list = move.list == ListKind::Runes ? MakeRuneList() : MakeRunewordList(12);
    Show();
    ASSERT_TRUE(list->SelectAndFocus(move.from));
    Recorder recorder(*list);
    const QPoint target = move.list == ListKind::Runes ? RunePoint(move.to, 24) : ReportPoint(move.to, 200);

    switch (move.move) {
    case Move::Code:
        EXPECT_TRUE(list->SelectAndFocus(move.to));
        break;
    case Move::MousePress:
        QTest::mousePress(list->Viewport(), Qt::LeftButton, {}, target);
        break;
    case Move::RightMousePress:
        QTest::mousePress(list->Viewport(), Qt::RightButton, {}, target);
        break;
    case Move::DownKey:
        QTest::keyPress(list->View(), Qt::Key_Down);
        break;
    case Move::UpKey:
        QTest::keyPress(list->View(), Qt::Key_Up);
        break;
    case Move::RightKey:
        QTest::keyPress(list->View(), Qt::Key_Right);
        break;
    }
    // Nothing may wait for the event loop: the reports are there now, while
    // the button or the key is still down.
    Lines expected{"changed " + std::to_string(move.from), "changed " + std::to_string(move.to)};
    if (move.move == Move::DownKey)
        expected.insert(expected.begin(), "key " + std::to_string(Qt::Key_Down));
    else if (move.move == Move::UpKey)
        expected.insert(expected.begin(), "key " + std::to_string(Qt::Key_Up));
    else if (move.move == Move::RightKey)
        expected.insert(expected.begin(), "key " + std::to_string(Qt::Key_Right));
    EXPECT_EQ(recorder.lines, expected);
    EXPECT_TRUE(list->IsRowSelected(move.to));
    EXPECT_FALSE(list->IsRowSelected(move.from));
    EXPECT_EQ(list->GetFocusedRow(), move.to);
    EXPECT_EQ(list->GetSelectionMark(), move.to);

    QApplication::processEvents();
    EXPECT_EQ(recorder.lines, expected) << "a late report arrived from the event loop";
    if (move.move == Move::MousePress)
        QTest::mouseRelease(list->Viewport(), Qt::LeftButton, {}, target);
    else if (move.move == Move::RightMousePress)
        QTest::mouseRelease(list->Viewport(), Qt::RightButton, {}, target);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SelectListMoveTest,
    testing::Values(MoveCase{"RunesByCodeDown", ListKind::Runes, Move::Code, 3, 7},
                    MoveCase{"RunesByCodeUp", ListKind::Runes, Move::Code, 7, 3},
                    MoveCase{"RunesByMouseDown", ListKind::Runes, Move::MousePress, 3, 7},
                    MoveCase{"RunesByMouseUp", ListKind::Runes, Move::MousePress, 7, 3},
                    MoveCase{"RunesByMouseToNextColumn", ListKind::Runes, Move::MousePress, 3, 20},
                    MoveCase{"RunesByRightMouse", ListKind::Runes, Move::RightMousePress, 7, 3},
                    MoveCase{"RunesByDownKey", ListKind::Runes, Move::DownKey, 3, 4},
                    MoveCase{"RunesByUpKey", ListKind::Runes, Move::UpKey, 7, 6},
                    MoveCase{"RunesByRightKeyJumpsAColumn", ListKind::Runes, Move::RightKey, 3, 14},
                    MoveCase{"RunewordsByCode", ListKind::Runewords, Move::Code, 3, 7},
                    MoveCase{"RunewordsByMouseUp", ListKind::Runewords, Move::MousePress, 7, 3},
                    MoveCase{"RunewordsByDownKey", ListKind::Runewords, Move::DownKey, 3, 4},
                    MoveCase{"RunewordsByUpKey", ListKind::Runewords, Move::UpKey, 7, 6}),
    [](const testing::TestParamInfo<MoveCase>& info) { return std::string(info.param.name); });

TEST_F(SelectListTest, AHandlerSeesTheReportsOfItsOwnCallsBeforeTheyReturn)
{
    SelectList* list = MakeRuneList();
    Show();
    ASSERT_TRUE(list->SelectAndFocus(3));
    Recorder recorder(*list);
    Lines seenInsideHandler;
    recorder.onChanged = [&](int row) {
        if (row != 3 || !seenInsideHandler.empty())
            return;
        EXPECT_TRUE(list->SelectAndFocus(9));
        seenInsideHandler = recorder.lines;
    };

    QTest::mouseClick(list->Viewport(), Qt::LeftButton, {}, RunePoint(7, 24));

    // The press moved 3 to 7; the handler for 3 moved 7 on to 9 and got the
    // reports for 7 and 9 before its call returned. 7 is not reported again
    // as newly selected afterwards.
    EXPECT_EQ(seenInsideHandler, (Lines{"changed 3", "changed 7", "changed 9"}));
    EXPECT_EQ(recorder.lines, (Lines{"changed 3", "changed 7", "changed 9", "click 7 @24,120"}));
    EXPECT_TRUE(list->IsRowSelected(9));
    EXPECT_FALSE(list->IsRowSelected(7));
    EXPECT_EQ(list->GetSelectionMark(), 9);
}

TEST_F(SelectListTest, AClickOnAStateIconReportsTheRowChangesBeforeTheClick)
{
    SelectList* list = MakeRuneList();
    Show();
    list->SetTick(5, false);
    ASSERT_TRUE(list->SelectAndFocus(3));
    Recorder recorder(*list);
    Lines seenAfterSetTick;
    // What the panel does with a click on an icon: flip the tick.
    recorder.onClick = [&](int row, QPoint point) {
        if (list->HitTest(point).flags != SelectList::HitOnStateIcon)
            return;
        list->SetTick(row, list->GetTick(row) != 1);
        seenAfterSetTick = recorder.lines;
    };

    QTest::mouseClick(list->Viewport(), Qt::LeftButton, {}, RunePoint(5, 8));

    const Lines expected{"changed 3", "changed 5", "click 5 @8,88", "changed 5"};
    EXPECT_EQ(seenAfterSetTick, expected);
    EXPECT_EQ(recorder.lines, expected);
    EXPECT_EQ(list->GetTick(5), 1);
}

class SelectListDoubleClickTest : public SelectListTest, public testing::WithParamInterface<ListKind> {};

TEST_P(SelectListDoubleClickTest, AQuickDoubleClickOnAStateIconIsAClickAndADoubleClick)
{
    const bool runes = GetParam() == ListKind::Runes;
    SelectList* list = runes ? MakeRuneList() : MakeItemList();
    Show();
    list->SetTick(5, false);
    const QPoint label = runes ? RunePoint(5, 24) : ReportPoint(5, 20);
    const QPoint icon = runes ? RunePoint(5, 8) : ReportPoint(5, 8);
    QTest::mouseClick(list->Viewport(), Qt::LeftButton, {}, label);
    ASSERT_TRUE(list->IsRowSelected(5));
    Recorder recorder(*list);
    int flips = 0;
    // What the panel does with both: flip the tick under an icon.
    recorder.onClick = [&](int row, QPoint point) {
        if (list->HitTest(point).flags == SelectList::HitOnStateIcon) {
            list->SetTick(row, list->GetTick(row) != 1);
            ++flips;
        }
    };

    // What the platform sends for a double click.
    QTest::mousePress(list->Viewport(), Qt::LeftButton, {}, icon);
    QTest::mouseRelease(list->Viewport(), Qt::LeftButton, {}, icon);
    QTest::mouseDClick(list->Viewport(), Qt::LeftButton, {}, icon);
    QTest::mouseRelease(list->Viewport(), Qt::LeftButton, {}, icon);

    const std::string at = " @" + PointText(icon);
    EXPECT_EQ(recorder.lines, (Lines{"click 5" + at, "changed 5", "dclick 5" + at, "changed 5"}));
    EXPECT_EQ(flips, 2);
    EXPECT_EQ(list->GetTick(5), 0);
}

INSTANTIATE_TEST_SUITE_P(Lists, SelectListDoubleClickTest, testing::Values(ListKind::Runes, ListKind::Items),
                         [](const testing::TestParamInfo<ListKind>& info) {
                             return std::string(info.param == ListKind::Runes ? "RuneList" : "ItemList");
                         });

TEST_F(SelectListTest, ClicksOfBothButtonsCarryTheRowAndThePoint)
{
    SelectList* list = MakeRunewordList();
    Show();
    ASSERT_TRUE(list->SelectAndFocus(1));
    Recorder recorder(*list);
    QWidget* viewport = list->Viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, {}, ReportPoint(1, 300));
    QTest::mouseClick(viewport, Qt::RightButton, {}, ReportPoint(1, 301));
    QTest::mousePress(viewport, Qt::RightButton, {}, ReportPoint(1, 302));
    QTest::mouseRelease(viewport, Qt::RightButton, {}, ReportPoint(1, 302));
    QTest::mouseDClick(viewport, Qt::RightButton, {}, ReportPoint(1, 303));
    QTest::mouseRelease(viewport, Qt::RightButton, {}, ReportPoint(1, 303));
    EXPECT_EQ(recorder.lines, (Lines{"click 1 @300,24", "rclick 1 @301,24", "rclick 1 @302,24",
                                     "rdclick 1 @303,24"}));
    EXPECT_TRUE(list->IsRowSelected(1));

    // Right of the last column is on no row: the selection stays.
    recorder.Clear();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, ReportPoint(1, 430));
    EXPECT_EQ(recorder.lines, (Lines{"click -1 @430,24"}));
    EXPECT_TRUE(list->IsRowSelected(1));
}

TEST_F(SelectListTest, ClicksAndKeysNeverChangeATick)
{
    SelectList* list = MakeRuneList();
    Show();
    list->SetTick(4, false);
    list->SetTick(5, true);
    QWidget* viewport = list->Viewport();
    const std::vector<std::pair<const char*, std::function<void()>>> actions{
        {"label click", [&] { QTest::mouseClick(viewport, Qt::LeftButton, {}, RunePoint(5, 24)); }},
        {"icon click", [&] { QTest::mouseClick(viewport, Qt::LeftButton, {}, RunePoint(5, 8)); }},
        {"unticked icon click", [&] { QTest::mouseClick(viewport, Qt::LeftButton, {}, RunePoint(4, 8)); }},
        {"icon double click",
         [&] {
             QTest::mouseDClick(viewport, Qt::LeftButton, {}, RunePoint(5, 8));
             QTest::mouseRelease(viewport, Qt::LeftButton, {}, RunePoint(5, 8));
         }},
        {"icon right click", [&] { QTest::mouseClick(viewport, Qt::RightButton, {}, RunePoint(5, 8)); }},
        {"space on ticked row",
         [&] {
             list->SelectAndFocus(5);
             QTest::keyClick(list->View(), Qt::Key_Space);
         }},
        {"space on unticked row",
         [&] {
             list->SelectAndFocus(4);
             QTest::keyClick(list->View(), Qt::Key_Space);
         }},
    };
    for (const auto& [name, action] : actions) {
        action();
        EXPECT_EQ(list->GetTick(5), 1) << name;
        EXPECT_EQ(list->GetTick(4), 0) << name;
        EXPECT_EQ(list->GetTick(6), -1) << name;
    }
}

TEST_F(SelectListTest, SetTickReportsEachRealChangeOnce)
{
    SelectList* list = MakeRuneList();
    Show();
    Recorder recorder(*list);
    EXPECT_EQ(list->GetTick(5), -1);

    list->SetTick(5, true);
    EXPECT_EQ(recorder.lines, (Lines{"changed 5"}));
    EXPECT_EQ(list->GetTick(5), 1);

    list->SetTick(5, true);
    EXPECT_EQ(recorder.lines, (Lines{"changed 5"}));

    list->SetTick(5, false);
    EXPECT_EQ(recorder.lines, (Lines{"changed 5", "changed 5"}));
    EXPECT_EQ(list->GetTick(5), 0);

    list->SetTick(33, true);
    list->SetTick(-1, true);
    EXPECT_EQ(recorder.lines.size(), 2u);
    EXPECT_EQ(list->GetTick(33), -1);
    EXPECT_FALSE(list->IsRowSelected(5));
}

TEST_F(SelectListTest, SelectAndFocusFailsForAMissingRowAndChangesNothing)
{
    SelectList* list = MakeRuneList();
    Show();
    ASSERT_TRUE(list->SelectAndFocus(6));
    Recorder recorder(*list);

    EXPECT_FALSE(list->SelectAndFocus(99));
    EXPECT_FALSE(list->SelectAndFocus(33));
    EXPECT_FALSE(list->SelectAndFocus(-1));

    EXPECT_TRUE(recorder.lines.empty());
    EXPECT_EQ(list->GetFirstSelectedRow(), 6);
    EXPECT_EQ(list->GetFocusedRow(), 6);
    EXPECT_EQ(list->GetSelectionMark(), 6);

    // Selecting the row that already is selected and focused changes nothing.
    EXPECT_TRUE(list->SelectAndFocus(6));
    EXPECT_TRUE(recorder.lines.empty());
}

TEST_F(SelectListTest, DeleteAllRowsReportsNothingAndForgetsTheMark)
{
    SelectList* list = MakeRunewordList(8);
    Show();
    list->View()->setFocus();
    ASSERT_TRUE(list->SelectAndFocus(4));
    Recorder recorder(*list);

    list->DeleteAllRows();

    EXPECT_TRUE(recorder.lines.empty());
    EXPECT_EQ(list->GetRowCount(), 0);
    EXPECT_EQ(list->GetSelectionMark(), -1);
    EXPECT_EQ(list->GetFirstSelectedRow(), -1);
    EXPECT_EQ(list->GetFocusedRow(), -1);
    EXPECT_EQ(list->GetItemText(0, 0), QString());

    // Refilled, the list reports again, for the new rows only.
    EXPECT_EQ(list->InsertRow(0, "New"), 0);
    EXPECT_EQ(list->InsertRow(7, "Other"), 1);
    EXPECT_TRUE(recorder.lines.empty());
    EXPECT_TRUE(list->SelectAndFocus(1));
    EXPECT_EQ(recorder.lines, (Lines{"changed 1"}));
    EXPECT_EQ(list->GetItemText(1, 0), "Other");
    EXPECT_EQ(list->GetSelectionMark(), 1);
}

TEST_F(SelectListTest, DeleteAllRowsFromAChangeHandlerEndsTheReports)
{
    SelectList* list = MakeRuneList();
    Show();
    ASSERT_TRUE(list->SelectAndFocus(3));
    Recorder recorder(*list);
    recorder.onChanged = [&](int row) {
        if (row == 3)
            list->DeleteAllRows();
    };

    QTest::mouseClick(list->Viewport(), Qt::LeftButton, {}, RunePoint(7, 24));

    // Row 7 no longer exists when its report would have come.
    EXPECT_EQ(recorder.lines, (Lines{"changed 3", "click -1 @24,120"}));
    EXPECT_EQ(list->GetRowCount(), 0);
}

TEST_F(SelectListTest, KeyDownComesBeforeTheViewMovesTheSelection)
{
    SelectList* list = MakeRuneList();
    Show();
    list->SetTick(3, true);
    ASSERT_TRUE(list->SelectAndFocus(3));
    Recorder recorder(*list);
    std::vector<int> focusAtKey;
    recorder.onKey = [&](int) { focusAtKey.push_back(list->GetFocusedRow()); };

    QTest::keyClick(list->View(), Qt::Key_Down);
    EXPECT_EQ(recorder.lines, (Lines{"key " + std::to_string(Qt::Key_Down), "changed 3", "changed 4"}));

    recorder.Clear();
    QTest::keyClick(list->View(), Qt::Key_Space);
    EXPECT_EQ(recorder.lines, (Lines{"key 32"}));
    EXPECT_EQ(focusAtKey, (std::vector<int>{3, 4}));
    EXPECT_EQ(list->GetTick(3), 1);
    EXPECT_EQ(list->GetTick(4), -1);
}

TEST_F(SelectListTest, TheMarkFollowsTheUsersSelectionAndSelectAndFocus)
{
    SelectList* list = MakeRuneList();
    Show();
    EXPECT_EQ(list->GetSelectionMark(), -1);

    QTest::mouseClick(list->Viewport(), Qt::LeftButton, {}, RunePoint(6, 24));
    EXPECT_EQ(list->GetSelectionMark(), 6);
    QTest::keyClick(list->View(), Qt::Key_Down);
    EXPECT_EQ(list->GetSelectionMark(), 7);
    QTest::mouseClick(list->Viewport(), Qt::RightButton, {}, RunePoint(20, 8));
    EXPECT_EQ(list->GetSelectionMark(), 20);
    list->SelectAndFocus(2);
    EXPECT_EQ(list->GetSelectionMark(), 2);

    Recorder recorder(*list);
    list->SetSelectionMark(9);
    EXPECT_EQ(list->GetSelectionMark(), 9);
    EXPECT_EQ(list->GetFirstSelectedRow(), 2);
    EXPECT_TRUE(recorder.lines.empty());

    // A row inserted before the mark moves it along with its row.
    list->InsertRow(0, "First");
    EXPECT_EQ(list->GetSelectionMark(), 10);
    EXPECT_EQ(list->GetFirstSelectedRow(), 3);
    EXPECT_TRUE(recorder.lines.empty());
}

TEST_F(SelectListTest, AClickBelowTheRowsIsReportedAndThePanelCanSelectTheMarkAgain)
{
    SelectList* list = MakeItemList();
    Show();
    ASSERT_TRUE(list->SelectAndFocus(4));
    Recorder recorder(*list);
    std::vector<std::pair<int, bool>> stateAtReport;
    recorder.onChanged = [&](int row) { stateAtReport.emplace_back(row, list->IsRowSelected(row)); };
    // What the panel does with a click off the labels.
    recorder.onClick = [&](int, QPoint point) {
        if (list->HitTest(point).flags == SelectList::HitNowhere)
            list->SelectAndFocus(list->GetSelectionMark());
    };

    QTest::mouseClick(list->Viewport(), Qt::LeftButton, {}, QPoint(30, 300));

    EXPECT_TRUE(list->IsRowSelected(4));
    EXPECT_EQ(list->GetFocusedRow(), 4);
    EXPECT_EQ(list->GetSelectionMark(), 4);
    // The press on no row selected nothing, so nothing changed.
    EXPECT_EQ(recorder.lines, (Lines{"click -1 @30,300"}));
    bool selected = true;
    for (const auto& [row, nowSelected] : stateAtReport) {
        EXPECT_EQ(row, 4);
        EXPECT_NE(nowSelected, selected) << "a report without a change of the selection";
        selected = nowSelected;
    }
    EXPECT_TRUE(selected);
}

TEST_F(SelectListTest, TheFirstFocusMakesRowZeroCurrentAndReportsIt)
{
    SelectList* list = MakeRuneList();
    Recorder recorder(*list);
    Show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    list->setFocus(Qt::TabFocusReason);

    ASSERT_TRUE(list->View()->hasFocus());
    EXPECT_EQ(recorder.lines, (Lines{"changed 0"}));
    EXPECT_EQ(list->GetFocusedRow(), 0);
    EXPECT_FALSE(list->IsRowSelected(0));
}

TEST_F(SelectListTest, InfoTipsAskTheHandlerWithTheRowAndTheCapacity)
{
    SelectList* list = MakeRuneList();
    Show();
    struct Request {
        int row;
        QString proposal;
        int capacity;
    };
    std::vector<Request> requests;
    QString answer;
    QObject::connect(list, &SelectList::infoTipRequested, [&](int row, QString* text, int capacity) {
        requests.push_back({row, *text, capacity});
        *text = answer;
    });
    const auto rest = [&](QPoint point) {
        QHelpEvent help(QEvent::ToolTip, point, list->Viewport()->mapToGlobal(point));
        QApplication::sendEvent(list->Viewport(), &help);
    };

    answer = QString(1024, QChar('x'));
    rest(RunePoint(5, 24));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].row, 5);
    EXPECT_EQ(requests[0].proposal, QString());
    EXPECT_EQ(requests[0].capacity, 1024);
    EXPECT_NE(QToolTip::text(), answer) << "a text as long as the capacity does not fit";

    answer = "Clvl requirement: 13\r\n\r\nA";
    rest(RunePoint(12, 8));
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].row, 12);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Clvl requirement: 13\n\nA");

    list->SetInfoTipCapacity(30);
    answer = QString(29, QChar('y'));
    rest(RunePoint(13, 8));
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[2].capacity, 30);
    EXPECT_EQ(QToolTip::text(), answer);
}

} // namespace
