#pragma once

// The panel test: panels of a 5 x 5 grid light up red one after another and
// the player clicks them back in the same order.

#include "platform/timer.h"
#include "tests/countdown.h"
#include "tests/frame.h"

#include <array>

namespace qx {

class Panel;

struct PanelQuestion {
    int sequenceLength; // panels lit
    int stepInterval;   // ms lit, and ms dark before each light
};
// Single play by level (1..10), the overall run by question (1..5).
PanelQuestion panelQuestion(bool overall, int level, int question);

// Positions where the lit and the clicked panel agree, compared one to one.
int panelMatches(const std::array<int, 25>& lit, const std::array<int, 25>& clicked, int length);

} // namespace qx

class TForm2 final : public qx::TestScreen {
public:
    explicit TForm2(qx::Game& game);

private:
    friend struct qx::ScreenProbe<TForm2>;

    void startQuestion() override { Image3Click(); }
    void Image3Click();
    void sougoutimTimer();
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
    qx::Countdown m_countdown;
};
