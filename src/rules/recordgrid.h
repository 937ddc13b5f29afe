// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The records viewer's grid as data: how a record line fills a row, and the
// rows of a whole file, apart from the screen.

#include "rules/store.h"

#include <QAbstractTableModel>

#include <array>
#include <limits>

namespace qx {

inline constexpr int kGridColumns = 5;

// The cells of one grid row, each as the file's code page 932 bytes.
using GridRow = std::array<QByteArray, kGridColumns>;

// Splits the line by the comma text rule and puts the fields one by one into
// the first cell of the row that is still empty: an empty field leaves no gap,
// and the fields that find no empty cell are dropped.
void fillRow(GridRow& row, const QByteArray& line);
// The same, each cell cut to its first fieldBytes bytes at most.
void fillRow(GridRow& row, const QByteArray& line, qsizetype fieldBytes);

// The grid's cells. Row 0 is the heading, shown as the view's fixed heading
// row; rows 1 and on are the records. The file's bytes are kept once, with an
// index of its lines; a row is split into cells only when the view asks for
// it, each cell holding no more than a screenful (cp932::kShownBytes), and
// the last rows asked for are kept. So a file of millions of lines opens at
// once, costs little more than its own size, and a line of megabytes paints
// as fast as any other.
class RecordGridModel final : public QAbstractTableModel {
public:
    RecordGridModel();

    // Rows as the grid counts them, the heading row included.
    int RowCount() const { return m_rows + 1; }
    // The lines of the file shown, also those past the last row.
    qsizetype lineCount() const { return m_lines.size(); }
    QString Cells(int column, int row) const;

    // Empties every cell, the heading included; the row count stays.
    void clearCells();
    // The column names as shown, in the interface's language.
    void setHeading(const QStringList& heading);
    // One row per line from row 1 on, as many as the row limit allows. A file
    // without lines leaves the row count as it was.
    void setLines(store::LineIndex lines);
    // The most rows of records the grid takes.
    void setRowLimit(int rows) { m_rowLimit = rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const GridRow& cellsOf(qsizetype line) const;
    void forgetRows() const;

    struct KeptRow {
        qsizetype line = -1;
        GridRow cells;
    };
    // Comfortably more rows than the grid shows at once.
    static constexpr std::size_t kKeptRows = 64;

    QStringList m_heading;
    store::LineIndex m_lines;
    int m_rows = 2;
    int m_rowLimit = std::numeric_limits<int>::max() - 1;
    mutable std::array<KeptRow, kKeptRows> m_kept;
};

} // namespace qx
