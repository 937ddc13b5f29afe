// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The panel test: panels of a 5 x 5 grid light up red one after another and
// the player clicks them back in the same order.

#include "platform/timer.h"
#include "screens/frame.h"
#include "rules/panelrules.h"

#include <array>

#include <QCoreApplication>

namespace qx {
class Panel;
}

class TForm2 final : public qx::TestScreen {
    Q_DECLARE_TR_FUNCTIONS(TForm2)

public:
    explicit TForm2(qx::Game& game);

private:
    friend struct qx::ScreenProbe<TForm2>;

    void startQuestion() override { Image3Click(); }
    void Image3Click();
    void beginQuestion() override;
    void Timer1Timer();
    void Timer2Timer();
    void Panel1MouseDown(qx::Panel* panel);
    void Panel1MouseUp(qx::Panel* panel);
    void FormCloseQuery() override;

    std::array<qx::Panel*, 25> panels{}; // Panel1 .. Panel25
    qx::Panel* Panel27;                  // the countdown box
    TShadowLabel* ShadowLabel2;          // countdown digit
    qx::Timer Timer1;
    qx::Timer Timer2;
    qx::Timer sougoutim;

    std::array<int, 25> LitSequence{};
    std::array<int, 25> ClickSequence{};
    int SequenceLength = 0;
    int StepInterval = 0;
    int CurrentPanel = 0;
    int LightsShown = 0;
    int ClickCount = 0;

private:
    void setPanelsEnabled(bool enabled);
    int m_nextLit = 0;
};
