// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStatusBar>

#include <array>

class QLabel;

// The frame's four-pane status line. The panes' right edges lie at 203, 386
// and 610 pixels; the fourth runs to the right edge.
class StatusLine : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int PaneCount = 4;
    static constexpr std::array<int, PaneCount - 1> RightEdges = {203, 386, 610};
    static constexpr int Height = 20;

    explicit StatusLine(QWidget* parent);

    void SetPaneText(int pane, const QString& text);
    QString PaneText(int pane) const;
    QRect PaneRect(int pane) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::array<QLabel*, PaneCount> panes{};
};
