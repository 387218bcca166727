// SPDX-License-Identifier: GPL-3.0-or-later
// The window's state and texts without a window.
#include "TestSupport.h"
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
    session.SetHighlighted(Pick::Runeword, 1);
    EXPECT_EQ(session.InfoText(), "second");
    EXPECT_EQ(session.StatusText(Pick::Runeword, 1), " Twin:  Clvl requirement:  3");
    EXPECT_EQ(session.TipText(Pick::Runeword, 0, 1024), "Clvl requirement: 2\r\n\r\nfirst");
    EXPECT_EQ(session.TipText(Pick::Rune, 0, 1024), "Clvl requirement: 1\r\n\r\nAbout Vur.");
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

} // namespace
