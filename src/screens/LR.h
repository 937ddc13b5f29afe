// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The L-R test: a number of different digits runs once from left to right
// through a narrow white strip, and the player types it back.

#include "platform/clock.h"
#include "platform/timer.h"
#include "rules/LRrules.h"
#include "screens/frame.h"
#include "widgets/MMTimer.h"

#include <QFont>
#include <QStaticText>

#include <QCoreApplication>

namespace qx {
class Panel;
}

class TForm3 final : public qx::TestScreen {
    Q_DECLARE_TR_FUNCTIONS(TForm3)

public:
    explicit TForm3(qx::Game& game);
    ~TForm3() override;

private:
    friend struct qx::ScreenProbe<TForm3>;

    void startQuestion() override { Image5Click(); }
    void Image5Click();
    void beginQuestion() override;
    void MMTimer1Timer();
    void FormCloseQuery() override;

    qx::Image* Image3;    // brick-wall ellipse behind the strip
    qx::Image* Image4;    // instruction banner
    TShadowLabel* Label2; // countdown digit, white with a shadow to stand out on the bricks
    qx::Panel* Panel1;    // the white strip
    qx::Image* PaintBox1; // the number runs here; keeps its last frame
    TMMTimer MMTimer1;
    qx::Timer Timer1;

    int TextX = 0;
    int ShownNumber = 0;

private:
    void setNumber(int number);
    void answer();
    void clearStrip();

    QFont m_stripFont;
    // Since the run began: the number's place follows it, so that a run
    // lasts its designed time however late single ticks come.
    qx::Stopwatch m_run;
    // Laid out once per question, so that a tick only fills and draws.
    QStaticText m_numberText;
};
