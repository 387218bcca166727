// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a whole: where its controls stand, what start-up and exit
// read and write, and the status line, info box and tips.
#include "GuiTestSupport.h"

#include "ui/ControlIds.h"
#include "app/MainFrame.h"
#include "ui/MainPanel.h"
#include "ui/SelectList.h"
#include "ui/StatusLine.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace gui_test;
using glyphmoor::MessageIcon;

namespace {

QRect RectOf(MainPanel& panel, int id)
{
    auto* widget = panel.findChild<QWidget*>(QString::number(id));
    return widget == nullptr ? QRect() : widget->geometry();
}

class MainWindow : public testing::Test {
protected:
    void SetUp() override
    {
        TestData::WriteAll(harness.files);
        WriteRoster(harness.files, {{"Anna", 30, {0, 1, 2}, {0, 12}, 1, 0, 0}, {"Bert", 10, {}, {}, 0, 0, 0}});
    }
    Harness harness;
};

} // namespace

TEST_F(MainWindow, PlacesEveryControlAtItsRectangle)
{
    harness.Start();
    MainPanel& panel = harness.Panel();
    EXPECT_EQ(panel.size(), QSize(746, 530));
    const std::pair<int, QRect> expected[] = {
        {ids::RuneList, QRect(8, 8, 154, 192)},       {ids::ItemList, QRect(8, 208, 154, 314)},
        {ids::RunewordList, QRect(170, 8, 440, 303)}, {ids::InfoBox, QRect(170, 319, 440, 203)},
        {ids::CharacterList, QRect(618, 8, 120, 135)}, {ids::RunesLabel, QRect(619, 167, 118, 12)},
        {ids::AllRunesButton, QRect(618, 190, 120, 22)}, {ids::CommonButton, QRect(618, 218, 120, 22)},
        {ids::SemiRareButton, QRect(618, 246, 120, 22)}, {ids::ExtremelyRareButton, QRect(618, 274, 120, 22)},
        {ids::ItemsLabel, QRect(619, 325, 118, 12)},     {ids::AllItemsButton, QRect(618, 348, 120, 22)},
        {ids::AllWeaponsButton, QRect(618, 376, 120, 22)}, {ids::MeleeWeaponsButton, QRect(618, 404, 120, 22)},
        {ids::MissileWeaponsButton, QRect(618, 432, 120, 22)}, {ids::AllDefenceButton, QRect(618, 460, 120, 22)},
        {ids::ExitButton, QRect(618, 500, 120, 22)},
    };
    for (const auto& [id, rect] : expected)
        EXPECT_EQ(RectOf(panel, id), rect) << "control " << id;

    EXPECT_EQ(panel.findChild<QPushButton*>(QString::number(ids::CommonButton))->text(), "&Common");
    EXPECT_EQ(panel.findChild<QLabel*>(QString::number(ids::ItemsLabel))->text(), "Items");
    EXPECT_EQ(harness.Frame()->windowTitle(), "Glyphmoor v1.3.3");
}

TEST_F(MainWindow, ListsHaveTheirRowsAndColumns)
{
    harness.Start();
    SelectList& runes = harness.List(ids::RuneList);
    SelectList& items = harness.List(ids::ItemList);
    SelectList& runewords = harness.List(ids::RunewordList);
    SelectList& characters = harness.List(ids::CharacterList);
    EXPECT_EQ(runes.GetRowCount(), 33);
    EXPECT_EQ(items.GetRowCount(), 18);
    EXPECT_EQ(runes.GetItemText(11, 0), "R11");
    // Three columns of eleven: row 11 heads the second column.
    EXPECT_EQ(runes.RowRect(11).topLeft(), QPoint(50, 0));
    EXPECT_EQ(runes.RowRect(32).topLeft(), QPoint(100, 160));
    EXPECT_TRUE(items.Header()->isHidden());

    const int v = harness.Panel().style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_EQ(runewords.GetColumnWidth(0), 120);
    EXPECT_EQ(runewords.GetColumnWidth(1), 140);
    EXPECT_EQ(runewords.GetColumnWidth(2), 176 - v);
    EXPECT_EQ(characters.GetColumnWidth(0), 86 - v);
    EXPECT_EQ(characters.GetColumnWidth(1), 30);
    EXPECT_EQ(runewords.Header()->model()->headerData(1, Qt::Horizontal).toString(), "Rune Order");
    EXPECT_EQ(characters.GetItemText(1, 0), "Bert");
    EXPECT_EQ(characters.GetItemText(1, 1), "10");
}

TEST_F(MainWindow, StatusLinePanesEndAtTheirEdges)
{
    harness.Start();
    StatusLine* line = harness.Frame()->GetStatusLine();
    EXPECT_EQ(line->PaneRect(0).right() + 1, 203);
    EXPECT_EQ(line->PaneRect(1).right() + 1, 386);
    EXPECT_EQ(line->PaneRect(2).right() + 1, 610);
    EXPECT_EQ(line->PaneRect(3).right() + 1, line->width());
}

TEST_F(MainWindow, FixedSizeWithoutMaximiseButton)
{
    harness.Start();
    MainFrame* frame = harness.Frame();
    EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
    EXPECT_FALSE(frame->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(frame->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
}

TEST_F(MainWindow, MissingDataFileIsReportedBeforeTheWindowShows)
{
    harness.files.Remove("items.dat");
    harness.files.Remove("runes.dat");
    harness.Start();
    ASSERT_EQ(harness.prompter.shown.size(), 2u);
    EXPECT_EQ(harness.prompter.shown[0].message.text, "File not found: 'runes.dat'");
    EXPECT_EQ(harness.prompter.shown[1].message.text, "File not found: 'items.dat'");
    EXPECT_EQ(harness.prompter.shown[1].message.caption, "Error...");
    EXPECT_EQ(harness.prompter.shown[1].message.icon, MessageIcon::Exclamation);
    EXPECT_FALSE(harness.prompter.shown[0].windowVisible);
    EXPECT_EQ(harness.prompter.shown[0].owner, nullptr);
    EXPECT_EQ(harness.List(ids::RuneList).GetRowCount(), 33);
    EXPECT_EQ(harness.List(ids::ItemList).GetRowCount(), 18);
    EXPECT_EQ(harness.List(ids::RuneList).GetItemText(0, 0), "");
}

TEST_F(MainWindow, StartupAppliesTheStoredCharacterAndSettings)
{
    // Rune rule "any", character rule "selected", over 0, under 100, limits
    // off, rune info, character 1.
    harness.files.Replace("settings.dat", glyphmoor::EncodeSettings({glyphmoor::AnyRune, glyphmoor::SelectedCharacter, 0, 100, false}, glyphmoor::RuneInfo, 1));
    WriteRoster(harness.files, {{"Anna", 30, {0, 1, 2}, {0, 12}, 1, 0, 0},
                                {"Bert", 10, {0, 2}, {0, 1, 12}, 2, 12, 1}});
    harness.Start();
    EXPECT_TRUE(harness.prompter.shown.empty());
    MainPanel& panel = harness.Panel();
    EXPECT_EQ(panel.GetRoster().selectedCharacter, 1);
    EXPECT_EQ(harness.List(ids::CharacterList).GetFirstSelectedRow(), 1);
    EXPECT_EQ(harness.List(ids::RuneList).GetTick(2), 1);
    EXPECT_EQ(harness.List(ids::RuneList).GetTick(1), 0);
    EXPECT_EQ(harness.List(ids::RuneList).GetFirstSelectedRow(), 2);
    EXPECT_EQ(harness.List(ids::ItemList).GetFirstSelectedRow(), 12);
    // Runes 0 and 2 with Mel0, Mel1, Def0 at Clvl 10, any rune: Alpha, Twice, Eta.
    SelectList& runewords = harness.List(ids::RunewordList);
    ASSERT_EQ(runewords.GetRowCount(), 3);
    EXPECT_EQ(runewords.GetItemText(0, 0), "Alpha");
    EXPECT_EQ(runewords.GetItemText(1, 0), "Twice");
    EXPECT_EQ(runewords.GetItemText(1, 1), "R02 R02");
    EXPECT_EQ(runewords.GetItemText(2, 2), "Mel0");
    EXPECT_EQ(runewords.GetFirstSelectedRow(), 1);
    EXPECT_EQ(harness.Pane(1), " R02:  Clvl requirement:  5");
    EXPECT_EQ(harness.Pane(0), " Def0:  Max possible sockets:  4");
    EXPECT_EQ(harness.Pane(2), " Twice:  Clvl requirement:  5");
    EXPECT_EQ(panel.InfoBox()->toPlainText(), "Rune 2\nsecond line");
    EXPECT_TRUE(harness.List(ids::RuneList).hasFocus());
}

TEST_F(MainWindow, ExitWritesTheCharacterThenTheSettings)
{
    harness.Start();
    harness.Command(ids::AnyRuneRule);
    Click(harness.List(ids::RuneList), StateIconPoint(harness.List(ids::RuneList), 5));
    harness.Close();
    const QByteArray roster = harness.File("chars.dat");
    ASSERT_EQ(roster.size(), 2 * 71);
    EXPECT_EQ(roster[17 + 5], 1);
    EXPECT_EQ(roster[17 + 0], 1);
    const QByteArray settings = harness.File("settings.dat");
    ASSERT_EQ(settings.size(), 28);
    EXPECT_EQ(settings[0], 2);
    EXPECT_EQ(settings[20], 3);
    EXPECT_EQ(settings[24], 0);
}

TEST_F(MainWindow, ExitButtonSavesLikeTheCloseBox)
{
    harness.Start();
    Click(harness.List(ids::RuneList), StateIconPoint(harness.List(ids::RuneList), 7));
    harness.Panel().findChild<QPushButton*>(QString::number(ids::ExitButton))->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(harness.Frame(), nullptr);
    EXPECT_EQ(harness.File("chars.dat")[17 + 7], 1);
    EXPECT_EQ(harness.File("settings.dat").size(), 28);
}

TEST_F(MainWindow, EmptyListClearsInfoBoxAndRunewordPane)
{
    harness.Start();
    ASSERT_GT(harness.List(ids::RunewordList).GetRowCount(), 0);
    harness.Panel().OnGroupButton(ids::AllItemsButton); // some ticked: ticks all
    harness.Panel().OnGroupButton(ids::AllItemsButton); // all ticked: unticks all
    EXPECT_EQ(harness.List(ids::RunewordList).GetRowCount(), 0);
    EXPECT_EQ(harness.Panel().InfoBox()->toPlainText(), "");
    EXPECT_EQ(harness.Pane(2), "");
}

TEST_F(MainWindow, TipsFitTheirCapacity)
{
    harness.Start();
    MainPanel& panel = harness.Panel();
    EXPECT_EQ(panel.GetInfoTip(1, 6, 1024), "Clvl requirement: 13\n\nRune 6\nsecond line");
    EXPECT_EQ(panel.GetInfoTip(2, 3, 1024), "Item tooltips is not yet implemended");
    // "Clvl requirement: 13\r\n\r\nRune 6\r\nsecond line" is 43 characters.
    EXPECT_FALSE(panel.GetInfoTip(1, 6, 44).startsWith("Error"));
    EXPECT_EQ(panel.GetInfoTip(1, 6, 43), "Error:\nTooltip text too long");
    EXPECT_EQ(panel.GetInfoTip(1, 6, 28), "");
    EXPECT_EQ(panel.GetInfoTip(3, 0, 1024), "Clvl requirement: 3\n\nGrants Alpha\nto the bearer");
}

TEST_F(MainWindow, InfoKindCommandsRefillTheInfoBox)
{
    harness.Start();
    MainPanel& panel = harness.Panel();
    const int selectedRuneword = harness.List(ids::RunewordList).GetFirstSelectedRow();
    const int refreshes = panel.RefreshCount();
    harness.Command(ids::ShowItemInfo);
    EXPECT_EQ(panel.InfoBox()->toPlainText(), "Item information is not yet implemended");
    EXPECT_EQ(panel.RefreshCount(), refreshes);
    EXPECT_EQ(harness.List(ids::RunewordList).GetFirstSelectedRow(), selectedRuneword);
    harness.Command(ids::ShowRuneInfo);
    EXPECT_EQ(panel.InfoBox()->toPlainText(), "Rune 1\nsecond line");
    harness.Command(ids::ShowRunewordInfo);
    EXPECT_EQ(panel.InfoBox()->toPlainText(), "Grants Alpha\nto the bearer");
    harness.ShowMenusFor(ids::ShowRunewordInfo);
    EXPECT_TRUE(harness.Checked(ids::ShowRunewordInfo));
    EXPECT_FALSE(harness.Checked(ids::ShowRuneInfo));
}

namespace {

class WideScrollBars : public QProxyStyle {
public:
    explicit WideScrollBars(int extent) : QProxyStyle(QStyleFactory::create("Fusion")), extent(extent) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        return metric == PM_ScrollBarExtent ? extent : QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    int extent;
};

} // namespace

TEST_F(MainWindow, RestyleKeepsColumnsFittedToTheScrollBar)
{
    harness.Start();
    const QString previous = QApplication::style()->name();
    QApplication::setStyle(new WideScrollBars(20));
    EXPECT_EQ(harness.List(ids::RunewordList).GetColumnWidth(2), 156);
    EXPECT_EQ(harness.List(ids::CharacterList).GetColumnWidth(0), 66);
    // However wide the scroll bars, no column is wider than its list.
    QApplication::setStyle(new WideScrollBars(200));
    EXPECT_EQ(harness.List(ids::RunewordList).GetColumnWidth(2), 0);
    EXPECT_EQ(harness.List(ids::CharacterList).GetColumnWidth(0), 0);
    QApplication::setStyle(QStyleFactory::create(previous));
}

TEST_F(MainWindow, TabMovesThroughTheListsThenTheButtons)
{
    harness.Start();
    harness.Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(harness.Frame()));
    std::vector<QWidget*> expected = {harness.List(ids::ItemList).View(), harness.List(ids::RunewordList).View(),
                                      harness.List(ids::CharacterList).View()};
    for (int id : {ids::AllRunesButton, ids::CommonButton})
        expected.push_back(harness.Panel().findChild<QWidget*>(QString::number(id)));
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
}

TEST_F(MainWindow, ShowsItsIcons)
{
    harness.Start();
    const QList<QSize> sizes = harness.Frame()->windowIcon().availableSizes();
    EXPECT_EQ(sizes.size(), 7);
    EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(256, 256)));
    EXPECT_FALSE(QIcon(QStringLiteral(":/icons/108.png")).pixmap(16, 16).isNull());
    EXPECT_FALSE(QIcon(QStringLiteral(":/icons/109.png")).pixmap(16, 16).isNull());
}
