// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RowDelegate.h"

#include <QPainter>
#include <QPen>
#include <QWidget>
#include <QStyle>

#include <algorithm>

namespace rowlayout {

RowParts LayOutRow(const QRect& cell, int rowRight, const QString& text, const QFontMetrics& metrics,
                   bool withIcons, bool fullRow)
{
    RowParts parts;
    int labelLeft = cell.left();
    if (withIcons) {
        parts.icon = QRect(cell.left(), cell.top() + (cell.height() - IconSize) / 2, IconSize, IconSize) & cell;
        labelLeft += LabelOffset;
    }
    parts.text = QRect(QPoint(labelLeft + TextPadding, cell.top()), QPoint(cell.right() - TextPadding, cell.bottom()));
    const int labelRight = fullRow ? rowRight
                                   : std::min(cell.right(), labelLeft + metrics.horizontalAdvance(text) + 2 * TextPadding - 1);
    parts.label = QRect(QPoint(labelLeft, cell.top()), QPoint(labelRight, cell.bottom()));
    if (!parts.label.isValid())
        parts.label = QRect();
    return parts;
}

} // namespace rowlayout

using namespace rowlayout;

namespace {

// The selection's background. Where the style gives the inactive group the
// same highlight as the active one, a list without the keyboard shows its
// selection in the button face colour instead, as desktop lists do.
QColor SelectionFill(const QPalette& palette, QPalette::ColorGroup group)
{
    const QColor highlight = palette.color(group, QPalette::Highlight);
    if (group != QPalette::Inactive || highlight != palette.color(QPalette::Active, QPalette::Highlight))
        return highlight;
    return palette.color(QPalette::Inactive, QPalette::Button).darker(115);
}

// Underlines the marked spans of a text drawn as above, in the pen's colour,
// so that the mark shows on every background the row can have. The text's
// own width and place do not change.
void DrawMarks(QPainter* painter, const QFontMetrics& metrics, const QRect& textRect, const QString& shown,
               const QList<QPoint>& marks)
{
    if (marks.isEmpty())
        return;
    const int baseline = textRect.top() + (textRect.height() - metrics.height()) / 2 + metrics.ascent();
    const int y = baseline + std::max(1, metrics.underlinePos());
    const int shownRight = textRect.left() + metrics.horizontalAdvance(shown);
    painter->save();
    painter->setPen(QPen(painter->pen().color(), 1));
    for (const QPoint& mark : marks) {
        const int left = textRect.left() + metrics.horizontalAdvance(shown.left(mark.x()));
        const int right = std::min(shownRight, textRect.left() + metrics.horizontalAdvance(shown.left(mark.x() + mark.y())));
        if (mark.x() < shown.size() && right > left)
            painter->drawLine(left, y, right - 1, y);
    }
    painter->restore();
}

} // namespace

void RowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    const bool fullRow = look->UsesFullRow();
    QRect highlight;
    QRect textRect;
    painter->save();
    painter->setClipRect(option.rect);
    if (index.column() == 0) {
        const RowParts parts = LayOutRow(option.rect, option.rect.right(), text, option.fontMetrics,
                                         look->hasStateIcons, fullRow);
        const int tick = index.data(TickRole).toInt();
        if (look->hasStateIcons && (tick == 1 || tick == 2))
            look->stateIcons[tick - 1].paint(painter, parts.icon);
        highlight = parts.label;
        textRect = parts.text;
    } else {
        if (fullRow)
            highlight = option.rect;
        textRect = option.rect.adjusted(TextPadding + SubItemIndent, 0, -TextPadding, 0);
    }

    // The selection of a list without the keyboard is drawn in the inactive
    // colours, so that the player sees which list Space acts on.
    const bool focused = option.widget == nullptr || option.widget->hasFocus();
    const bool active = (option.state & QStyle::State_Active) && focused;
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : active                                ? QPalette::Active
                                                                               : QPalette::Inactive;
    const bool selected = (option.state & QStyle::State_Selected) && !highlight.isEmpty();
    const QColor fill = SelectionFill(option.palette, group);
    const bool strong = fill == option.palette.color(group, QPalette::Highlight);
    if (selected)
        painter->fillRect(highlight, fill);
    painter->setFont(option.font);
    painter->setPen(option.palette.color(group, selected && strong ? QPalette::HighlightedText : QPalette::Text));
    const QString shown = option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    DrawMarks(painter, option.fontMetrics, textRect, shown, index.data(RowModel::MarksRole).value<QList<QPoint>>());

    if ((option.state & QStyle::State_HasFocus) && !highlight.isEmpty()) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = highlight;
        focus.state |= QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = selected ? fill : option.palette.color(group, QPalette::Base);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style)
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
    painter->restore();
}

QSize RowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int iconWidth = index.column() == 0 && look->hasStateIcons ? LabelOffset : 0;
    // Report columns have fixed widths: only the height matters there, and
    // measuring every text on each relayout would cost more than the rest.
    if (look->report)
        return {iconWidth + 2 * TextPadding, RowHeight};
    const QString text = index.data(Qt::DisplayRole).toString();
    return {iconWidth + option.fontMetrics.horizontalAdvance(text) + 2 * TextPadding, RowHeight};
}
