// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RowDelegate.h"

#include <QPainter>
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
        textRect = option.rect.adjusted(TextPadding + 4, 0, -TextPadding, 0);
    }

    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                               : QPalette::Inactive;
    const bool selected = (option.state & QStyle::State_Selected) && !highlight.isEmpty();
    if (selected)
        painter->fillRect(highlight, option.palette.brush(group, QPalette::Highlight));
    painter->setFont(option.font);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()));

    if ((option.state & QStyle::State_HasFocus) && !highlight.isEmpty()) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = highlight;
        focus.state |= QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
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
