// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/recordgrid.h"

#include "rules/textcodec.h"

#include <algorithm>

using namespace qx;

void qx::fillRow(GridRow& row, const QByteArray& line)
{
    fillRow(row, line, std::numeric_limits<qsizetype>::max());
}

void qx::fillRow(GridRow& row, const QByteArray& line, qsizetype fieldBytes)
{
    // Fields are taken only until the row is full: the rest of a line of
    // millions of fields is never split.
    store::CommaFields fields(line, fieldBytes);
    auto cell =
        std::find_if(row.begin(), row.end(), [](const QByteArray& c) { return c.isEmpty(); });
    while (cell != row.end()) {
        fields.skipEmptyFields();
        std::optional<QByteArray> field = fields.next();
        if (!field)
            return;
        if (field->isEmpty())
            continue;
        *cell = std::move(*field);
        cell = std::find_if(cell, row.end(), [](const QByteArray& c) { return c.isEmpty(); });
    }
}

RecordGridModel::RecordGridModel() = default;

QString RecordGridModel::Cells(int column, int row) const
{
    if (row < 0 || row >= RowCount() || column < 0 || column >= kGridColumns)
        return {};
    if (row == 0)
        return m_heading.value(column);
    const auto cell = static_cast<std::size_t>(column);
    if (row - 1 >= m_lines.size())
        return {};
    return cp932::decodeShown(cellsOf(row - 1)[cell]);
}

const GridRow& RecordGridModel::cellsOf(qsizetype line) const
{
    KeptRow& kept = m_kept[static_cast<std::size_t>(line) % kKeptRows];
    if (kept.line != line) {
        kept.cells.fill(QByteArray());
        fillRow(kept.cells, m_lines.line(line), cp932::kShownBytes);
        kept.line = line;
    }
    return kept.cells;
}

void RecordGridModel::forgetRows() const
{
    for (KeptRow& kept : m_kept) {
        kept.line = -1;
        kept.cells.fill(QByteArray());
    }
}

void RecordGridModel::clearCells()
{
    m_heading.clear();
    m_lines = store::LineIndex();
    forgetRows();
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, kGridColumns - 1);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, kGridColumns - 1));
}

void RecordGridModel::setHeading(const QStringList& heading)
{
    m_heading = heading.first(std::min<qsizetype>(heading.size(), kGridColumns));
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, kGridColumns - 1);
}

void RecordGridModel::setLines(store::LineIndex lines)
{
    if (lines.isEmpty())
        return;
    beginResetModel();
    m_lines = std::move(lines);
    forgetRows();
    m_rows = static_cast<int>(std::min<qsizetype>(m_lines.size(), m_rowLimit));
    endResetModel();
}

int RecordGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int RecordGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kGridColumns;
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return Cells(index.column(), index.row() + 1);
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return Cells(section, 0);
}
