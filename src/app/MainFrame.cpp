// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainFrame.h"

#include "ui/ControlIds.h"
#include "ui/MainPanel.h"
#include "app/MenuTable.h"
#include "app/RunewordFinderApp.h"
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

MainFrame::MainFrame(RunewordFinderApp& app, Prompter& prompter, glyphmoor::FileStore& files)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      app(app)
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
            // Check marks follow the current values each time a menu shows.
            connect(menu, &QMenu::aboutToShow, this, [this, menu] {
                for (QAction* action : menu->actions()) {
                    if (action->isCheckable())
                        app.UpdateMenuState(*action, action->data().toInt());
                }
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
            action->setCheckable(RunewordFinderApp::HasCheckMark(entry.id));
            const int id = entry.id;
            connect(action, &QAction::triggered, this, [this, id] { app.OnCommand(id); });
            break;
        }
        }
    }
}

QAction* MainFrame::Action(int commandId) const
{
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        if (!action->menu() && action->data().toInt() == commandId)
            return action;
    }
    return nullptr;
}

void MainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::StyleChange && panel != nullptr)
        panel->FitColumnsToScrollBar();
}
