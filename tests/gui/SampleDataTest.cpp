// SPDX-License-Identifier: GPL-3.0-or-later
// The sample data set as the player meets it in the window.
#include "GuiTestSupport.h"

#include "ui/ControlIds.h"
#include "ui/MainPanel.h"
#include "ui/SelectList.h"
#include "app/MainFrame.h"
#include "ui/StatusLine.h"

#include <QFile>
#include <QLabel>

#include <gtest/gtest.h>

using namespace gui_test;

TEST(SampleData, EveryNameFitsItsList)
{
    Harness harness;
    for (const char* name : {"runes.dat", "items.dat", "runewords.dat"})
        ASSERT_TRUE(QFile::copy(QString(GLYPHMOOR_SAMPLE_DATA "/") + name, harness.dir.filePath(name)));
    WriteRoster(harness.files, {{"Tester", 99, {}, {}, 0, 0, 0}});
    harness.Start();
    EXPECT_TRUE(harness.prompter.shown.empty());
    for (int id : {ids::RuneList, ids::ItemList}) {
        SelectList& list = harness.List(id);
        for (int row = 0; row < list.GetRowCount(); ++row) {
            // A label that reaches the cell's edge is cut off.
            EXPECT_LT(list.LabelRect(row).right(), list.RowRect(row).right())
                << list.GetItemText(row, 0).toStdString() << " does not fit list " << id;
        }
    }
    harness.Panel().OnGroupButton(ids::AllRunesButton);
    harness.Panel().OnGroupButton(ids::AllItemsButton);
    EXPECT_EQ(harness.List(ids::RunewordList).GetRowCount(), 168);

    // Every summary fits its pane of the status line, number included.
    StatusLine* line = harness.Frame()->GetStatusLine();
    const QFontMetrics metrics(line->findChild<QLabel*>("pane0")->font());
    const std::pair<int, int> lists[] = {{ids::ItemList, 0}, {ids::RuneList, 1}, {ids::RunewordList, 2}};
    for (const auto& [id, pane] : lists) {
        SelectList& list = harness.List(id);
        // What the label draws in: inside its frame, margins and indent (half
        // an "x" when it is left at -1 with a frame).
        const QLabel* label = line->findChild<QLabel*>(QStringLiteral("pane%1").arg(pane));
        const int indent = label->indent() >= 0 ? label->indent() : label->frameWidth() > 0 ? metrics.horizontalAdvance('x') / 2 : 0;
        const int room = label->contentsRect().width() - 2 * label->margin() - indent;
        for (int row = 0; row < list.GetRowCount(); ++row) {
            harness.Panel().UpdateStatusPane(id == ids::ItemList ? 2 : id == ids::RuneList ? 1 : 3, row);
            EXPECT_LE(metrics.horizontalAdvance(harness.Pane(pane)), room) << harness.Pane(pane).toStdString();
        }
    }
}
