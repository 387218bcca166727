// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/FixedHeader.h"
#include "ui/RowModel.h"

#include <QIcon>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <vector>

class QAbstractItemView;
class RowModel;

// One list of the main panel: the runes in list mode (columns of rows, filled
// top to bottom, then left to right), the others in report mode (one row per
// line, with columns). The widget's own frame is a 2-pixel sunken edge; points
// given to and reported by the list are in the coordinates of the area inside
// that edge (its viewport).
//
// Rows carry a text per column and a state image: 0 none, 1 the empty box,
// 2 the ticked box. The list never changes a state image by itself.
//
// Every change of a row's tick, selection or focus, made by the user or by a
// call below, is reported by itemChanged(row) before the call or the event
// that made it returns; when the selection moves from row A to row B, A is
// reported first, then B.
class SelectList : public QWidget {
    Q_OBJECT
public:
    enum class Mode { List, Report };
    enum HitFlag { HitNowhere = 1, HitOnLabel = 4, HitOnStateIcon = 8 };
    struct HitTestResult {
        int row = -1;
        int flags = HitNowhere;
    };
    static constexpr int DefaultInfoTipCapacity = 1024;

    SelectList(int id, Mode mode, QWidget* parent);
    ~SelectList() override;

    int Id() const { return controlId; }

    // Report mode: columns and the header.
    void InsertColumn(int column, const QString& heading, int width);
    int GetColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    void SetHeaderHidden(bool hidden);
    FixedHeader* Header() const { return header; }
    // List mode: the width of each column of rows.
    void SetListColumnWidth(int width);
    // Whether the whole row (all columns) counts as its label for hit tests
    // and is drawn selected.
    void SetFullRowSelect(bool on);
    // The two state images; without them no row shows an icon.
    void SetStateIcons(const QIcon& unticked, const QIcon& ticked);
    bool HasStateIcons() const;

    // Rows.
    int InsertRow(int row, const QString& text); // the row's index, or -1
    // Appends rows with a text per column, in one go: as InsertRow and
    // SetItemText row by row, at the cost of one pass.
    void AppendRows(QList<RowContent> rows);
    // The record index a row was appended with, or -1.
    int GetRowKey(int row) const;
    void SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const; // empty past the last row
    void DeleteAllRows();
    int GetRowCount() const;

    // -1 no icon, 0 unticked, 1 ticked.
    int GetTick(int row) const;
    void SetTick(int row, bool ticked);

    // Gives the row the selected and focused states; false for no such row.
    bool SelectAndFocus(int row);
    int GetFirstSelectedRow() const;
    bool IsRowSelected(int row) const;
    int GetFocusedRow() const;
    int GetSelectionMark() const;
    void SetSelectionMark(int row);
    void EnsureVisible(int row); // scrolls until the row is fully visible

    // A point beside a row's label (and not on its state icon) is on no
    // row: {-1, HitNowhere}, as below the last row.
    HitTestResult HitTest(QPoint point) const;
    QRect RowRect(int row) const;       // the row's cell, in viewport coordinates
    QRect StateIconRect(int row) const; // empty without state images
    QRect LabelRect(int row) const;

    void SetInfoTipCapacity(int capacity) { infoTipCapacity = capacity; }
    QWidget* Viewport() const;
    QAbstractItemView* View() const { return view; }

signals:
    void itemChanged(int row);
    void clicked(int row, QPoint point);
    void doubleClicked(int row, QPoint point);
    void rightClicked(int row, QPoint point);
    void rightDoubleClicked(int row, QPoint point);
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    // The handler fills *text; what stands there before is the list's own
    // proposal (empty). A text of `capacity` characters or more is not shown.
    void infoTipRequested(int row, QString* text, int capacity);
    // A screen reader's toggle action on a row with a state image. The list
    // leaves the tick to the handler, as for a click on the state icon.
    void toggleRequested(int row);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void AnnounceTickChange(int row);

    friend class SelectListPrivate;
    // Created before the view and destroyed after it: the view's event
    // handlers report through it.
    std::unique_ptr<class SelectListPrivate> d;
    int controlId;
    Mode mode;
    QAbstractItemView* view = nullptr;
    RowModel* model = nullptr;
    FixedHeader* header = nullptr;
    int infoTipCapacity = DefaultInfoTipCapacity;
};
