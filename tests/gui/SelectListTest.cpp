// SPDX-License-Identifier: GPL-3.0-or-later
// SelectList on real widgets: its change reports, refused arguments, info tips, screen reader rows.

#include "GuiTestSupport.h"
#include "ui/UiFont.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QPixmap>
#include <QToolTip>

namespace {

using Lines = std::vector<std::string>;

// Everything a list reports, in order, as short readable lines.
class Recorder {
public:
    explicit Recorder(SelectList& list)
    {
        QObject::connect(&list, &SelectList::itemChanged, &context, [this](int row) {
            lines.push_back("changed " + std::to_string(row));
            if (onChanged)
                onChanged(row);
        });
        QObject::connect(&list, &SelectList::clicked, &context, [this](int row, QPoint p) {
            lines.push_back("click " + std::to_string(row) + " @" + std::to_string(p.x()) + "," + std::to_string(p.y()));
            if (onClick)
                onClick(row, p);
        });
    }

    QObject context; // ends the connections with the recorder
    Lines lines;
    std::function<void(int)> onChanged;
    std::function<void(int, QPoint)> onClick;
};

// A rune list and a runeword list as the main panel makes them.
class SelectListTest : public testing::Test {
protected:
    void SetUp() override
    {
        const auto filled = [](Qt::GlobalColor color) {
            QPixmap square(16, 16);
            square.fill(color);
            return QIcon(square);
        };
        runes->SetStateIcons(filled(Qt::red), filled(Qt::green)); // unticked, ticked
        runes->setGeometry(8, 8, 154, 192);
        words->SetFullRowSelect(true);
        words->InsertColumn(0, "RuneWord", 120);
        words->InsertColumn(1, "Rune Order", 140);
        words->InsertColumn(2, "Allowed Items", 160);
        words->setGeometry(170, 8, 440, 303);
        for (int row = 0; row < 33; ++row) {
            runes->InsertRow(row, QString("R%1").arg(row));
            if (row < 12)
                words->InsertRow(row, QString("W%1").arg(row));
        }
        runes->SetListColumnWidth(50);
        window.resize(760, 540);
        ApplyUiFont(&window); // as the window's lists have it, whatever the system's default font
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // A point in a rune's cell, dx pixels from its left edge, halfway down.
    static QPoint RunePoint(int row, int dx) { return {row / 11 * 50 + dx, row % 11 * 16 + 8}; }

    QWidget window;
    SelectList* words = new SelectList(50001, SelectList::Mode::Report, &window);
    SelectList* runes = new SelectList(50002, SelectList::Mode::List, &window);
};

TEST_F(SelectListTest, AHandlerSeesTheReportsOfItsOwnCallsBeforeTheyReturn)
{
    ASSERT_TRUE(runes->SelectAndFocus(3));
    Recorder recorder(*runes);
    Lines seenInsideHandler;
    recorder.onChanged = [&](int row) {
        if (row == 3 && seenInsideHandler.empty()) {
            EXPECT_TRUE(runes->SelectAndFocus(9));
            seenInsideHandler = recorder.lines;
        }
    };
    recorder.onClick = [&](int row, QPoint) { runes->SetTick(row, true); }; // as the panel flips a tick
    QTest::mouseClick(runes->Viewport(), Qt::LeftButton, {}, RunePoint(7, 8));
    // The press moved 3 to 7; the handler for 3 moved 7 on to 9 and got the
    // reports for 7 and 9 before its call returned. 7 is not reported again
    // until its tick changes after the click.
    EXPECT_EQ(seenInsideHandler, (Lines{"changed 3", "changed 7", "changed 9"}));
    EXPECT_EQ(recorder.lines, (Lines{"changed 3", "changed 7", "changed 9", "click 7 @8,120", "changed 7"}));
    EXPECT_EQ(runes->GetSelectionMark(), 9);
}

// Ctrl+click takes the selection off a row and leaves it the focus; a click
// on another row then tells of the row that lost the focus first.
TEST_F(SelectListTest, ARowLosingOnlyItsFocusIsToldFirst)
{
    ASSERT_TRUE(runes->SelectAndFocus(9));
    QTest::mouseClick(runes->Viewport(), Qt::LeftButton, Qt::ControlModifier, RunePoint(9, 30));
    ASSERT_EQ(std::make_pair(runes->GetFirstSelectedRow(), runes->GetFocusedRow()), std::make_pair(-1, 9));
    Recorder recorder(*runes);
    QTest::mouseClick(runes->Viewport(), Qt::LeftButton, {}, RunePoint(3, 30));
    EXPECT_EQ(recorder.lines, (Lines{"changed 9", "changed 3", "click 3 @30,56"}));
}

// Rows and columns that do not exist: refused, with nothing reported.
TEST_F(SelectListTest, OutOfRangeArgumentsAreRefusedHarmlessly)
{
    ASSERT_TRUE(runes->SelectAndFocus(1));
    Recorder recorder(*runes);
    runes->SetTick(0, true);
    runes->SetTick(0, true); // no change, no report
    for (const int row : {33, -1}) {
        runes->SetTick(row, true);
        EXPECT_FALSE(runes->SelectAndFocus(row));
        EXPECT_EQ(std::make_tuple(runes->GetTick(row), runes->IsRowSelected(row), runes->GetItemText(row, 0)),
                  std::make_tuple(-1, false, QString()));
        EXPECT_TRUE(runes->RowRect(row).isNull() && runes->LabelRect(row).isNull() &&
                    runes->StateIconRect(row).isNull());
    }
    EXPECT_LT(runes->LabelRect(1).width(), runes->LabelRect(12).width()); // as wide as its text
    EXPECT_FALSE(runes->LabelRect(0).isNull() || runes->StateIconRect(0).isNull()); // the first row's parts
    EXPECT_TRUE(runes->SelectAndFocus(1) && runes->IsRowSelected(1)); // already selected: nothing to report
    EXPECT_EQ(recorder.lines, (Lines{"changed 0"}));
    EXPECT_EQ(std::make_pair(runes->GetTick(0), runes->GetTick(1)), std::make_pair(1, -1));

    EXPECT_EQ(words->InsertRow(-1, "None"), -1);
    EXPECT_EQ(words->InsertRow(0, "First"), 0);
    EXPECT_EQ(words->InsertRow(99, "Last"), 13);
    words->SetItemText(0, 2, "Kept");
    const std::pair<int, int> missing[] = {{-1, 0}, {14, 0}, {0, 3}, {0, -1}};
    for (const auto& [row, column] : missing)
        words->SetItemText(row, column, "Lost");
    EXPECT_EQ(std::make_tuple(words->GetItemText(0, 2), words->GetItemText(0, 3), words->GetItemText(14, 0)),
              std::make_tuple(QString("Kept"), QString(), QString()));
    gui_test::Click(*words, {360, words->RowRect(0).center().y()}); // the last column: on the row's label
    EXPECT_TRUE(words->IsRowSelected(0));
    ASSERT_TRUE(words->SelectAndFocus(4));
    words->DeleteAllRows(); // the focus goes with the rows
    EXPECT_EQ(words->GetFocusedRow(), -1);
    runes->SetColumnWidth(0, 64); // a list's one column is its grid
    words->SetColumnWidth(1, 3);  // narrower than any glyph of the header's font
    EXPECT_EQ(std::make_tuple(runes->GetColumnWidth(0), runes->GetColumnWidth(1), runes->RowRect(11).left(),
                              words->GetColumnWidth(1)),
              std::make_tuple(64, 0, 64, 3));
}

TEST_F(SelectListTest, InfoTipsAskTheHandlerWithTheRowAndTheCapacity)
{
    const QFont systemTipFont = QToolTip::font();
#ifdef _WIN32
    QToolTip::setFont(UiFont()); // Wine stands a math font, inked past its metrics, in for the system's
#endif
    std::vector<std::pair<int, int>> requests;
    QString answer;
    QObject::connect(runes, &SelectList::infoTipRequested, [&](int row, QString* text, int capacity) {
        requests.emplace_back(row, capacity);
        *text = answer;
    });
    const auto rest = [&](QPoint point, const QString& text) {
        answer = text;
        QHelpEvent help(QEvent::ToolTip, point, runes->Viewport()->mapToGlobal(point));
        QApplication::sendEvent(runes->Viewport(), &help);
        return QToolTip::text();
    };
    EXPECT_EQ(rest(RunePoint(12, 8), "Clvl requirement: 13\r\n\r\nA"), "Clvl requirement: 13\n\nA");
    runes->SetInfoTipCapacity(30);
    EXPECT_EQ(rest(RunePoint(13, 8), QString(29, 'y')), QString(29, 'y'));
    // The text keeps 3 pixels clear of the tip's 1-pixel border on every side.
    for (QWidget* tip : QApplication::topLevelWidgets()) {
        if (!tip->inherits("QTipLabel") || !tip->isVisible())
            continue;
        const QImage shot = tip->grab().toImage();
        QRect ink; // whatever differs from the tip's ground, in whatever colours the platform gives it
        for (int y = 1; y < shot.height() - 1; ++y)
            for (int x = 1; x < shot.width() - 1; ++x)
                if (shot.pixel(x, y) != shot.pixel(1, 1))
                    ink |= QRect(x, y, 1, 1);
        EXPECT_TRUE(shot.rect().adjusted(4, 4, -4, -4).contains(ink)) << "ink within 4 pixels of the tip's edge";
    }
    // Where a click hits no row, no tip: past the rows, right of a short label.
    for (const QPoint nowhere : {RunePoint(40, 8), RunePoint(14, 48)}) {
        rest(RunePoint(13, 8), "shown");
        rest(nowhere, "none");
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 1000)); // not when it expires
    }
    EXPECT_EQ(requests, (std::vector<std::pair<int, int>>{{12, 1024}, {13, 30}, {13, 30}, {13, 30}}));
    QToolTip::setFont(systemTipFont);
}

TEST_F(SelectListTest, AScreenReaderMeetsRowsAsCheckBoxes)
{
    runes->SetTick(4, true);
    runes->SetTick(5, false);
    runes->SelectAndFocus(4); // while the list has no keyboard focus
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(runes->View());
    ASSERT_EQ(view->childCount(), 33);
    EXPECT_EQ(std::make_tuple(view->child(33), view->indexOfChild(view->child(0)), view->child(4)->state().focused),
              std::make_tuple(nullptr, 0, false));
    EXPECT_EQ(view->child(4)->text(QAccessible::Name), "R4");
    EXPECT_EQ(std::make_pair(view->child(4)->role(), view->child(4)->window()),
              std::make_pair(QAccessible::CheckBox, window.windowHandle()));
    QAccessibleActionInterface* actions = view->child(4)->actionInterface();
    EXPECT_EQ(std::make_pair(actions->keyBindingsForAction(actions->toggleAction()),
                             actions->keyBindingsForAction(actions->pressAction())),
              std::make_pair(QStringList{"Space"}, QStringList()));
    EXPECT_EQ(std::make_tuple(view->child(4)->state().checked, view->child(5)->state().checked,
                              view->child(5)->state().checkable, view->child(6)->state().checkable,
                              view->child(6)->state().selectable && view->child(6)->state().focusable),
              std::make_tuple(true, false, true, false, true));
}

} // namespace
