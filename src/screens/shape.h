// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The shape test: eight of nine shapes are drawn in a ring around a running
// stopwatch, and the player clicks the one that is missing.

#include "platform/clock.h"
#include "screens/frame.h"
#include "rules/shaperules.h"
#include "widgets/MMTimer.h"

#include <array>

#include <QCoreApplication>

class TForm6 final : public qx::TestScreen {
    Q_DECLARE_TR_FUNCTIONS(TForm6)

public:
    explicit TForm6(qx::Game& game);
    ~TForm6() override;
    TForm6(const TForm6&) = delete;
    TForm6& operator=(const TForm6&) = delete;

private:
    friend struct qx::ScreenProbe<TForm6>;

    void startQuestion() override { Image14Click(); }
    void Image14Click();
    void Image2Click(qx::Image* sender);
    void MMTimer1Timer();
    void FormCloseQuery() override;

    // The answer buttons Image2 .. Image10, with Tag 1..9.
    std::array<qx::Image*, 9> answerButtons{};
    qx::Image* Image11; // the ring
    // The stopwatch, left to right: Label7, Label6, Label5, Label3, Label2,
    // Label4, Label1.
    QLabel* Label7;
    QLabel* Label6;
    QLabel* Label5;
    QLabel* Label3;
    QLabel* Label2;
    QLabel* Label4;
    QLabel* Label1;
    TMMTimer MMTimer1;

    std::array<QImage, 8> ShapeBitmaps;
    std::array<int, 9> ShapeOrder{};
    qx::ShapeClock Stopwatch;

private:
    void setAnswersEnabled(bool enabled);

    // The stopwatch's time; its ticks only repaint it.
    qx::Stopwatch m_elapsed;
    void showStopwatch();
    void layOutStopwatch();
    void setStopwatchVisible(bool visible);
};
