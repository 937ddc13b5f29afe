// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main menu. Its run-state names read the session.

#include "screens/screen.h"

#include <array>

#include <QCoreApplication>

class TForm1 final : public qx::Screen {
    Q_DECLARE_TR_FUNCTIONS(TForm1)

public:
    explicit TForm1(qx::Game& game);

    // Run state.
    QString CurrentTest() const;
    int Level() const { return session().level(); }
    int OverallMode() const { return session().run().mode(); }
    QString UserName() const { return session().user(); }
    int TotalScore() const { return session().run().score(); }

    // The user chosen, on the menu, and the buttons that need one.
    void showUser(const QString& name);

private:
    friend struct qx::ScreenProbe<TForm1>;

    qx::Image* Image24; // 総合トレーニング
    qx::Image* Image7;  // パネル
    qx::Image* Image3;  // L→R
    qx::Image* Image4;  // N_メモリ
    qx::Image* Image5;  // ストップ
    qx::Image* Image17; // Reflexes
    qx::Image* Image18; // BOX
    qx::Image* Image16; // シャープ
    qx::Image* Image14; // 登録
    qx::Image* Image6;  // 選択
    qx::Image* Image26; // 記録
    qx::Image* Image28; // 削除
    qx::Image* Image2;  // おわる
    QLabel* Label1;

    // The hover markers in the order of the buttons above (おわる has none).
    std::array<qx::Image*, 12> markers{};

    void Image1MouseMove();
    void singlePlay(qx::TestKind kind);
};
