// SPDX-License-Identifier: GPL-3.0-or-later
// The window's state and texts without a window.
#include "TestSupport.h"
#include "core/RunewordFilter.h"
#include "core/Session.h"

#include <gtest/gtest.h>

using namespace glyphmoor;
using namespace glyphmoor::test;

namespace {

class SessionTest : public testing::Test, protected SessionObserver {
protected:
    void SetUp() override
    {
        t.files.files = {{RunesFileName, TestRunesFile()},
                         {ItemsFileName, TestItemsFile()},
                         {RunewordsFileName,
                          Concat({DateBytes(), RunewordRecord("Twin", {"Sabres"}, {"Vur", "Kess"}, "first"),
                                  RunewordRecord("Twin", {"Sabres"}, {"Orna", "Kess", "Nope"}, "second"),
                                  RunewordRecord("Lone", {"Coifs"}, {"Dask"}, "third")})}};
        ASSERT_TRUE(session.Load());
        session.SetObserver(this);
        session.AddCharacter("Tess", 40);
        session.SetTick(Pick::ItemType, 3, true); // Sabres
    }
    void TicksChanged(Pick list) override { changes.push_back(static_cast<int>(list)); }
    void RulesChanged() override { changes.push_back(0); }

    TestIo t;
    Session session{t.io()};
    std::vector<int> changes;
};

TEST_F(SessionTest, RowsOfRunewordsWithOneNameTellTheirOwnTexts)
{
    session.SetTick(Pick::Rune, 1, true); // Kess
    session.SetRuneRule(AnyRune);
    session.ListRunewords();
    ASSERT_EQ(session.Listed(), (std::vector<int>{0, 1}));
    EXPECT_EQ(session.ListedRuneword(2), -1);
    EXPECT_EQ(session.StatusText(Pick::ItemType, ItemTypeCount) + session.StatusText(Pick::Rune, RuneCount) +
                  session.TipText(Pick::Rune, RuneCount, 1024),
              "");
    session.SetHighlighted(Pick::Runeword, 1);
    EXPECT_EQ(session.InfoText(), "second");
    EXPECT_EQ(session.StatusText(Pick::Runeword, 1), " Twin:  Clvl requirement:  3");
    EXPECT_EQ(session.TipText(Pick::Runeword, 0, 1024), "Clvl requirement: 2\r\n\r\nfirst");
    EXPECT_EQ(session.TipText(Pick::Rune, 0, 1024), "Clvl requirement: 1\r\n\r\nAbout Vur.");
    session.SetInfoKind(RuneInfo);
    session.SetHighlighted(Pick::Rune, 0);
    EXPECT_EQ(session.InfoText(), "About Vur.");
    session.CaptureSelected();
    EXPECT_EQ(session.GetRoster().Selected().GetHighlight(HighlightedRuneword), 1);
    EXPECT_EQ(session.RowOf(1), 1);
    EXPECT_EQ(changes, (std::vector<int>{2, 1, 0})); // items, runes, rules
}

TEST_F(SessionTest, MissingRunesAreTheUntickedOnesWhereTheRuneOrderShowsThem)
{
    session.SetTick(Pick::Rune, 1, true); // Kess
    using M = Session::MissingRune;
    EXPECT_EQ(session.MissingRunes(0), (std::vector<M>{{0, 3, "Vur"}}));
    // A rune the table lacks is missing under the name the file gave it.
    EXPECT_EQ(session.MissingRunes(1), (std::vector<M>{{0, 4, "Orna"}, {10, 4, "Nope"}}));
    EXPECT_EQ(Session::NeedsText(session.MissingRunes(1)), "needs Orna, Nope");
    EXPECT_TRUE(session.MissingRunes(3).empty()); // past the table
    session.SetTick(Pick::Rune, 0, true);
    EXPECT_EQ(Session::NeedsText(session.MissingRunes(0)), "");
    for (const RuneRule rule : {AllRunes, AnyRune, IgnoreRunes}) {
        session.SetRuneRule(rule);
        session.ListRunewords();
        int lacking = 0;
        for (const int index : session.Listed())
            lacking += session.MissingRunes(index).empty() ? 0 : 1;
        EXPECT_EQ(lacking, rule == AllRunes ? 0 : 1) << rule;
    }
}

// Each press ticks its whole group unless all of it is ticked, then none, and is told once.
// Item types: melee 0 3 6 9 12 14, missile 1 4 8 11, defence the rest; Sabres (3) is ticked.
TEST_F(SessionTest, AGroupIsTickedWholeUnlessItIsAlreadyThenUnticked)
{
    const auto range = [](int first, int last) {
        std::vector<int> rows;
        for (int row = first; row <= last; ++row)
            rows.push_back(row);
        return rows;
    };
    const std::tuple<TickSet, Pick, std::vector<int>> presses[] = {
        {TickSet::CommonRunes, Pick::Rune, range(0, 10)},
        {TickSet::CommonRunes, Pick::Rune, {}},
        {TickSet::SemiRareRunes, Pick::Rune, range(11, 21)},
        {TickSet::ExtremelyRareRunes, Pick::Rune, range(11, 32)},
        {TickSet::MeleeWeapons, Pick::ItemType, {0, 3, 6, 9, 12, 14}},
        {TickSet::AllWeapons, Pick::ItemType, {0, 1, 3, 4, 6, 8, 9, 11, 12, 14}},
        {TickSet::MissileWeapons, Pick::ItemType, {0, 3, 6, 9, 12, 14}},
        {TickSet::AllDefence, Pick::ItemType, {0, 2, 3, 5, 6, 7, 9, 10, 12, 13, 14, 15, 16, 17}},
        {TickSet::AllItems, Pick::ItemType, range(0, 17)},
        {TickSet::AllRunes, Pick::Rune, range(0, 32)},
    };
    changes.clear();
    for (const auto& [set, list, ticked] : presses) {
        session.TickGroup(set);
        std::vector<int> rows;
        for (int row = 0; row < (list == Pick::Rune ? RuneCount : ItemTypeCount); ++row)
            if (session.Ticked(list, row))
                rows.push_back(row);
        EXPECT_EQ(rows, ticked) << static_cast<int>(set);
    }
    EXPECT_EQ(changes, (std::vector<int>{1, 1, 1, 1, 2, 2, 2, 2, 2, 1}));
    // A roster that cannot be written is reported, and the switch happens all the same.
    session.AddCharacter("Ivo", 3);
    EXPECT_EQ(TickedRows(session.GetRoster().characters[0].GetRuneTicks()).size(), 33u); // Tess's, kept
    t.files.unwritable = {RosterFileName};
    session.SwitchTo(2); // no such character
    session.SwitchTo(0);
    EXPECT_EQ(session.GetRoster().selectedCharacter, 0);
    EXPECT_EQ(t.messages.shown, std::vector<Message>{CannotWriteMessage(RosterFileName)});
    session.DeleteSelected(); // Ivo moves up: the next character gets a clean slot
    session.AddCharacter("Una", 1);
    const Character& una = session.GetRoster().characters[1];
    EXPECT_EQ(TickedRows(una.GetRuneTicks()).size() + TickedRows(una.GetItemTypeTicks()).size(), 0u);
}

} // namespace
