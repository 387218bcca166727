// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainFrame.h"

#include "app/FixedFrame.h"

#include "ui/AboutDialog.h"
#include "ui/ControlIds.h"
#include "ui/MainPanel.h"
#include "app/MenuTable.h"
#include "ui/Prompter.h"
#include "ui/StatusLine.h"
#include "ui/UiFont.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QIcon>
#include <QMenuBar>
#include <QPainter>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QShortcut>
#include <QShowEvent>
#include <QStyleOptionMenuItem>

#include <algorithm>
#include <vector>

namespace {

// The check mark of the Filters and Options items: a plain mark on the chosen
// item only, never a box, whatever the style would draw for a checkable item.
class MenuMarkStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element != CE_MenuItem || item == nullptr || item->checkType == QStyleOptionMenuItem::NotCheckable) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QStyleOptionMenuItem unmarked(*item);
        unmarked.checkType = QStyleOptionMenuItem::NotCheckable;
        unmarked.checked = false;
        unmarked.state &= ~(State_On | State_Off);
        QProxyStyle::drawControl(element, &unmarked, painter, widget);
        if (item->checked)
            DrawMark(*item, painter);
    }

private:
    static void DrawMark(const QStyleOptionMenuItem& item, QPainter* painter)
    {
        const qreal side = std::min<qreal>(10.0, item.rect.height() - 6.0);
        const QRectF box(item.rect.left() + 5.0, item.rect.center().y() - side / 2 + 0.5, side, side);
        const QPointF mark[] = {{box.left(), box.top() + side * 0.55},
                                {box.left() + side * 0.38, box.bottom() - side * 0.1},
                                {box.right(), box.top() + side * 0.1}};
        const QPalette::ColorGroup group = (item.state & State_Enabled) ? QPalette::Active : QPalette::Disabled;
        const QPalette::ColorRole role = (item.state & State_Selected) ? QPalette::HighlightedText : QPalette::WindowText;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(item.palette.color(group, role), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->drawPolyline(mark, 3);
        painter->restore();
    }
};

} // namespace

MainFrame::MainFrame(Prompter& prompter, glyphmoor::FileStore& files)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      prompter(prompter), files(files)
{
    setObjectName(QStringLiteral("MainFrame"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromLatin1(Title));

    // The panel loads the data and the roster while it is created, so their
    // messages come before the window shows.
    panel = new MainPanel(this, prompter, files);
    if (!panel->Create())
        return; // the program ends at once
    setCentralWidget(panel);

    // Icon 102 at every size it is drawn in, so that the window manager and
    // the task switcher need not scale it.
    QIcon icon;
    for (const QString& file : QDir(QStringLiteral(":/icons"), QStringLiteral("102-*.png")).entryList())
        icon.addFile(QStringLiteral(":/icons/") + file);
    setWindowIcon(icon);
    BuildMenu();

    statusLine = new StatusLine(this);
    setStatusBar(statusLine);
    panel->SetStatusLine(statusLine);

    // F10 enters the menu bar as Alt alone does: the first title
    // highlighted, the arrows move along the bar, Escape or F10 again leaves
    // it. Qt's menu bar knows only Alt, so F10 plays the widget with the
    // keyboard a lone Alt, pressed and released.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : this;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &release);
    });

    ApplyUiFont(this);
    menuBar()->setFont(UiFont());
    setFixedSize(sizeHint());

    panel->ApplyStartupSettings();
}

MainFrame::~MainFrame()
{
    // The panel's destruction step needs the status line and the lists, so
    // it runs before any of them is gone.
    panel->SaveOnDestroy();
}

void MainFrame::BuildMenu()
{
    std::vector<QMenu*> open;
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mainMenu"));
    auto* markStyle = new MenuMarkStyle();
    markStyle->setParent(this);
    for (const MenuEntry& entry : MainMenuTable()) {
        switch (entry.kind) {
        case MenuEntry::Popup: {
            const QString text = QString::fromLatin1(entry.text);
            QMenu* menu = open.empty() ? bar->addMenu(text) : open.back()->addMenu(text);
            menu->setObjectName(QString::fromLatin1(entry.name));
            menu->setStyle(markStyle);
            // Check marks follow the session's values each time a menu shows.
            connect(menu, &QMenu::aboutToShow, this, [this] {
                const glyphmoor::Session& session = panel->GetSession();
                for (const auto& [action, command] : markedActions)
                    action->setChecked(command.IsMarked(session.Filter(), session.GetInfoKind()));
            });
            open.push_back(menu);
            break;
        }
        case MenuEntry::EndPopup:
            open.pop_back();
            break;
        case MenuEntry::Separator:
            open.back()->addSeparator();
            break;
        case MenuEntry::Item: {
            QAction* action = open.back()->addAction(QString::fromLatin1(entry.text));
            action->setObjectName(QString::fromLatin1(entry.name));
            action->setData(entry.id);
            action->setCheckable(entry.command.IsSetting());
            if (entry.command.IsSetting())
                markedActions.emplace_back(action, entry.command);
            Bind(action, entry.command);
            break;
        }
        }
    }
}

// Each item's action goes straight to the object that owns what it changes:
// the characters and the info box to the panel, the rules to the session,
// Exit and About to this window.
void MainFrame::Bind(QAction* action, const MenuCommand& command)
{
    glyphmoor::Session& session = panel->GetSession();
    const int value = command.value;
    switch (command.what) {
    case MenuCommand::None:
        break;
    case MenuCommand::NewCharacter:
        connect(action, &QAction::triggered, panel, [this] { panel->NewCharacter(true); });
        break;
    case MenuCommand::EditCharacter:
        connect(action, &QAction::triggered, panel, &MainPanel::EditCharacter);
        break;
    case MenuCommand::DeleteCharacter:
        connect(action, &QAction::triggered, panel, &MainPanel::DeleteCharacter);
        break;
    case MenuCommand::Exit:
        connect(action, &QAction::triggered, this, &QWidget::close);
        break;
    case MenuCommand::About:
        connect(action, &QAction::triggered, this, &MainFrame::ShowAbout);
        break;
    case MenuCommand::RuneRule:
        connect(action, &QAction::triggered, panel,
                [&session, value] { session.SetRuneRule(static_cast<glyphmoor::RuneRule>(value)); });
        break;
    case MenuCommand::CharacterRule:
        connect(action, &QAction::triggered, panel,
                [&session, value] { session.SetCharacterRule(static_cast<glyphmoor::CharacterRule>(value)); });
        break;
    case MenuCommand::ClvlOver:
        connect(action, &QAction::triggered, panel, [&session, value] { session.SetClvlOver(value); });
        break;
    case MenuCommand::ClvlUnder:
        connect(action, &QAction::triggered, panel, [&session, value] { session.SetClvlUnder(value); });
        break;
    case MenuCommand::IgnoreClvlLimits:
        connect(action, &QAction::triggered, panel, [&session] { session.FlipIgnoreClvlLimits(); });
        break;
    case MenuCommand::InfoKind:
        connect(action, &QAction::triggered, panel,
                [this, value] { panel->ShowInfo(static_cast<glyphmoor::InfoKind>(value)); });
        break;
    }
}

void MainFrame::ShowAbout()
{
    AboutDialog about(files, this);
    prompter.RunDialog(about);
}

QAction* MainFrame::Action(int commandId) const
{
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        if (!action->menu() && action->data().toInt() == commandId)
            return action;
    }
    return nullptr;
}

void MainFrame::showEvent(QShowEvent* event)
{
    // Shown means created, and not yet mapped.
    if (!event->spontaneous())
        AdvertiseFixedFrame(*this);
    QMainWindow::showEvent(event);
}

void MainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::StyleChange && panel != nullptr)
        panel->FitColumnsToScrollBar();
}
