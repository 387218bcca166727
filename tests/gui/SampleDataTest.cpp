// The sample data set as the player meets it in the window.
#include "GuiTestSupport.h"

#include "ControlIds.h"
#include "MainPanel.h"
#include "SelectList.h"

#include <QFile>

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
}
