// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/RowModel.h"

#include <QFontMetrics>
#include <QIcon>
#include <QRect>
#include <QString>
#include <QStyledItemDelegate>

namespace rowlayout {

constexpr int RowHeight = 16;
constexpr int IconSize = 16;
// With state images every label starts after the icon and a 1-pixel gap,
// whether the row shows an icon or not.
constexpr int LabelOffset = IconSize + 1;
constexpr int TextPadding = 2;
// The text of a report row's later columns starts this much further in than
// the first column's, and so do their headings.
constexpr int SubItemIndent = 4;
// The state image number of a row (0 none, 1 unticked, 2 ticked), kept on
// the row's first item. Not Qt::CheckStateRole: Qt would toggle that itself.
constexpr int TickRole = RowModel::StateImageRole;

// The parts of a row, laid out from the rectangle of its first column.
struct RowParts {
    QRect icon;  // empty without state images
    QRect label; // the text plus a little, clipped to the cell; the rest of the row with full-row select
    QRect text;  // where the text is drawn
};

// The one function that both paints rows and hit-tests them.
RowParts LayOutRow(const QRect& cell, int rowRight, const QString& text, const QFontMetrics& metrics,
                   bool withIcons, bool fullRow);

} // namespace rowlayout

// How the rows of one list look: set by the list, read by its delegate.
struct RowLook {
    QIcon stateIcons[2];
    bool hasStateIcons = false;
    bool fullRowSelect = false;
    bool report = false;

    bool UsesFullRow() const { return fullRowSelect && report; }
};

// Draws a row the way LayOutRow places it: the state image, then the label,
// highlighted when selected (only the label, or the whole row with full-row
// select).
class RowDelegate final : public QStyledItemDelegate {
public:
    RowDelegate(const RowLook* look, QObject* parent) : QStyledItemDelegate(parent), look(look) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const RowLook* look;
};
