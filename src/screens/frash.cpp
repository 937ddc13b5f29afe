// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/frash.h"

#include "rules/store.h"
#include "widgets/ShadoLbl.h"

#include <algorithm>

using namespace qx;

namespace {
constexpr int kDigitsCentre = 300;
constexpr int kStoredDisplayTime = 2000;
constexpr int kPause = 500;
} // namespace

TForm4::TForm4(Game& game)
    : TestScreen(game, tr("N_メモリ"),
                 {.test = TestKind::NMemory,
                  .modeLabel = {456, 0},
                  .counterTop = 48,
                  .labelHeight = 35,
                  .stagePicture = {280, 0, 137, 33},
                  .startButton = {192, 416, 193, 49},
                  .backButton = {464, 424, 129, 49}}),
      Timer1(game.services.clock, game.dispatcher, kStoredDisplayTime),
      Timer2(game.services.clock, game.dispatcher, 1000),
      Timer3(game.services.clock, game.dispatcher, kPause)
{
    Label1 = addLabel(QPoint(88, 200), 80, false);
    Image3 = addBanner(tr("でてくる数字を記憶して下さい"), QRect(64, 352, 473, 41));
    Label2 = addLabel(QPoint(264, 176), 96, true, Qt::blue);
    Label2->hide();
    setCountdown(Timer2, [this](const QString& text) {
        Label2->setText(text);
        Label2->adjustSize();
    });
    rewindCountdown();

    Timer1.setOnTimer([this] { Timer1Timer(); });
    Timer3.setOnTimer([this] { Timer3Timer(); });
}

void TForm4::Image4Click()
{
    playSound(QStringLiteral("wav/cd.wav"));
    if (overall())
        countQuestion();
    startCountdown();
    Label2->show();
    startButton()->setEnabled(false);
}

void TForm4::beginQuestion()
{
    Label2->hide();
    Label2->clear();
    Timer3.setEnabled(true);
}

void TForm4::Timer3Timer()
{
    Timer3.setEnabled(false);
    const NMemoryQuestion question =
        nMemoryQuestion(overall(), session().level(), run().question());
    Timer1.setInterval(question.displayTime);
    Timer1.setEnabled(true);
    Label1->setText(MakeDigits(question.digits, services().random));
    Label1->adjustSize();
    Label1->move(kDigitsCentre - Label1->width() / 2, Label1->y());
    ShownDigits = Label1->text();
}

void TForm4::Timer1Timer()
{
    startButton()->setEnabled(true);
    Label1->clear();
    Timer1.setEnabled(false);
    const QString typed = askAnswer();
    const bool right = typed == ShownDigits;
    finishOrderA(tr("答え：%1").arg(ShownDigits), tr("入力した答え：%1").arg(typed),
                 {.right = right, .answer = ShownDigits, .typed = typed});
}

void TForm4::FormCloseQuery()
{
    Timer1.setEnabled(false);
    rewindCountdown();
    Timer3.setEnabled(false);
    Label1->clear();
    Label2->hide();
    resetFrame(false);
}
