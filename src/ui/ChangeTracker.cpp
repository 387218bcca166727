// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChangeTracker.h"

#include "ui/RowDelegate.h"
#include "ui/SelectList.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

#include <algorithm>

void ChangeTracker::Touch()
{
    if (muted)
        return;
    dirty = true;
    // A change outside any batch (someone working on the view directly)
    // is reported at once.
    if (depth == 0)
        Flush();
}

ChangeTracker::RowState ChangeTracker::Actual(int row) const
{
    const QModelIndex index = q->View()->model()->index(row, 0);
    const QItemSelectionModel* selection = q->View()->selectionModel();
    RowState state;
    state.tick = index.data(rowlayout::TickRole).toInt();
    state.selected = selection->isSelected(index);
    state.focused = selection->currentIndex().isValid() && selection->currentIndex().row() == row;
    return state;
}

void ChangeTracker::Flush()
{
    if (!dirty || muted)
        return;
    dirty = false;
    const quint64 flush = ++flushCount;
    const int count = q->View()->model()->rowCount();
    rows.resize(static_cast<size_t>(count));
    std::vector<int> losing;
    std::vector<int> others;
    for (int row = 0; row < count; ++row) {
        RowState now = Actual(row);
        RowState& was = rows[static_cast<size_t>(row)];
        if (now.SameAs(was))
            continue;
        if (now.selected && !was.selected)
            selectionMark = row;
        const bool lost = (was.selected && !now.selected) || (was.focused && !now.focused);
        (lost ? losing : others).push_back(row);
        now.reportedBy = flush;
        was = now;
    }
    losing.insert(losing.end(), others.begin(), others.end());
    for (const int row : losing) {
        // A handler may have changed the rows again; a row whose newer
        // change was already reported by a nested flush is not repeated.
        if (static_cast<size_t>(row) < rows.size() && rows[static_cast<size_t>(row)].reportedBy == flush)
            emit q->itemChanged(row);
    }
}

void ChangeTracker::RowsInserted(int first, int last)
{
    if (muted)
        return;
    std::vector<RowState> added;
    for (int row = first; row <= last; ++row)
        added.push_back(Actual(row));
    const auto at = rows.begin() + std::min<std::ptrdiff_t>(first, static_cast<std::ptrdiff_t>(rows.size()));
    rows.insert(at, added.begin(), added.end());
    if (selectionMark >= first)
        selectionMark += last - first + 1;
}

void ChangeTracker::RowsRemoved(int first, int last)
{
    if (muted)
        return;
    const auto size = static_cast<std::ptrdiff_t>(rows.size());
    rows.erase(rows.begin() + std::min<std::ptrdiff_t>(first, size),
               rows.begin() + std::min<std::ptrdiff_t>(last + 1, size));
    if (selectionMark > last)
        selectionMark -= last - first + 1;
    else if (selectionMark >= first)
        selectionMark = -1;
    Touch();
}

void ChangeTracker::Clear()
{
    rows.clear();
    dirty = false;
    selectionMark = -1;
}
