// SPDX-License-Identifier: GPL-3.0-or-later
// Ticking runes and item types with the mouse, the keyboard and the group
// buttons, and the Filters commands.
#include "GuiTestSupport.h"

#include "ui/ControlIds.h"
#include "app/MainFrame.h"
#include "ui/MainPanel.h"
#include "ui/SelectList.h"

#include <QTest>
#include <QWindow>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace gui_test;

namespace {

class Ticking : public testing::Test {
protected:
    void SetUp() override
    {
        TestData::WriteAll(harness.files);
        // Anna: runes 0-2, items Mel0 and Def0; Bert: nothing ticked.
        WriteRoster(harness.files, {{"Anna", 30, {0, 1, 2}, {0, 12}, 1, 0, 0}, {"Bert", 10, {}, {}, 4, 3, 0}});
        harness.Start();
    }

    std::vector<int> TickedRows(int listId) const
    {
        std::vector<int> rows;
        SelectList& list = harness.List(listId);
        for (int row = 0; row < list.GetRowCount(); ++row) {
            if (list.GetTick(row) == 1)
                rows.push_back(row);
        }
        return rows;
    }

    std::vector<QString> Runewords() const
    {
        std::vector<QString> names;
        SelectList& list = harness.List(ids::RunewordList);
        for (int row = 0; row < list.GetRowCount(); ++row)
            names.push_back(list.GetItemText(row, 0));
        return names;
    }

    int Refreshes() const { return harness.Panel().RefreshCount(); }

    Harness harness;
};

} // namespace

TEST_F(Ticking, ClickOnStateIconFlipsTheTickAndRebuildsOnce)
{
    SelectList& runes = harness.List(ids::RuneList);
    // Prime the snapshot, which start-up leaves stale, with one tick change.
    Click(runes, StateIconPoint(runes, 14));
    ASSERT_EQ(runes.GetTick(14), 1);
    const int before = Refreshes();
    Click(runes, StateIconPoint(runes, 14));
    EXPECT_EQ(runes.GetTick(14), 0);
    EXPECT_EQ(Refreshes(), before + 1);
}

TEST_F(Ticking, ClickOnLabelSelectsWithoutRebuilding)
{
    SelectList& runes = harness.List(ids::RuneList);
    Click(runes, StateIconPoint(runes, 3)); // brings the snapshot up to date
    Click(runes, StateIconPoint(runes, 3));
    const int before = Refreshes();
    Click(runes, LabelPoint(runes, 14));
    EXPECT_EQ(Refreshes(), before);
    EXPECT_EQ(runes.GetTick(14), 0);
    EXPECT_EQ(runes.GetFirstSelectedRow(), 14);
    EXPECT_EQ(harness.Pane(1), " R14:  Clvl requirement:  29");
}

TEST_F(Ticking, DoubleClickOnStateIconFlipsTwice)
{
    SelectList& items = harness.List(ids::ItemList);
    Click(items, LabelPoint(items, 5)); // selects the row and brings the snapshot up to date
    const int before = Refreshes();
    DoubleClick(items, StateIconPoint(items, 5));
    EXPECT_EQ(items.GetTick(5), 0);
    EXPECT_EQ(Refreshes(), before + 2);
}

TEST_F(Ticking, RightClickChoosesItemInfo)
{
    SelectList& items = harness.List(ids::ItemList);
    Click(items, LabelPoint(items, 4), Qt::RightButton);
    EXPECT_EQ(harness.Panel().GetInfoKind(), 2);
    EXPECT_EQ(harness.Panel().InfoBox()->toPlainText(), "Item information is not yet implemended");
    harness.ShowMenusFor(ids::ShowItemInfo);
    EXPECT_TRUE(harness.Checked(ids::ShowItemInfo));
    EXPECT_FALSE(harness.Checked(ids::ShowRunewordInfo));

    Click(items, StateIconPoint(items, 4), Qt::RightButton);
    EXPECT_EQ(items.GetTick(4), 1);
}

TEST_F(Ticking, RightClickInRunewordListShowsTheRunewordDescription)
{
    harness.Command(ids::ShowRuneInfo);
    SelectList& runewords = harness.List(ids::RunewordList);
    Click(runewords, LabelPoint(runewords, 1), Qt::RightButton);
    EXPECT_EQ(harness.Panel().GetInfoKind(), 3);
    EXPECT_EQ(harness.Panel().InfoBox()->toPlainText(), "Grants Twice\nto the bearer");
}

TEST_F(Ticking, SpaceFlipsTheSelectionMarkRow)
{
    SelectList& runes = harness.List(ids::RuneList);
    Click(runes, LabelPoint(runes, 20));
    QTest::keyClick(runes.View(), Qt::Key_Space);
    EXPECT_EQ(runes.GetTick(20), 1);
    QTest::keyClick(runes.View(), Qt::Key_Space);
    EXPECT_EQ(runes.GetTick(20), 0);

    SelectList& runewords = harness.List(ids::RunewordList);
    const auto listed = Runewords();
    QTest::keyClick(runewords.View(), Qt::Key_Space);
    EXPECT_EQ(Runewords(), listed);
}

TEST_F(Ticking, ClickBelowTheRowsKeepsTheSelectedRow)
{
    SelectList& items = harness.List(ids::ItemList);
    Click(items, LabelPoint(items, 6));
    Click(items, QPoint(40, 300)); // below the 18th row
    EXPECT_EQ(items.GetFirstSelectedRow(), 6);

    SelectList& runewords = harness.List(ids::RunewordList);
    Click(runewords, LabelPoint(runewords, 2));
    Click(runewords, QPoint(100, 250));
    EXPECT_EQ(runewords.GetFirstSelectedRow(), 2);
}

TEST_F(Ticking, ClickOnSelectedRunewordRewritesItsPane)
{
    SelectList& runewords = harness.List(ids::RunewordList);
    Click(runewords, LabelPoint(runewords, 1));
    harness.Panel().UpdateStatusPane(3, -1);
    Click(runewords, LabelPoint(runewords, 1));
    EXPECT_EQ(harness.Pane(2), " Twice:  Clvl requirement:  5");
}

TEST_F(Ticking, RefreshKeepsTheSelectedRunewordWhileItIsListed)
{
    SelectList& runewords = harness.List(ids::RunewordList);
    ASSERT_EQ(Runewords(), (std::vector<QString>{"Alpha", "Twice", "Eta"}));
    Click(runewords, LabelPoint(runewords, 2)); // Eta
    SelectList& items = harness.List(ids::ItemList);
    Click(items, StateIconPoint(items, 13)); // Def1
    Click(harness.List(ids::RuneList), StateIconPoint(harness.List(ids::RuneList), 3));
    Click(harness.List(ids::RuneList), StateIconPoint(harness.List(ids::RuneList), 4));
    Click(harness.List(ids::RuneList), StateIconPoint(harness.List(ids::RuneList), 5));
    EXPECT_EQ(Runewords(), (std::vector<QString>{"Alpha", "Twice", "Gamma", "Eta"}));
    EXPECT_EQ(runewords.GetFirstSelectedRow(), 3);
    EXPECT_EQ(harness.Pane(2), " Eta:  Clvl requirement:  1");

    Click(items, StateIconPoint(items, 0)); // without Mel0, Eta and Alpha go
    EXPECT_EQ(Runewords(), (std::vector<QString>{"Twice", "Gamma"}));
    EXPECT_EQ(runewords.GetFirstSelectedRow(), 0);
}

TEST_F(Ticking, GroupButtonsTickOrUntickTheirGroupWithOneRebuild)
{
    MainPanel& panel = harness.Panel();
    int before = Refreshes();
    panel.OnGroupButton(ids::CommonButton); // rows 0-2 ticked: ticks 0-10
    EXPECT_EQ(Refreshes(), before + 1);
    EXPECT_EQ(TickedRows(ids::RuneList), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    panel.OnGroupButton(ids::CommonButton);
    EXPECT_TRUE(TickedRows(ids::RuneList).empty());

    panel.OnGroupButton(ids::SemiRareButton);
    EXPECT_EQ(TickedRows(ids::RuneList), (std::vector<int>{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}));
    panel.OnGroupButton(ids::ExtremelyRareButton);
    EXPECT_EQ(TickedRows(ids::RuneList).size(), 22u);
    before = Refreshes();
    panel.OnGroupButton(ids::AllRunesButton);
    EXPECT_EQ(TickedRows(ids::RuneList).size(), 33u);
    panel.OnGroupButton(ids::AllRunesButton);
    EXPECT_TRUE(TickedRows(ids::RuneList).empty());
    EXPECT_EQ(Refreshes(), before + 2);
}

TEST_F(Ticking, ItemGroupButtonsFollowTheCategories)
{
    MainPanel& panel = harness.Panel();
    // Anna has Mel0 and Def0. Melee: all six become ticked.
    panel.OnGroupButton(ids::MeleeWeaponsButton);
    EXPECT_EQ(TickedRows(ids::ItemList), (std::vector<int>{0, 1, 2, 3, 4, 5, 12}));
    // All weapons with every melee ticked and the missiles not: all twelve.
    panel.OnGroupButton(ids::AllWeaponsButton);
    EXPECT_EQ(TickedRows(ids::ItemList), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    panel.OnGroupButton(ids::MissileWeaponsButton);
    EXPECT_EQ(TickedRows(ids::ItemList), (std::vector<int>{0, 1, 2, 3, 4, 5, 12}));
    panel.OnGroupButton(ids::AllDefenceButton);
    EXPECT_EQ(TickedRows(ids::ItemList).size(), 12u);
    const int before = Refreshes();
    panel.OnGroupButton(ids::AllItemsButton);
    EXPECT_EQ(TickedRows(ids::ItemList).size(), 18u);
    EXPECT_EQ(Refreshes(), before + 1);
}

TEST_F(Ticking, BoundCommandsResetEachOther)
{
    MainPanel& panel = harness.Panel();
    harness.Command(ids::ClvlOverFirst + 3); // over 30
    EXPECT_EQ(panel.Filter().clvlOver, 30);
    EXPECT_EQ(panel.Filter().clvlUnder, 100);
    EXPECT_FALSE(panel.Filter().ignoreClvlLimits);
    harness.ShowMenusFor(ids::IgnoreClvlLimits);
    harness.ShowMenusFor(ids::ClvlOverFirst);
    EXPECT_FALSE(harness.Checked(ids::IgnoreClvlLimits));
    EXPECT_TRUE(harness.Checked(ids::ClvlOverFirst + 3));

    harness.Command(ids::ClvlUnderFirst + 4); // under 40
    EXPECT_EQ(panel.Filter().clvlUnder, 40);
    EXPECT_EQ(panel.Filter().clvlOver, 0);
    harness.ShowMenusFor(ids::ClvlOverFirst);
    harness.ShowMenusFor(ids::ClvlUnderFirst);
    for (int id = ids::ClvlOverFirst; id <= ids::ClvlUnderLast; ++id)
        EXPECT_EQ(harness.Checked(id), id == ids::ClvlUnderFirst + 4) << id;
}

TEST_F(Ticking, IgnoreToggleKeepsTheChosenBound)
{
    MainPanel& panel = harness.Panel();
    panel.OnGroupButton(ids::AllRunesButton);
    panel.OnGroupButton(ids::AllItemsButton);
    harness.Command(ids::ClvlOverFirst + 3); // over 30: Zeta (43) alone
    EXPECT_EQ(Runewords(), (std::vector<QString>{"Zeta"}));
    harness.Command(ids::IgnoreClvlLimits);
    EXPECT_EQ(Runewords().size(), 7u);
    harness.ShowMenusFor(ids::IgnoreClvlLimits);
    harness.ShowMenusFor(ids::ClvlOverFirst);
    EXPECT_TRUE(harness.Checked(ids::IgnoreClvlLimits));
    EXPECT_TRUE(harness.Checked(ids::ClvlOverFirst + 3));
    harness.Command(ids::IgnoreClvlLimits);
    EXPECT_EQ(Runewords(), (std::vector<QString>{"Zeta"}));
}

TEST_F(Ticking, RuleCommandsRefreshEvenWhenUnchanged)
{
    const int before = Refreshes();
    harness.Command(ids::AllRunesRule);
    EXPECT_EQ(Refreshes(), before + 1);
    harness.Command(ids::AnyRuneRule);
    harness.ShowMenusFor(ids::AnyRuneRule);
    EXPECT_TRUE(harness.Checked(ids::AnyRuneRule));
    EXPECT_FALSE(harness.Checked(ids::AllRunesRule));
    harness.Command(ids::SelectedCharacterRule);
    EXPECT_EQ(harness.Panel().Filter().characterRule, 1);
    EXPECT_EQ(Refreshes(), before + 3);
}

TEST_F(Ticking, ApplySelectedCharacterRebuildsOnce)
{
    MainPanel& panel = harness.Panel();
    const int before = Refreshes();
    panel.SelectCharacter(1);
    EXPECT_EQ(Refreshes(), before + 1);
    EXPECT_TRUE(TickedRows(ids::RuneList).empty());
    EXPECT_EQ(harness.List(ids::RuneList).GetFirstSelectedRow(), 4);
    EXPECT_EQ(harness.List(ids::ItemList).GetFirstSelectedRow(), 3);
    EXPECT_EQ(harness.List(ids::RunewordList).GetRowCount(), 0);
    EXPECT_TRUE(panel.NotificationsEnabled());
}
