// SPDX-License-Identifier: GPL-3.0-or-later
#include "GuiTestSupport.h"

#include "core/Character.h"

#include <QFile>
#include <QMenu>
#include <QPushButton>

using namespace glyphmoor;

namespace gui_test {

MessageAnswer ScriptedPrompter::ShowMessage(QWidget* owner, const Message& message)
{
    bool visible = false;
    for (QWidget* top : QApplication::topLevelWidgets())
        visible = visible || (top->inherits("MainFrame") && top->isVisible());
    shown.push_back({message, owner, visible});
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return message.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

bool ScriptedPrompter::RunDialog(QDialog& dialog)
{
    if (dialogs.empty())
        return false;
    const DialogScript script = dialogs.front();
    dialogs.pop_front();
    dialog.setResult(QDialog::Rejected);
    dialog.open();
    dialog.activateWindow(); // as exec() does: Tab into a field selects its text
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    script(dialog);
    stillOpen = dialog.isVisible();
    if (stillOpen)
        dialog.hide();
    return !stillOpen && dialog.result() == QDialog::Accepted;
}

// Key presses carrying their characters as a keyboard layout sends them (keyClick knows only ASCII).
void Type(QWidget* field, const QString& text)
{
    for (const QChar ch : text) {
        const Qt::Key key = ch.unicode() <= 0xFF ? Qt::Key(ch.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, field, key, QString(ch), Qt::NoModifier);
    }
}

ScriptedPrompter::DialogScript TypeCharacter(const QString& name, const QString& clvl)
{
    return [name, clvl](QDialog& dialog) {
        const auto fields = dialog.findChildren<QLineEdit*>(); // name, then Clvl
        for (int i = 0; i < 2; ++i) {
            fields[i]->selectAll();
            Type(fields[i], i == 0 ? name : clvl);
        }
        QTest::keyClick(fields[1], Qt::Key_Return);
    };
}

void CopyDataFiles(const QString& folder, const QString& from)
{
    for (const char* name : {"runes.dat", "items.dat", "runewords.dat"})
        EXPECT_TRUE(QFile::copy(from + "/" + name, folder + "/" + name)) << name;
}

void WriteRoster(FileStore& files, const std::vector<RosterEntry>& characters)
{
    Bytes file;
    for (std::size_t k = 0; k < characters.size(); ++k) {
        Character character(static_cast<int>(k));
        const RosterEntry& entry = characters[k];
        character.SetNameAndClvl(entry.name, entry.clvl);
        for (const int rune : entry.runes)
            character.SetRuneTick(rune, true);
        for (const int item : entry.items)
            character.SetItemTypeTick(item, true);
        character.SetHighlights(entry.highlightedRune, entry.highlightedItemType, entry.highlightedRuneword);
        const auto record = character.EncodeRecord();
        file.insert(file.end(), record->begin(), record->end());
    }
    files.Replace("chars.dat", file);
}

void Harness::Start()
{
    app = std::make_unique<RunewordFinderApp>(prompter, files);
    app->InitInstance();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(app->Frame()));
}

void Harness::Press(const QString& button) const
{
    for (QPushButton* pushButton : Panel().findChildren<QPushButton*>()) {
        if (pushButton->accessibleName() == button) {
            QTest::mouseClick(pushButton, Qt::LeftButton);
            return;
        }
    }
    ADD_FAILURE() << "no button " << button.toStdString();
}

bool Harness::Checked(int commandId) const
{
    QAction* action = app->Frame()->Action(commandId);
    for (QObject* parent = action->parent(); parent != nullptr; parent = parent->parent()) {
        if (auto* menu = qobject_cast<QMenu*>(parent))
            emit menu->aboutToShow();
    }
    return action->isChecked();
}

QByteArray Harness::File(const QString& name) const
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace gui_test
