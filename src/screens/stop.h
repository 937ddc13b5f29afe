// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The stop test: a stopwatch counts hundredths behind a white blind, and the
// player presses ENTER when it reaches the target time. The difference shows
// on the blind, which then slides down to uncover the stopped time.

#include "platform/clock.h"
#include "platform/timer.h"
#include "screens/frame.h"
#include "rules/stoprules.h"
#include "widgets/MMTimer.h"

#include <QFont>
#include <QImage>

#include <optional>

#include <QCoreApplication>

namespace qx {
class Panel;
}

class TForm5 final : public qx::TestScreen {
    Q_DECLARE_TR_FUNCTIONS(TForm5)

public:
    explicit TForm5(qx::Game& game);
    ~TForm5() override;

private:
    friend struct qx::ScreenProbe<TForm5>;

    void startQuestion() override { Image4Click(); }
    void FormActivate() override;
    void Image4Click();
    void beginQuestion() override;
    void MMTimer1Timer();
    // ENTER stops the clock; it reaches here only while KeyPreview (armed) is on.
    void FormKeyPress(QChar& key) override;
    void Timer1Timer();
    void FormCloseQuery() override;

    qx::Image* Image2;          // stopwatch
    qx::Image* Image5;          // instruction banner
    TShadowLabel* ShadowLabel3; // "指定秒数"
    TShadowLabel* ShadowLabel2; // target time
    qx::Panel* Panel1;          // clock area
    qx::Image* PaintBox1;       // the clock; keeps its last frame
    QLabel* Label2;             // resting "00:00" until the clock first runs
    qx::Panel* Panel2;          // the blind
    TShadowLabel* ShadowLabel4; // difference, on the blind
    qx::Panel* Panel3;          // countdown of the overall run
    TShadowLabel* ShadowLabel5; // countdown digit
    TMMTimer MMTimer1;          // the clock, 10 ms
    qx::Timer Timer1;           // the reveal, 100 ms
    qx::Timer countdown;

    int ClockHundredths = 0;
    int TargetHundredths = 400;
    QImage ClockBuffer;

private:
    void applyQuestion(const std::optional<qx::StopQuestion>& question);
    void runClock();
    void paintClock(QImage& surface) const;

    QFont m_clockFont;
    int m_clockBaseline;
    // The clock's time; its ticks only repaint it.
    qx::Stopwatch m_stopwatch;
};
