// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The records viewer: one of the current user's record files, or the top ten,
// in a grid under a heading row that names the columns. It only reads.

#include "screens/screen.h"
#include "rules/catalogue.h"
#include "rules/recordgrid.h"

#include <array>

#include <QCoreApplication>

class QTableView;
class TShadowLabel;

class TForm13 final : public qx::Screen {
    Q_DECLARE_TR_FUNCTIONS(TForm13)

public:
    explicit TForm13(qx::Game& game);

private:
    friend struct qx::ScreenProbe<TForm13>;

    // The shared handler of the eight file buttons; the button's Tag picks
    // the file.
    void RecordButtonClick(const qx::Image* sender);
    void FormCloseQuery() override;

    qx::Image* Image12;     // 総合
    qx::Image* Image5;      // パネル
    qx::Image* Image6;      // L→R
    qx::Image* Image7;      // N_メモリ
    qx::Image* Image8;      // ストップ
    qx::Image* Image9;      // シャープ
    qx::Image* Image10;     // BOX
    qx::Image* Image11;     // Reflexes
    qx::Image* Image3;      // もどる
    qx::Image* chartButton; // グラフ: the progress of the test shown
    const qx::TestDef* m_shownTest = nullptr;
    QTableView* StringGrid1;
    qx::RecordGridModel Grid;
    qx::Panel* Panel1;                          // rank column of the top ten
    TShadowLabel* ShadowLabel1;                 // 順位
    std::array<TShadowLabel*, 10> rankLabels{}; // ShadowLabel13 .. ShadowLabel22
};
