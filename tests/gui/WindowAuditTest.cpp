// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a player meets it: lists as on the desktop, the runeword
// pane, the menus' marks, and the layout at higher scale factors.
#include "GuiTestSupport.h"

#include "app/MainFrame.h"
#include "ui/ControlIds.h"
#include "ui/MainPanel.h"
#include "ui/Resources.h"
#include "ui/SelectList.h"
#include "ui/StatusLine.h"

#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace gui_test;

namespace {

// Anna remembers runeword 4 (Epsilon), which her ticks do not list.
void StartWithAnna(Harness& harness)
{
    TestData::WriteAll(harness.files);
    WriteRoster(harness.files, {{"Anna", 30, {0, 1, 2}, {0, 12}, 1, 0, 4}});
    harness.Start();
}

} // namespace

TEST(WindowAudit, ListsActAsOnTheDesktopAndTheRunewordPaneFollows)
{
    Harness harness;
    StartWithAnna(harness);
    SelectList& runewords = harness.List(ids::RunewordList);
    ASSERT_EQ(runewords.GetFirstSelectedRow(), 0);
    EXPECT_TRUE(harness.Pane(2).contains(runewords.GetItemText(0, 0))) << harness.Pane(2).toStdString();
    harness.Command(ids::ShowRuneInfo); // the info box follows the runes
    harness.Panel().OnGroupButton(ids::AllItemsButton); // all ticked
    harness.Panel().OnGroupButton(ids::AllItemsButton); // none: the list empties
    ASSERT_EQ(runewords.GetRowCount(), 0);
    EXPECT_EQ(harness.Pane(2), "");
    harness.Panel().OnGroupButton(ids::AllItemsButton);

    SelectList& runes = harness.List(ids::RuneList);
    QWidget* viewport = runes.Viewport();
    // A press on row 5 and a release on row 3's box is a drag: no click.
    QTest::mousePress(viewport, Qt::LeftButton, {}, LabelPoint(runes, 5));
    QTest::mouseMove(viewport, LabelPoint(runes, 6));
    QTest::mouseMove(viewport, StateIconPoint(runes, 3));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, StateIconPoint(runes, 3));
    EXPECT_EQ(runes.GetTick(3), 0);
    EXPECT_EQ(runes.GetFirstSelectedRow(), 5);
    EXPECT_TRUE(harness.Pane(1).contains("R05")) << harness.Pane(1).toStdString();
    // Beside a short label, and the middle button: on no row, nothing moves.
    const QRect label = runes.LabelRect(7);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(label.right() + 3, label.center().y()));
    QTest::mouseClick(viewport, Qt::MiddleButton, {}, LabelPoint(runes, 8));
    EXPECT_EQ(runes.GetFirstSelectedRow(), 5);
    for (const Qt::KeyboardModifier modifier : {Qt::AltModifier, Qt::ShiftModifier, Qt::ControlModifier}) {
        QTest::keyClick(runes.View(), Qt::Key_Space, modifier);
        EXPECT_EQ(runes.GetTick(5), 0) << "Space with modifier " << modifier;
    }
    QTest::keyClick(runes.View(), Qt::Key_Space);
    EXPECT_EQ(runes.GetTick(5), 1);
}

TEST(WindowAudit, OnlyTheListWithTheKeyboardShowsTheStrongHighlight)
{
    Harness harness;
    StartWithAnna(harness);
    harness.Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(harness.Frame()));
    SelectList& runes = harness.List(ids::RuneList);
    SelectList& items = harness.List(ids::ItemList);
    runes.View()->setFocus();
    auto selectionColour = [](SelectList& list) {
        const QRect label = list.LabelRect(list.GetFirstSelectedRow());
        return list.Viewport()->grab().toImage().pixelColor(label.left() + 1, label.top() + 3);
    };
    auto near = [](QColor a, QColor b) { // the focus frame may tint the pixel a little
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 24; };
    const QPalette palette = runes.View()->palette();
    EXPECT_TRUE(near(selectionColour(runes), palette.color(QPalette::Active, QPalette::Highlight)));
    const QColor unfocused = selectionColour(items);
    EXPECT_FALSE(near(unfocused, palette.color(QPalette::Active, QPalette::Highlight)));
    EXPECT_FALSE(near(unfocused, palette.color(QPalette::Base))) << "the selection must stay visible";
}

TEST(WindowAudit, MenusMarkOnlyTheChosenItemInEveryStyle)
{
    const QString style = QApplication::style()->name();
    for (const char* name : {"Fusion", "Windows"}) {
        QApplication::setStyle(QString::fromLatin1(name));
        Harness harness;
        StartWithAnna(harness);
        harness.ShowMenusFor(ids::ShowRunewordInfo);
        auto* options = qobject_cast<QMenu*>(harness.Frame()->Action(ids::ShowRunewordInfo)->parent());
        options->resize(options->sizeHint());
        const QImage image = options->grab().toImage();
        for (QAction* action : options->actions()) {
            // Pixels unlike the item's background, left of its text.
            const QRect item = options->actionGeometry(action);
            const QColor background = image.pixelColor(item.right() - 3, item.center().y());
            int ink = 0;
            for (int x = item.left() + 2; x < item.left() + 18; ++x)
                for (int y = item.top() + 2; y < item.bottom() - 1; ++y)
                    ink += image.pixelColor(x, y) != background ? 1 : 0;
            EXPECT_EQ(ink > 0, action->isChecked()) << name << ": " << action->text().toStdString();
        }
    }
    QApplication::setStyle(style);
}

// At QT_SCALE_FACTOR 1.5 and 2 the layout stays and every text fits: this
// test and the sample data's fitting test run again in a process per scale.
TEST(WindowAudit, ScaledWindowKeepsItsLayoutAndFitsItsTexts)
{
    if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
        for (const char* scale : {"1.5", "2"}) {
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("QT_SCALE_FACTOR", scale);
            child.setProcessEnvironment(environment);
            child.setProcessChannelMode(QProcess::MergedChannels);
            child.start(QCoreApplication::applicationFilePath(),
                        {"--gtest_filter=SampleData.EveryNameFitsItsList:WindowAudit.Scaled*"});
            ASSERT_TRUE(child.waitForFinished(60000));
            EXPECT_EQ(child.exitCode(), 0) << "at scale " << scale << ":\n" << child.readAll().toStdString();
        }
        return;
    }
    Harness harness;
    StartWithAnna(harness);
    MainPanel& panel = harness.Panel();
    EXPECT_EQ(panel.size(), QSize(MainPanel::Width, MainPanel::Height));
    StatusLine* line = harness.Frame()->GetStatusLine();
    EXPECT_EQ(line->geometry().top(), panel.geometry().bottom() + 1);
    for (int pane = 0; pane < 3; ++pane)
        EXPECT_EQ(line->PaneRect(pane).right() + 1, StatusLine::RightEdges[static_cast<std::size_t>(pane)]);
    for (const QPushButton* button : panel.findChildren<QPushButton*>()) {
        const QString text = button->text().remove('&');
        EXPECT_LE(button->fontMetrics().horizontalAdvance(text) + 4, button->width()) << text.toStdString();
    }
    // Icons come from sources made for the scale, not from a blown-up 16 px bitmap.
    const qreal ratio = panel.devicePixelRatioF();
    for (const int icon : {ids::UntickedIcon, ids::TickedIcon, ids::ProgramIcon})
        EXPECT_GE(ScaledIcon(icon).pixmap(QSize(16, 16), ratio).width(), qRound(16 * ratio)) << icon;
}
