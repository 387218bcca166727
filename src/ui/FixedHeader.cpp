// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FixedHeader.h"

#include <QMouseEvent>

FixedHeader::FixedHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsMovable(false);
    setSectionsClickable(false);
    setStretchLastSection(false);
    setCascadingSectionResizes(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void FixedHeader::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click on a divider would fit the column to its contents.
    event->accept();
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
