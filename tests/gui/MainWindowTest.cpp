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

#include <algorithm>
#include <tuple>

using namespace gui_test;
using glyphmoor::MessageIcon;

namespace {

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

// The panel's design rules rather than its numbers: no control overlaps
// another, 8 px margins and gaps between the columns, shared column edges,
// centred labels, and one button height and pitch within each group.
TEST_F(MainWindow, ControlsFollowTheGridOfThePanel)
{
    harness.Start();
    MainPanel& panel = harness.Panel();
    std::vector<QWidget*> column; // the button column, top to bottom
    std::vector<QRect> all;
    for (QWidget* child : panel.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->inherits("QLabel"))
            continue;
        for (const QRect& other : all)
            EXPECT_FALSE(other.intersects(child->geometry())) << child->objectName().toStdString();
        all.push_back(child->geometry());
        if (child->geometry().left() > 610 && child->objectName() != QString::number(ids::CharacterList))
            column.push_back(child);
    }
    auto rect = [&panel](int id) { return panel.findChild<QWidget*>(QString::number(id))->geometry(); };
    const QRect runes = rect(ids::RuneList), items = rect(ids::ItemList), words = rect(ids::RunewordList),
                info = rect(ids::InfoBox), characters = rect(ids::CharacterList);
    const int right = panel.width() - 8, bottom = panel.height() - 8;
    EXPECT_EQ(std::vector<int>({runes.left(), runes.top(), words.top(), characters.top()}), std::vector<int>(4, 8));
    EXPECT_EQ(std::vector<int>({characters.right() + 1, items.bottom() + 1, info.bottom() + 1,
                                column.back()->geometry().bottom() + 1}),
              std::vector<int>({right, bottom, bottom, bottom}));
    EXPECT_EQ(std::vector<int>({items.top() - runes.bottom(), words.left() - runes.right(), info.top() - words.bottom(),
                                characters.left() - words.right()}),
              std::vector<int>(4, 9));
    EXPECT_EQ(std::make_pair(items.left(), items.right()), std::make_pair(runes.left(), runes.right()));
    EXPECT_EQ(std::make_pair(info.left(), info.right()), std::make_pair(words.left(), words.right()));
    std::sort(column.begin(), column.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    ASSERT_EQ(column.size(), 12u); // two frames, ten buttons
    for (std::size_t i = 0; i < column.size(); ++i) {
        const QRect r = column[i]->geometry();
        EXPECT_EQ(std::make_tuple(r.left(), r.right(), r.height()),
                  std::make_tuple(characters.left(), characters.right(), column[0]->height())) << i;
        if (i > 0 && i != 5 && i != 11) {
            EXPECT_EQ(r.top() - column[i - 1]->geometry().top(), 28) << i; // one pitch within a group
        }
    }
    for (const auto& [label, frame] : {std::pair{ids::RunesLabel, 0}, std::pair{ids::ItemsLabel, 5}}) {
        const QRect r = rect(label), f = column[static_cast<std::size_t>(frame)]->geometry();
        EXPECT_EQ(std::make_tuple(r.left() - 1, r.right() + 1, r.center().y()), std::make_tuple(f.left(), f.right(), f.center().y()));
    }
}
