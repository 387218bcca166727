// SPDX-License-Identifier: GPL-3.0-or-later
#include "GuiTestSupport.h"

#include "app/MainFrame.h"
#include "app/RunewordFinderApp.h"
#include "core/Character.h"
#include "core/DataStore.h"
#include "ui/MainPanel.h"
#include "ui/SelectList.h"
#include "ui/StatusLine.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

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
    ++dialogsRun;
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

// Types text as key presses, each carrying its character as a keyboard
// layout sends it (QTest::keyClick only knows ASCII).
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

void WriteTestData(FileStore& files)
{
    DataStore store(33, 18, 168, 6);
    for (int i = 0; i < 33; ++i) {
        store.GetRune(i).SetName((i < 10 ? "R0" : "R") + std::to_string(i));
        store.GetRune(i).SetClvl(2 * i + 1);
        store.GetRune(i).SetDescription("Rune " + std::to_string(i) + "\r\nsecond line");
    }
    const char* prefixes[] = {"Mel", "Mis", "Def"};
    for (int i = 0; i < 18; ++i)
        store.GetItemType(i).Set(prefixes[i / 6] + std::to_string(i % 6), 2 + i % 5,
                                 static_cast<ItemCategory>(1 + i / 6));
    const std::vector<std::tuple<const char*, std::vector<std::string>, std::vector<std::string>>> words = {
        {"Alpha", {"R00", "R01"}, {"Weapons"}},
        {"Twice", {"R02", "R02"}, {"Def0"}},
        {"Gamma", {"R03", "R04", "R05"}, {"Melee Weapons", "Def1"}},
        {"Delta", {"R07"}, {"Mis1"}},
        {"Epsilon", {"R10", "R11", "R12", "R13"}, {"Def2"}},
        {"Zeta", {"R20", "R21"}, {"Missile Weapons"}},
        {"Eta", {"R00"}, {"Mel0"}},
    };
    for (std::size_t i = 0; i < words.size(); ++i) {
        Runeword& word = store.GetRuneword(static_cast<int>(i));
        word.SetName(std::get<0>(words[i]));
        word.SetRuneNames(std::get<1>(words[i]));
        word.SetItemTokens(std::get<2>(words[i]));
        word.SetDescription(std::string("Grants ") + std::get<0>(words[i]) + "\r\nto the bearer");
    }
    store.SetRunewordCount(static_cast<int>(words.size()));
    files.Replace("runes.dat", store.WriteRunes({11, 10, 1}));
    files.Replace("items.dat", store.WriteItemTypes({12, 10, 1}));
    files.Replace("runewords.dat", store.WriteRunewords({13, 10, 1}));
}

void WriteRoster(FileStore& files, const std::vector<CharacterSpec>& characters)
{
    Bytes file;
    for (std::size_t k = 0; k < characters.size(); ++k) {
        Character character(static_cast<int>(k));
        const CharacterSpec& spec = characters[k];
        character.SetNameAndClvl(spec.name, spec.clvl);
        for (const int rune : spec.runes)
            character.SetRuneTick(rune, true);
        for (const int item : spec.items)
            character.SetItemTypeTick(item, true);
        character.SetHighlights(spec.highlightedRune, spec.highlightedItemType, spec.highlightedRuneword);
        const auto record = character.EncodeRecord();
        file.insert(file.end(), record->begin(), record->end());
    }
    files.Replace("chars.dat", file);
}

void Harness::Start()
{
    app = std::make_unique<RunewordFinderApp>(prompter, files);
    app->InitInstance();
    if (!QTest::qWaitForWindowExposed(app->Frame()))
        ADD_FAILURE() << "the window did not show";
}

void Harness::Close()
{
    MainFrame* frame = app->Frame();
    frame->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QPoint StateIconPoint(const SelectList& list, int row)
{
    return list.StateIconRect(row).center();
}

QPoint LabelPoint(const SelectList& list, int row)
{
    const QRect label = list.LabelRect(row);
    return QPoint(label.left() + 3, label.center().y());
}

void Click(SelectList& list, QPoint point, Qt::MouseButton button)
{
    QTest::mouseClick(list.Viewport(), button, {}, point);
}

} // namespace gui_test
