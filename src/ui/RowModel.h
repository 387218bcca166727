// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPoint>
#include <QStringList>

#include <vector>

// What one appended row shows: a text per column; the index of the record it
// shows (-1 none); spans (start, length) of one column's text to mark; and a
// description for screen readers.
struct RowContent {
    QStringList texts;
    int key = -1;
    int markedColumn = -1;
    QList<QPoint> marks;
    QString description;
};

// The rows of a SelectList: a text per column, a state image number (0 none,
// 1 unticked, 2 ticked) and the row's content extras. Plain storage, so that refilling a list of
// a few hundred rows costs little more than copying their texts.
class RowModel final : public QAbstractTableModel {
public:
    static constexpr int StateImageRole = Qt::UserRole + 1;
    static constexpr int KeyRole = Qt::UserRole + 2;
    static constexpr int MarksRole = Qt::UserRole + 3; // a QList<QPoint> of (start, length)

    explicit RowModel(QObject* parent) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void InsertColumn(int column, const QString& heading);
    void SetHeading(int column, const QString& heading);
    void InsertRow(int row, const QString& text);
    void AppendRows(QList<RowContent> contents);
    void RemoveAllRows();
    QString Text(int row, int column) const;
    void SetText(int row, int column, const QString& text);
    int StateImage(int row) const { return rows[static_cast<std::size_t>(row)].stateImage; }
    void SetStateImage(int row, int image);

private:
    struct Row {
        QStringList texts; // one per column
        int stateImage = 0;
        int key = -1;
        int markedColumn = -1;
        QList<QPoint> marks;
        QString description;
    };
    std::vector<Row> rows;
    QStringList headings{QString()}; // one column to begin with
};
