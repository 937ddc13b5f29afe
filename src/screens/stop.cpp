// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/stop.h"

#include "platform/timerperiod.h"
#include "rules/store.h"
#include "widgets/ShadoLbl.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

using namespace qx;

namespace {
constexpr QSize kClockArea{277, 203};
constexpr int kClockLeft = 32;
// The digits' ink reaches from here to just above kDigitsBottom in the clock
// area, whatever the font's proportions: the lowest blind (top at 140) hides
// their lowest row, the highest (68, reaching down to 140) leaves only their
// top strip showing, and each level between hides more.
constexpr int kDigitsTop = 58;
constexpr int kDigitsBottom = 141;
// "00:00" ends before the blind's right edge.
constexpr int kClockRight = 253;
constexpr int kBlindLeft = 24;
constexpr int kRestingBlindTop = 140;
// The reveal ends once the blind's top has passed this line.
constexpr int kBlindBottom = 148;
constexpr int kBlindStep = 3;
const QColor kCountdownGrey(0xF2, 0xF2, 0xF2);

// The screen font at the size whose digits span kDigitsTop..kDigitsBottom,
// narrowed until "00:00" fits under the blind: the substitute font's digits
// have other proportions than the font the clock area was laid out for.
QFont clockFont()
{
    constexpr int kDesignPixels = 96;
    const int digitHeight =
        QFontMetrics(gameFont(kDesignPixels)).tightBoundingRect(QStringLiteral("0")).height();
    QFont font = gameFont(kDesignPixels * (kDigitsBottom - kDigitsTop) / std::max(digitHeight, 1));
    const int width = QFontMetrics(font).horizontalAdvance(QStringLiteral("00:00"));
    if (width > kClockRight - kClockLeft)
        font.setStretch(100 * (kClockRight - kClockLeft) / width);
    return font;
}

// Where the digits' baseline must be for their top to be at kDigitsTop.
int clockBaseline(const QFont& font)
{
    return kDigitsTop - QFontMetrics(font).tightBoundingRect(QStringLiteral("0")).top();
}
} // namespace

TForm5::TForm5(Game& game)
    : TestScreen(game, tr("ストップ"),
                 {.test = TestKind::Stop,
                  .modeLabel = {456, 0},
                  .counterTop = 32,
                  .labelHeight = 35,
                  .stagePicture = {280, 0, 138, 34},
                  .startButton = {4, 422, 201, 52},
                  .backButton = {464, 424, 129, 49}}),
      MMTimer1(game.services.clock, game.dispatcher),
      Timer1(game.services.clock, game.dispatcher, 100),
      countdown(game.services.clock, game.dispatcher, 1000),
      ClockBuffer(kClockArea, QImage::Format_RGB32), m_clockFont(clockFont()),
      m_clockBaseline(clockBaseline(m_clockFont)), m_stopwatch(game.services.clock)
{
    beginTimerPeriod();
    Image2 = new Image(this, QRect(88, 40, 433, 417));
    Image2->setPicture([] { return art::stopwatch(); });
    Image2->stackUnder(stagePicture());
    Image5 =
        addBanner(tr("指定された秒になったらENTERを押して止めて下さい"), QRect(68, 368, 473, 49));
    ShadowLabel3 = new TShadowLabel(this);
    styleScreenLabel(ShadowLabel3, 37, Qt::blue);
    ShadowLabel3->setCaption(tr("指定秒数"));
    ShadowLabel3->move(216, 72);
    ShadowLabel2 = new TShadowLabel(this);
    styleScreenLabel(ShadowLabel2, 48, Qt::blue);
    ShadowLabel2->setCaption(store::targetText(TargetHundredths));
    ShadowLabel2->move(248, 104);

    Panel1 = new Panel(this, QRect(QPoint(160, 152), kClockArea), Qt::white);
    PaintBox1 = new Image(Panel1, QRect(QPoint(0, 0), kClockArea));
    // Each tick repaints only this box, and all of it.
    PaintBox1->setAttribute(Qt::WA_OpaquePaintEvent);
    PaintBox1->canvas().fill(Qt::white);
    Label2 = new QLabel(QStringLiteral("00:00"), Panel1);
    Label2->setFont(m_clockFont);
    // Top-aligned without margins, its text sits on the running clock's
    // baseline to the pixel.
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setContentsMargins(0, 0, 0, 0);
    Label2->adjustSize();
    Label2->move(kClockLeft, m_clockBaseline - QFontMetrics(m_clockFont).ascent());
    Panel2 = new Panel(Panel1, QRect(kBlindLeft, kRestingBlindTop, 233, 73), Qt::white);
    ShadowLabel4 = new TShadowLabel(Panel2);
    styleScreenLabel(ShadowLabel4, 48, Qt::red);
    ShadowLabel4->move(41, 4);

    Panel3 = new Panel(this, QRect(224, 150, 145, 68), kCountdownGrey);
    Panel3->hide();
    ShadowLabel5 = new TShadowLabel(Panel3);
    styleScreenLabel(ShadowLabel5, 87, Qt::blue);
    ShadowLabel5->move(51, -13);
    setCountdown(countdown, [this](const QString& text) { ShadowLabel5->setCaption(text); });
    rewindCountdown();

    ClockBuffer.fill(Qt::white);
    MMTimer1.setInterval(10);
    MMTimer1.setOnTimer([this] { MMTimer1Timer(); });
    Timer1.setOnTimer([this] { Timer1Timer(); });
}

TForm5::~TForm5()
{
    endTimerPeriod();
}

void TForm5::applyQuestion(const std::optional<StopQuestion>& question)
{
    if (!question)
        return;
    Panel2->move(kBlindLeft, question->blindTop);
    TargetHundredths = question->target;
}

void TForm5::paintClock(QImage& surface) const
{
    surface.fill(Qt::white);
    QPainter painter(&surface);
    painter.setFont(m_clockFont);
    painter.setPen(Qt::black);
    painter.drawText(kClockLeft, m_clockBaseline, store::formatClock(ClockHundredths));
}

void TForm5::runClock()
{
    // The clock's own drawing takes over from the resting label; a running
    // clock is not read out, the time it stopped at is.
    Label2->hide();
    PaintBox1->setAccessibleName(QString());
    paintClock(PaintBox1->canvas());
    KeyPreview = true;
    m_stopwatch.start();
    MMTimer1.setEnabled(true);
}

void TForm5::FormActivate()
{
    TestScreen::FormActivate();
    if (overall())
        return;
    applyQuestion(stopQuestion(false, session().level(), 0));
    ShadowLabel2->setCaption(store::targetText(TargetHundredths));
}

void TForm5::Image4Click()
{
    if (overall()) {
        playSound(QStringLiteral("wav/cd.wav"));
        countQuestion();
        startCountdown();
        Panel3->show();
    }
    startButton()->setEnabled(false);
    ShadowLabel4->setCaption(QString());
    ClockHundredths = 0;
    if (overall())
        return;
    applyQuestion(stopQuestion(false, session().level(), 0));
    runClock();
}

void TForm5::beginQuestion()
{
    Panel3->hide();
    applyQuestion(stopQuestion(true, 0, run().question()));
    ShadowLabel2->setCaption(store::targetText(TargetHundredths));
    runClock();
}

void TForm5::MMTimer1Timer()
{
    ClockHundredths = m_stopwatch.hundredths();
    QImage& canvas = PaintBox1->canvas();
    // As sharp as the screen: the buffer takes the canvas's pixels.
    if (ClockBuffer.size() != canvas.size()) {
        ClockBuffer = QImage(canvas.size(), QImage::Format_RGB32);
        ClockBuffer.setDevicePixelRatio(canvas.devicePixelRatio());
    }
    paintClock(ClockBuffer);
    QPainter(&canvas).drawImage(0, 0, ClockBuffer);
}

void TForm5::FormKeyPress(QChar& key)
{
    if (key != QChar(13))
        return;
    // Frozen before it is read: the value scored, shown and written is one,
    // and it is the moment the key went down.
    MMTimer1.setEnabled(false);
    ClockHundredths = m_stopwatch.hundredthsAt(keyDownNs());
    Timer1.setEnabled(true);
    score({.time = ClockHundredths, .target = TargetHundredths});
    const bool exact = ClockHundredths == TargetHundredths;
    ShadowLabel4->setFontColor(exact ? Qt::blue : Qt::red);
    ShadowLabel4->setCaption(store::formatDifference(ClockHundredths - TargetHundredths));
    PaintBox1->setAccessibleName(store::formatClock(ClockHundredths));
    key = QChar(0);
    KeyPreview = false;
}

void TForm5::Timer1Timer()
{
    Panel2->move(kBlindLeft, Panel2->y() + kBlindStep);
    paintClock(PaintBox1->canvas());
    if (Panel2->y() <= kBlindBottom)
        return;
    // The reveal is over before the file is touched, so that a file that
    // cannot be read or written is reported once, not on every tick.
    Timer1.setEnabled(false);
    startButton()->setEnabled(true);
    // The run goes on whatever the file does, as it does after the other
    // stages' dialogs: the error is shown, then the next question follows.
    try {
        writeRecord({.time = ClockHundredths, .target = TargetHundredths});
    } catch (const Error& e) {
        game().dispatcher.report(e.message());
    }
    session().continueRun();
}

void TForm5::FormCloseQuery()
{
    Label2->show();
    PaintBox1->setAccessibleName(QString());
    ClockHundredths = 0;
    KeyPreview = false;
    MMTimer1.setEnabled(false);
    Timer1.setEnabled(false);
    rewindCountdown();
    PaintBox1->canvas().fill(Qt::white);
    Panel2->move(kBlindLeft, kRestingBlindTop);
    ShadowLabel4->setCaption(QString());
    ShadowLabel2->setCaption(QString());
    Panel3->hide();
    resetFrame(false);
}
