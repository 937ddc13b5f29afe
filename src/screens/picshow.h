// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The Reflex test: after a countdown the picture box stays blank for a random
// wait, then a picture appears and a 10 ms clock runs until the player presses
// ENTER. ENTER during the wait is a false start. The reaction is timed from
// the picture reaching the screen to the key going down, so that a busy
// user-interface thread neither adds to it nor takes from it.

#include "platform/clock.h"
#include "platform/timer.h"
#include "screens/frame.h"
#include "widgets/MMTimer.h"

#include <QCoreApplication>

class QFrame;

class TForm7 final : public qx::TestScreen {
    Q_DECLARE_TR_FUNCTIONS(TForm7)

public:
    explicit TForm7(qx::Game& game);
    ~TForm7() override;
    TForm7(const TForm7&) = delete;
    TForm7& operator=(const TForm7&) = delete;

private:
    friend struct qx::ScreenProbe<TForm7>;

    void startQuestion() override { Image5Click(); }
    void Image5Click();
    void beginQuestion() override;
    void Timer1Timer();
    void MMTimer1Timer();
    void FormKeyPress(QChar& key) override;
    void FormCloseQuery() override;

    QFrame* Panel1;
    qx::Image* Image4; // the picture box
    qx::Timer Timer1;  // the random wait
    qx::Timer Timer2;  // the countdown
    TMMTimer MMTimer1; // the reaction clock

    int ReactionHundredths = 0;

private:
    void drawCountdown(const QString& text);

    // Runs from the moment the picture is on the screen.
    qx::Stopwatch m_reaction;
};
