// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The N-memory test: a row of digits is flashed for a moment, and the player
// types it back.

#include "platform/timer.h"
#include "screens/frame.h"
#include "rules/frashrules.h"

#include <QCoreApplication>

class TForm4 final : public qx::TestScreen {
    Q_DECLARE_TR_FUNCTIONS(TForm4)

public:
    explicit TForm4(qx::Game& game);

private:
    friend struct qx::ScreenProbe<TForm4>;

    void startQuestion() override { Image4Click(); }
    void Image4Click();
    void beginQuestion() override;
    void Timer3Timer();
    void Timer1Timer();
    void FormCloseQuery() override;

    QLabel* Label1;    // the digits
    qx::Image* Image3; // instruction banner
    QLabel* Label2;    // countdown digit
    qx::Timer Timer1;  // display
    qx::Timer Timer2;  // countdown
    qx::Timer Timer3;  // pause before the digits

    QString ShownDigits;
};
