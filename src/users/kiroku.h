#pragma once

// The records viewer: one of the current user's record files, or the top ten,
// in a grid under a heading row that names the columns. It only reads.

#include "app/screen.h"
#include "users/store.h"

#include <QAbstractTableModel>

#include <array>
#include <vector>

class QTableView;
class TShadowLabel;

namespace qx {

inline constexpr int kGridColumns = 5;

// The cells of one grid row, each as the file's code page 932 bytes.
using GridRow = std::array<QByteArray, kGridColumns>;

// Splits the line by the comma text rule and puts the fields one by one into
// the first cell of the row that is still empty: an empty field leaves no gap,
// and the fields that find no empty cell are dropped.
void fillRow(GridRow& row, const QByteArray& line);

// The grid's cells. Row 0 is the heading, shown as the view's fixed heading
// row; rows 1 and on are the records. Rows are kept as bytes and decoded only
// when the view paints them, so a long history opens at once.
class RecordGridModel final : public QAbstractTableModel {
public:
    RecordGridModel();

    // Rows as the grid counts them, the heading row included.
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    QString Cells(int column, int row) const;

    // Empties every cell, the heading included; the row count stays.
    void clearCells();
    void setHeading(const QString& heading);
    // One row per line from row 1 on, and as many rows as that takes. No
    // lines leave the row count as it was.
    void setLines(const store::Lines& lines);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<GridRow> m_rows;
};

} // namespace qx

class TForm13 final : public qx::Screen {
public:
    explicit TForm13(qx::Game& game);

    // The shared handler of the eight file buttons; the button's Tag picks
    // the file.
    void RecordButtonClick(const qx::Image* sender);
    void FormCloseQuery() override;

    qx::Image* Image12; // 総合
    qx::Image* Image5;  // パネル
    qx::Image* Image6;  // L→R
    qx::Image* Image7;  // N_メモリ
    qx::Image* Image8;  // ストップ
    qx::Image* Image9;  // シャープ
    qx::Image* Image10; // BOX
    qx::Image* Image11; // Reflexes
    qx::Image* Image3;  // もどる
    QTableView* StringGrid1;
    qx::RecordGridModel Grid;
    qx::Panel* Panel1;                          // rank column of the top ten
    TShadowLabel* ShadowLabel1;                 // 順位
    std::array<TShadowLabel*, 10> rankLabels{}; // ShadowLabel13 .. ShadowLabel22
};
