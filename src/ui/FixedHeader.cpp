// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FixedHeader.h"

#include "ui/RowDelegate.h"

#include <QPainter>
#include <QStyleOptionHeader>

FixedHeader::FixedHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    // A new header's sections are neither movable nor clickable, and the last
    // one does not stretch. Fixed sizes also take the divider's double click,
    // which would fit a column to its contents.
    setSectionResizeMode(QHeaderView::Fixed);
    // A column is as wide as it is set, however narrow. Qt's own minimum
    // follows the widest glyph of the font the header has when the column is
    // made: with the system font of Windows (under Wine) it held the 30-pixel
    // Clvl column at 58 pixels, and the character list scrolled sideways.
    setMinimumSectionSize(0);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

bool FixedHeader::viewportEvent(QEvent* event)
{
    const bool result = QHeaderView::viewportEvent(event);
    // The pointer keeps the arrow shape over the dividers.
    if (testAttribute(Qt::WA_SetCursor))
        unsetCursor();
    if (viewport()->testAttribute(Qt::WA_SetCursor))
        viewport()->unsetCursor();
    return result;
}

void FixedHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (logicalIndex == 0 || !rect.isValid()) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    // The section as the style draws it, its label moved in as far as the
    // cells below indent their text.
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    option.rect = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this)
                      .adjusted(rowlayout::SubItemIndent, 0, 0, 0)
                      .intersected(rect);
    painter->save();
    painter->setClipRect(rect);
    style()->drawControl(QStyle::CE_HeaderLabel, &option, painter, this);
    painter->restore();
}
