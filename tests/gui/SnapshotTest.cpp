// SPDX-License-Identifier: GPL-3.0-or-later
// How the window and the dialogs look at scale 1, 1.5 and 2, compared with reference pictures in data/.
#include "GuiTestSupport.h"

#include "TestSupport.h"
#include "ui/AboutDialog.h"
#include "ui/CharacterDialogs.h"

#include <QProcess>
#include <QStyleHints>

#include <numeric>

using namespace gui_test;

namespace {

// GLYPHMOOR_UPDATE_SNAPSHOTS=1 rewrites the reference pictures instead of comparing with them.
void ExpectLooksLike(QWidget& widget, const QString& name)
{
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR");
    const QString file = name + (scale.isEmpty() ? QString() : "-x" + scale) + ".png";
    widget.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&widget));
    QApplication::processEvents(); // the views' delayed layout: scroll bars
    const QImage actual = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
#ifdef _WIN32
    // Same layout, but Windows rasterises the glyphs' edges a shade apart.
    const QString reference = QString(GLYPHMOOR_TEST_DATA "/windows/") + file;
#else
    const QString reference = QString(GLYPHMOOR_TEST_DATA "/") + file;
#endif
    if (qEnvironmentVariableIntValue("GLYPHMOOR_UPDATE_SNAPSHOTS") == 1) {
        EXPECT_TRUE(actual.save(reference));
    } else if (actual != QImage(reference).convertToFormat(QImage::Format_RGB32)) {
        const QString saved = QString(GLYPHMOOR_SNAPSHOT_OUTPUT "/") + file;
        actual.save(saved);
        ADD_FAILURE() << file.toStdString() << " differs; this run drew " << saved.toStdString();
    }
}

} // namespace

TEST(Snapshot, WindowAndDialogsLookAsBefore)
{
    if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
        for (const char* scale : {"1.5", "2"}) {
            qputenv("QT_SCALE_FACTOR", scale); // for the child only: this process has its scale
            EXPECT_EQ(
                QProcess::execute(QCoreApplication::applicationFilePath(), {"--gtest_filter=Snapshot.*"}), 0)
                << "at scale " << scale;
        }
        qunsetenv("QT_SCALE_FACTOR");
    }
    QApplication::styleHints()->setCursorFlashTime(0); // a caret that does not blink
    Harness harness;
    CopyDataFiles(harness.dir.path());
    WriteRoster(harness.files,
                {{"Anna", 30, {0, 1, 2, 15}, {0, 12}, 1, 0, 1}, {"Bert", 10, {}, {}, 0, 0, 0}});
    harness.Start();
    ExpectLooksLike(*harness.Frame(), "window");

    // The sample data with everything ticked: long names, full lists, scroll bars.
    Harness sample;
    CopyDataFiles(sample.dir.path(), GLYPHMOOR_SAMPLE_DATA);
    std::vector<int> runes(33), items(18);
    std::iota(runes.begin(), runes.end(), 0);
    std::iota(items.begin(), items.end(), 0);
    // A runeword below the first screenful selected: the list scrolls just far enough to show it.
    WriteRoster(sample.files, {{"Tester", 99, runes, items, 0, 0, 25}});
    sample.Start();
    ExpectLooksLike(*sample.Frame(), "sample-window");

    glyphmoor::test::MemoryFiles files;
    files.files["runes.dat"] = {5, 3, 1, 0x21, 0};
    files.files["items.dat"] = {4, 4};
    AboutDialog about(files); // and runewords.dat is missing
    harness.prompter.dialogs.push_back([](QDialog& dialog) {
        ExpectLooksLike(dialog, "about");
        QTest::keyClick(&dialog, Qt::Key_A);
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClick(&dialog, Qt::Key_Return); // closes it as Esc does
    });
    harness.prompter.RunDialog(about);
    EXPECT_FALSE(harness.prompter.stillOpen);

    NewCharacterDialog character(harness.prompter);
    harness.prompter.dialogs.push_back([](QDialog& dialog) {
        Type(dialog.focusWidget(), "Tamsin");
        ExpectLooksLike(dialog, "new-character");
    });
    harness.prompter.RunDialog(character);
}
