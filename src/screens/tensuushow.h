// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The overall score screen: the last screen of an overall run. It shows the
// total, ranks it into the top ten of "Rec/record.dat" and writes the table
// back when the score entered it.

#include "rules/ranking.h"
#include "screens/screen.h"

#include <array>

#include <QCoreApplication>

class QTableWidget;
class TShadowLabel;

class TForm15 final : public qx::Screen {
    Q_DECLARE_TR_FUNCTIONS(TForm15)

public:
    explicit TForm15(qx::Game& game);

private:
    friend struct qx::ScreenProbe<TForm15>;

    void FormActivate() override;
    void FormCloseQuery() override;
    void Image3Click();

    TShadowLabel* ShadowLabel1; // user name
    TShadowLabel* ShadowLabel2; // "点数：" and the total
    TShadowLabel* ShadowLabel4; // the rank reached
    TShadowLabel* ShadowLabel3; // "順位"
    qx::Panel* Panel1;
    std::array<TShadowLabel*, 10> rankNumbers{}; // ShadowLabel13 .. ShadowLabel22
    QTableWidget* StringGrid1;                   // row 0 the heading, rows 1.. the table
    qx::Image* Image3;                           // もどる

private:
    void setRow(int row, const QStringList& cells);
    void showEntries(const qx::RankingEntries& entries);
};
