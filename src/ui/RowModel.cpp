// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RowModel.h"

#include <algorithm>

int RowModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int RowModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(headings.size());
}

QVariant RowModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row& row = rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return row.texts.value(index.column());
    if (role == StateImageRole && index.column() == 0)
        return row.stateImage;
    if (role == KeyRole)
        return row.key;
    if (role == MarksRole && index.column() == row.markedColumn)
        return QVariant::fromValue(row.marks);
    if (role == Qt::AccessibleDescriptionRole && !row.description.isEmpty())
        return row.description;
    return {};
}

Qt::ItemFlags RowModel::flags(const QModelIndex& index) const
{
    // Selectable only: never editable and never checkable by Qt itself.
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

QVariant RowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < headings.size())
        return headings[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

void RowModel::InsertColumn(int column, const QString& heading)
{
    column = std::clamp(column, 0, static_cast<int>(headings.size()));
    beginInsertColumns({}, column, column);
    headings.insert(column, heading);
    for (Row& row : rows)
        row.texts.insert(std::min(column, static_cast<int>(row.texts.size())), QString());
    endInsertColumns();
}

void RowModel::SetHeading(int column, const QString& heading)
{
    headings[column] = heading;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void RowModel::InsertRow(int row, const QString& text)
{
    row = std::clamp(row, 0, rowCount());
    beginInsertRows({}, row, row);
    Row added;
    added.texts.append(text);
    rows.insert(rows.begin() + row, std::move(added));
    endInsertRows();
}

void RowModel::AppendRows(QList<RowContent> contents)
{
    if (contents.isEmpty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(contents.size()) - 1);
    rows.reserve(rows.size() + static_cast<std::size_t>(contents.size()));
    for (RowContent& content : contents)
        rows.push_back({std::move(content.texts), 0, content.key, content.markedColumn, std::move(content.marks),
                        std::move(content.description)});
    endInsertRows();
}

void RowModel::RemoveAllRows()
{
    if (rows.empty())
        return;
    beginRemoveRows({}, 0, rowCount() - 1);
    rows.clear();
    endRemoveRows();
}

QString RowModel::Text(int row, int column) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return rows[static_cast<std::size_t>(row)].texts.value(column);
}

void RowModel::SetText(int row, int column, const QString& text)
{
    QStringList& texts = rows[static_cast<std::size_t>(row)].texts;
    while (texts.size() <= column)
        texts.append(QString());
    texts[column] = text;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void RowModel::SetStateImage(int row, int image)
{
    rows[static_cast<std::size_t>(row)].stateImage = image;
    const QModelIndex changed = index(row, 0);
    emit dataChanged(changed, changed, {StateImageRole});
}
