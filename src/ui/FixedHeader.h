// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHeaderView>

// The header of a report list whose column widths the user cannot change: no
// divider drag, no resize cursor, and a double click on a divider does nothing.
// Each heading starts where the text of its column's cells starts.
class FixedHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit FixedHeader(QWidget* parent = nullptr);

protected:
    bool viewportEvent(QEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};
