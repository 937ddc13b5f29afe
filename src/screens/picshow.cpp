// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/picshow.h"

#include "platform/timerperiod.h"
#include "rules/store.h"

#include <QFrame>
#include <QPainter>

using namespace qx;

namespace {

// A white panel with a raised outer and a lowered inner bevel, one pixel each.
class BevelPanel final : public QFrame {
public:
    BevelPanel(QWidget* parent, QRect geometry) : QFrame(parent) { setGeometry(geometry); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const auto bevel = [&painter](QRect r, QColor topLeft, QColor bottomRight) {
            painter.setPen(topLeft);
            painter.drawLine(r.topLeft(), r.topRight());
            painter.drawLine(r.topLeft(), r.bottomLeft());
            painter.setPen(bottomRight);
            painter.drawLine(r.bottomLeft(), r.bottomRight());
            painter.drawLine(r.topRight(), r.bottomRight());
        };
        bevel(rect(), Qt::white, Qt::darkGray);
        bevel(rect().adjusted(1, 1, -1, -1), Qt::darkGray, Qt::white);
    }
};

// The countdown digit: 80 points at 96 dpi.
constexpr int kCountdownPixels = 107;
const QPoint kCountdownAt(180, 70);
const QPoint kPictureAt(70, 0);
constexpr int kReactionTick = 10;
constexpr int kShortestWait = 1000;
constexpr int kWaitSpread = 5000;

} // namespace

TForm7::TForm7(Game& game)
    : TestScreen(game, QStringLiteral("Reflexes"),
                 {TestKind::Reflex,
                  {456, 0},
                  40,
                  37,
                  {280, 0, 137, 33},
                  {192, 416, 193, 49},
                  {464, 420, 129, 49}}),
      Timer1(game.services.clock, game.dispatcher),
      Timer2(game.services.clock, game.dispatcher, 1000),
      MMTimer1(game.services.clock, game.dispatcher), m_reaction(game.services.clock)
{
    beginTimerPeriod();
    addBanner(tr("上のボックス内に絵が表示されたらENTERを押してください"), QRect(64, 328, 473, 49));
    Panel1 = new BevelPanel(this, QRect(88, 80, 425, 241));
    Image4 = new Image(Panel1, QRect(2, 2, 421, 237));

    MMTimer1.setInterval(kReactionTick);
    Timer1.setOnTimer([this] { Timer1Timer(); });
    setCountdown(Timer2, [this](const QString& text) { drawCountdown(text); });
    MMTimer1.setOnTimer([this] { MMTimer1Timer(); });
}

TForm7::~TForm7()
{
    endTimerPeriod();
}

void TForm7::drawCountdown(const QString& text)
{
    QImage& canvas = Image4->canvas();
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setFont(gameFont(kCountdownPixels));
    painter.setPen(Qt::black);
    painter.drawText(QRect(kCountdownAt, canvas.size()), Qt::AlignLeft | Qt::AlignTop, text);
}

void TForm7::Image5Click()
{
    playSound(QStringLiteral("wav/cd.wav"));
    if (overall())
        countQuestion();
    startCountdown();
    startButton()->setEnabled(false);
}

void TForm7::beginQuestion()
{
    Image4->canvas().fill(Qt::white);
    Image4->clearPicture();
    KeyPreview = true;
    ReactionHundredths = 0;
    Timer1.setInterval(kShortestWait + services().random(kWaitSpread));
    Timer1.setEnabled(true);
}

void TForm7::Timer1Timer()
{
    QPainter painter(&Image4->canvas());
    painter.drawImage(kPictureAt, art::reflexPicture(services().random(3)));
    painter.end();
    // Painted and handed to the window system now, not at the next frame;
    // the reaction clock starts as the paint is done, when the player can see
    // the picture. A screen that is not shown starts it here.
    bool painted = false;
    Image4->OnPainted = [this, &painted] {
        painted = true;
        m_reaction.start();
    };
    Image4->repaint();
    Image4->OnPainted = {};
    if (!painted)
        m_reaction.start();
    MMTimer1.setEnabled(true);
    Timer1.setEnabled(false);
}

void TForm7::MMTimer1Timer()
{
    ReactionHundredths = m_reaction.hundredths();
}

void TForm7::FormKeyPress(QChar& key)
{
    if (key != QChar(13))
        return;
    const std::int64_t pressedNs = keyDownNs();
    // A key that went down before the picture was on the screen, and reached
    // the screen only after it because the machine was busy, came too early.
    const bool falseStart =
        Timer1.Enabled() || (MMTimer1.Enabled() && pressedNs < m_reaction.startNs());
    const int reaction = falseStart ? 0 : m_reaction.hundredthsAt(pressedNs);
    MMTimer1.setEnabled(false);
    Timer1.setEnabled(false);
    // Disarmed before the record file is read: a file that fails to load must
    // not leave ENTER armed for a second answer.
    ReactionHundredths = 0;
    key = QChar(0);
    KeyPreview = false;
    startButton()->setEnabled(true);
    const QString text = falseStart ? tr("フライング") : store::formatTime(reaction);
    finishOrderB(text, QString(), QString(), {.falseStart = falseStart, .time = reaction});
}

void TForm7::FormCloseQuery()
{
    Timer1.setEnabled(false);
    stopCountdown();
    MMTimer1.setEnabled(false);
    Image4->clearPicture();
    KeyPreview = false;
    ReactionHundredths = 0;
    resetFrame(true);
}
