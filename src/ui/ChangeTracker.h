// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <vector>

class SelectList;

// Turns Qt's raw signals into one itemChanged(row) per changed row of a
// SelectList. The raw signals come in a different order depending on the path
// (a mouse press moves the current index before the selection, code and keys
// the other way round), so they only mark the rows as dirty. Every public call
// that can change a row and every event the view handles runs inside a batch;
// when the outermost batch ends, the rows are compared with the last reported
// state and each changed row is reported, rows that lost their selection or
// focus first. Reports are made outside any batch, so a handler's own calls
// report their changes before they return.
class ChangeTracker {
public:
    explicit ChangeTracker(SelectList* owner) : q(owner) {}

    class Batch {
    public:
        explicit Batch(ChangeTracker* tracker) : tracker(tracker) { ++tracker->depth; }
        ~Batch()
        {
            if (--tracker->depth == 0)
                tracker->Flush();
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        ChangeTracker* tracker;
    };

    void Touch();
    void Flush();
    void RowsInserted(int first, int last);
    void RowsRemoved(int first, int last);
    // Forgets every row without reporting (the rows are gone).
    void Clear();

    bool muted = false;
    int selectionMark = -1;

private:
    // Tick, selection and focus of one row as last reported.
    struct RowState {
        int tick = 0;
        bool selected = false;
        bool focused = false;
        quint64 reportedBy = 0; // the flush that last recorded a change of this row

        bool SameAs(const RowState& other) const
        {
            return tick == other.tick && selected == other.selected && focused == other.focused;
        }
    };

    RowState Actual(int row) const;

    SelectList* q;
    std::vector<RowState> rows; // as last reported
    int depth = 0;
    bool dirty = false;
    quint64 flushCount = 0;
};
