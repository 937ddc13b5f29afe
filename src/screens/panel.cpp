// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/panel.h"

#include "platform/clock.h"
#include "rules/store.h"
#include "widgets/ShadoLbl.h"

using namespace qx;

namespace {
const QColor kSilver(192, 192, 192);
const QColor kRed(255, 0, 0);
constexpr int kPanelSize = 49;
constexpr int kPanelPitch = 56;
} // namespace

TForm2::TForm2(Game& game)
    : TestScreen(game, tr("パネル"),
                 {TestKind::Panel,
                  {448, 0},
                  40,
                  35,
                  {280, 0, 137, 33},
                  {200, 424, 193, 49},
                  {464, 424, 129, 49}}),
      Timer1(game.services.clock, game.dispatcher, 300),
      Timer2(game.services.clock, game.dispatcher, 300),
      sougoutim(game.services.clock, game.dispatcher, 1000)
{
    addBanner(tr("赤く光った順にクリックしていって下さい"), QRect(64, 380, 473, 41));
    auto* backing = new Panel(this, QRect(112, 72, 345, 305), QColor(219, 224, 238));
    backing->setRaised(true);
    for (int n = 1; n <= 25; ++n) {
        const QRect geometry(148 + kPanelPitch * ((n - 1) % 5), 88 + kPanelPitch * ((n - 1) / 5),
                             kPanelSize, kPanelSize);
        auto* panel = new Panel(this, geometry, kSilver);
        panel->Tag = n;
        panel->setRaised(true);
        panel->setEnabled(false);
        panel->OnMouseDown = [this, panel] { Panel1MouseDown(panel); };
        panel->OnMouseUp = [this, panel] { Panel1MouseUp(panel); };
        panels[static_cast<std::size_t>(n - 1)] = panel;
    }
    arrangeAsKeyboardGrid({panels.begin(), panels.end()}, 5);
    Panel27 = new Panel(this, QRect(224, 152, 129, 121), Qt::white);
    Panel27->hide();
    ShadowLabel2 = new TShadowLabel(Panel27);
    styleScreenLabel(ShadowLabel2, 96, Qt::blue);
    ShadowLabel2->move(40, 8);
    setCountdown(sougoutim, [this](const QString& text) { ShadowLabel2->setCaption(text); });
    rewindCountdown();

    Timer1.setOnTimer([this] { Timer1Timer(); });
    Timer2.setOnTimer([this] { Timer2Timer(); });
}

void TForm2::setPanelsEnabled(bool enabled)
{
    for (Panel* panel : panels)
        panel->setEnabled(enabled);
}

void TForm2::Image3Click()
{
    if (overall()) {
        countQuestion();
        playSound(QStringLiteral("wav/cd.wav"));
    }
    ClickCount = 0;
    CurrentPanel = 0;
    m_nextLit = 0;
    if (!overall()) {
        Timer1.setEnabled(true);
        const PanelQuestion question = panelQuestion(false, session().level(), 0);
        SequenceLength = question.sequenceLength;
        StepInterval = question.stepInterval;
        Timer1.setInterval(StepInterval);
        Timer2.setInterval(StepInterval);
    } else {
        startCountdown();
        Panel27->show();
    }
    LitSequence.fill(0);
    ClickSequence.fill(0);
    startButton()->setEnabled(false);
}

void TForm2::beginQuestion()
{
    Panel27->hide();
    const PanelQuestion question = panelQuestion(true, session().level(), run().question());
    SequenceLength = question.sequenceLength;
    StepInterval = question.stepInterval;
    Timer1.setInterval(StepInterval);
    Timer2.setInterval(StepInterval);
    Timer1.setEnabled(true);
    rewindCountdown();
}

void TForm2::Timer1Timer()
{
    playSound(QStringLiteral("wav/cd.wav"));
    CurrentPanel = services().random(25) + 1;
    if (m_nextLit < 25)
        LitSequence[static_cast<std::size_t>(m_nextLit++)] = CurrentPanel;
    panels[static_cast<std::size_t>(CurrentPanel - 1)]->setColor(kRed);
    Timer1.setEnabled(false);
    Timer2.setEnabled(true);
}

void TForm2::Timer2Timer()
{
    panels[static_cast<std::size_t>(CurrentPanel - 1)]->setColor(kSilver);
    ++LightsShown;
    Timer2.setEnabled(false);
    if (LightsShown != SequenceLength) {
        Timer1.setEnabled(true);
        return;
    }
    LightsShown = 0;
    setPanelsEnabled(true);
}

void TForm2::Panel1MouseDown(Panel* panel)
{
    panel->setColor(kRed);
    PlayClick();
}

void TForm2::Panel1MouseUp(Panel* panel)
{
    panel->setColor(kSilver);
    if (ClickCount < 25)
        ClickSequence[static_cast<std::size_t>(ClickCount)] = panel->Tag;
    ++ClickCount;
    if (ClickCount != SequenceLength)
        return;
    setPanelsEnabled(false);
    startButton()->setEnabled(true);
    const int matches = panelMatches(LitSequence, ClickSequence, SequenceLength);
    const bool right = matches == SequenceLength;
    finishOrderA(QString(), QString(), {.right = right, .matches = matches});
}

void TForm2::FormCloseQuery()
{
    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
    rewindCountdown();
    for (Panel* panel : panels) {
        panel->setColor(kSilver);
        panel->setEnabled(false);
    }
    LitSequence.fill(0);
    ClickSequence.fill(0);
    CurrentPanel = 0;
    ClickCount = 0;
    LightsShown = 0;
    m_nextLit = 0;
    Panel27->hide();
    resetFrame(true);
}
