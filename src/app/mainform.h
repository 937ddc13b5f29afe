#pragma once

// The main menu. It owns the run state that every screen reads and writes.

#include "app/overallrun.h"
#include "app/screen.h"

#include <array>

class TForm1 final : public qx::Screen {
public:
    explicit TForm1(qx::Game& game);

    // Run state.
    QString CurrentTest;
    int Level = 0;
    int OverallMode() const { return m_run.mode(); }
    QString UserName;
    int TotalScore() const { return m_run.score(); }
    qx::OverallRun& run() { return m_run; }

    // Called by the user selection once a user is chosen.
    void selectUser(const QString& name);

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
    void singlePlayViaLevels(const QString& test);
    void singlePlayDirect(const QString& test, qx::Form* screen);

    qx::OverallRun m_run;
};
