// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/LR.h"

#include "platform/timerperiod.h"
#include "rules/store.h"
#include "widgets/ShadoLbl.h"

#include <QPainter>

#include <algorithm>
#include <array>

using namespace qx;

namespace {
constexpr int kTextTop = 5;
constexpr int kTextStep = 2;
// The last frame draws the number at this x; the box is narrower, so the
// number has left the visible strip by then.
constexpr int kLastTextX = 600;
constexpr unsigned kStoredInterval = 25;
} // namespace

TForm3::TForm3(Game& game)
    : TestScreen(game, tr("Ｌ→Ｒ"),
                 {.test = TestKind::LR,
                  .modeLabel = {456, 0},
                  .counterTop = 32,
                  .labelHeight = 35,
                  .stagePicture = {280, 0, 137, 33},
                  .startButton = {176, 424, 193, 49},
                  .backButton = {424, 432, 129, 41}}),
      MMTimer1(game.services.clock, game.dispatcher),
      Timer1(game.services.clock, game.dispatcher, 1000), m_stripFont(gameFont(12)),
      m_run(game.services.clock)
{
    beginTimerPeriod();
    Image3 = new Image(this, QRect(21, 67, 553, 305));
    Image3->setPicture([] { return art::brickEllipse(); });
    Image3->stackUnder(stagePicture());
    Image4 = addBanner(tr("左から右に移動している数字を当てて下さい"), QRect(56, 368, 489, 41));
    Panel1 = new Panel(this, QRect(24, 205, 546, 25), Qt::white);
    PaintBox1 = new Image(Panel1, QRect(0, 0, 545, 23));
    // Each tick repaints only this box, and all of it.
    PaintBox1->setAttribute(Qt::WA_OpaquePaintEvent);
    clearStrip();
    m_numberText.setTextFormat(Qt::PlainText);
    Label2 = new TShadowLabel(this);
    styleScreenLabel(Label2, 96, Qt::white);
    Label2->move(264, 112);
    Label2->hide();
    setCountdown(Timer1, [this](const QString& text) { Label2->setCaption(text); });
    rewindCountdown();

    MMTimer1.setInterval(kStoredInterval);
    MMTimer1.setOnTimer([this] { MMTimer1Timer(); });
}

TForm3::~TForm3()
{
    endTimerPeriod();
}

void TForm3::setNumber(int number)
{
    ShownNumber = number;
    m_numberText.setText(QString::number(number));
    m_numberText.prepare(QTransform(), m_stripFont);
}

void TForm3::clearStrip()
{
    PaintBox1->canvas().fill(Qt::white);
}

void TForm3::Image5Click()
{
    playSound(QStringLiteral("wav/cd.wav"));
    if (overall())
        countQuestion();
    startButton()->setEnabled(false);
    startCountdown();
    Label2->show();
    TextX = 0;
    if (!overall()) {
        const LRQuestion question = lrQuestion(false, session().level(), 0);
        setNumber(MakeNumber(question.digits, services().random));
        MMTimer1.setInterval(question.period);
    }
}

void TForm3::beginQuestion()
{
    if (overall()) {
        const LRQuestion question = lrQuestion(true, 0, run().question());
        setNumber(MakeNumber(question.digits, services().random));
        MMTimer1.setInterval(question.period);
    }
    Label2->hide();
    Label2->setCaption(QString());
    m_run.start();
    MMTimer1.setEnabled(true);
}

void TForm3::MMTimer1Timer()
{
    // The frame due now; frames whose ticks were dropped are skipped.
    const int frame = std::max(m_run.periods(MMTimer1.Interval()), 1);
    TextX = std::min(kTextStep * (frame - 1), kLastTextX);
    QImage& strip = PaintBox1->canvas();
    strip.fill(Qt::white);
    QPainter painter(&strip);
    painter.setFont(m_stripFont);
    painter.drawStaticText(TextX, kTextTop, m_numberText);
    painter.end();
    TextX += kTextStep;
    if (TextX > kLastTextX)
        answer();
}

void TForm3::answer()
{
    MMTimer1.setEnabled(false);
    startButton()->setEnabled(true);
    const QString typed = askAnswer();
    const QString number = QString::number(ShownNumber);
    const bool right = typed == number;
    finishOrderA(tr("答え：%1").arg(number), tr("入力した答え：%1").arg(typed),
                 {.right = right, .answer = number, .typed = typed});
}

void TForm3::FormCloseQuery()
{
    MMTimer1.setEnabled(false);
    rewindCountdown();
    Label2->hide();
    TextX = 0;
    setNumber(0);
    clearStrip();
    resetFrame(false);
}
