// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a player meets it: mouse and keys as desktop lists take them,
// which list has the keyboard, the runeword pane, the menus' marks, and the
// layout at higher scale factors.
#include "GuiTestSupport.h"

#include "app/MainFrame.h"
#include "ui/ControlIds.h"
#include "ui/MainPanel.h"
#include "ui/SelectList.h"
#include "ui/StatusLine.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
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
    WriteRoster(harness.files, {{"Anna", 30, {0, 1, 2}, {0, 12}, 1, 0, 4}, {"Bert", 10, {}, {}, 4, 3, 0}});
    harness.Start();
}

} // namespace

TEST(WindowAudit, MouseAndSpaceActAsOnDesktopLists)
{
    Harness harness;
    StartWithAnna(harness);
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
    // Near: the focus frame may tint the pixel a little.
    auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 24;
    };
    const QPalette palette = runes.View()->palette();
    EXPECT_TRUE(near(selectionColour(runes), palette.color(QPalette::Active, QPalette::Highlight)));
    const QColor unfocused = selectionColour(items);
    EXPECT_FALSE(near(unfocused, palette.color(QPalette::Active, QPalette::Highlight)));
    EXPECT_FALSE(near(unfocused, palette.color(QPalette::Base))) << "the selection must stay visible";
}

TEST(WindowAudit, RunewordPaneDescribesTheSelectedRunewordOrNothing)
{
    Harness harness;
    StartWithAnna(harness);
    SelectList& runewords = harness.List(ids::RunewordList);
    ASSERT_EQ(runewords.GetFirstSelectedRow(), 0);
    EXPECT_TRUE(harness.Pane(2).contains(runewords.GetItemText(0, 0))) << harness.Pane(2).toStdString();
    harness.Command(ids::ShowRuneInfo);
    harness.Panel().OnGroupButton(ids::AllItemsButton); // all ticked
    harness.Panel().OnGroupButton(ids::AllItemsButton); // none: the list empties
    ASSERT_EQ(runewords.GetRowCount(), 0);
    EXPECT_EQ(harness.Pane(2), "");
}

TEST(WindowAudit, MenusMarkOnlyTheChosenItemInEveryStyle)
{
    const QString style = QApplication::style()->name();
    for (const char* name : {"Fusion", "Windows"}) {
        QApplication::setStyle(QString::fromLatin1(name));
        Harness harness;
        StartWithAnna(harness);
        harness.ShowMenusFor(ids::ShowRunewordInfo);
        auto* options = harness.Frame()->findChild<QMenu*>(QStringLiteral("optionsMenu"));
        ASSERT_NE(options, nullptr);
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

// The same window under QT_SCALE_FACTOR 1.5 and 2: this test runs itself in a
// new process for each, where the checks below run at that scale.
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
                        {"--gtest_filter=WindowAudit.ScaledWindowKeepsItsLayoutAndFitsItsTexts"});
            ASSERT_TRUE(child.waitForFinished(60000));
            EXPECT_EQ(child.exitCode(), 0) << "at scale " << scale << ":\n" << child.readAll().toStdString();
        }
        return;
    }
    Harness harness;
    for (const char* name : {"runes.dat", "items.dat", "runewords.dat"})
        ASSERT_TRUE(QFile::copy(QString(GLYPHMOOR_SAMPLE_DATA "/") + name, harness.dir.filePath(name)));
    WriteRoster(harness.files, {{"Tester", 99, {}, {}, 0, 0, 0}});
    harness.Start();
    MainPanel& panel = harness.Panel();
    EXPECT_EQ(panel.size(), QSize(MainPanel::Width, MainPanel::Height));
    StatusLine* line = harness.Frame()->GetStatusLine();
    for (int pane = 0; pane < 3; ++pane)
        EXPECT_EQ(line->PaneRect(pane).right() + 1, StatusLine::RightEdges[static_cast<std::size_t>(pane)]);
    EXPECT_EQ(line->geometry().top(), panel.geometry().bottom() + 1);
    for (const QPushButton* button : panel.findChildren<QPushButton*>()) {
        const QString text = button->text().remove('&');
        EXPECT_LE(button->fontMetrics().horizontalAdvance(text) + 4, button->width()) << text.toStdString();
    }
    for (int id : {ids::RuneList, ids::ItemList}) {
        const SelectList& list = harness.List(id);
        for (int row = 0; row < list.GetRowCount(); ++row)
            EXPECT_LT(list.LabelRect(row).right(), list.RowRect(row).right()) << list.GetItemText(row, 0).toStdString();
    }
    const std::pair<int, int> kinds[] = {{ids::ItemList, 0}, {ids::RuneList, 1}};
    for (const auto& [id, pane] : kinds) {
        const QLabel* label = line->findChild<QLabel*>(QStringLiteral("pane%1").arg(pane));
        for (int row = 0; row < harness.List(id).GetRowCount(); ++row) {
            panel.UpdateStatusPane(pane == 0 ? glyphmoor::ItemInfo : glyphmoor::RuneInfo, row);
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()) + label->indent(),
                      label->contentsRect().width()) << label->text().toStdString();
        }
    }
}
