// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StatusLine.h"

#include "ui/ControlIds.h"

#include <QLabel>

namespace {

// What a screen reader calls the panes.
constexpr std::array<const char*, StatusLine::PaneCount> PaneNames = {"Item status", "Rune status",
                                                                       "Runeword status", "Status"};

} // namespace

StatusLine::StatusLine(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QString::number(ids::StatusBar));
    setSizeGripEnabled(false);
    setFixedHeight(Height);
    for (int i = 0; i < PaneCount; ++i) {
        auto* pane = new QLabel(this);
        pane->setObjectName(QStringLiteral("pane%1").arg(i));
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setLineWidth(1);
        pane->setTextFormat(Qt::PlainText);
        pane->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // The texts begin with a space of their own; the frame's default
        // indent of half an "x" would push their ends out of the pane.
        pane->setIndent(0);
        pane->setAccessibleName(QString::fromLatin1(PaneNames[static_cast<std::size_t>(i)]));
        panes[static_cast<std::size_t>(i)] = pane;
    }
}

void StatusLine::SetPaneText(int pane, const QString& text)
{
    QLabel* label = panes[static_cast<std::size_t>(pane)];
    label->setText(text);
    label->setAccessibleDescription(text.trimmed()); // read after the pane's name
}

QString StatusLine::PaneText(int pane) const
{
    return panes[static_cast<std::size_t>(pane)]->text();
}

QRect StatusLine::PaneRect(int pane) const
{
    return panes[static_cast<std::size_t>(pane)]->geometry();
}

void StatusLine::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    // Placed by hand: addWidget would add its own margins and move the edges.
    int left = 0;
    for (int i = 0; i < PaneCount; ++i) {
        const int right = i < PaneCount - 1 ? RightEdges[static_cast<std::size_t>(i)] : width();
        panes[static_cast<std::size_t>(i)]->setGeometry(left, 2, right - left, height() - 2);
        left = right;
    }
}
