// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/Block.h"

#include "platform/dispatch.h"
#include "platform/timerperiod.h"
#include "rules/store.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

using namespace qx;

TForm8::TForm8(Game& game)
    : TestScreen(game, tr("ボックス"),
                 {TestKind::Box,
                  {456, 0},
                  40,
                  35,
                  {288, 0, 137, 33},
                  {40, 410, 193, 49},
                  {448, 413, 137, 49},
                  {0, 0, 273, 57}}),
      Timer1(game.services.clock, game.dispatcher, 10), m_elapsed(game.services.clock)
{
    beginTimerPeriod();
    addBanner(tr("箱の数を数えてください"), QRect(80, 344, 473, 49));
    for (std::size_t i = 0; i < kBoxPlaces.size(); ++i) {
        auto* box = new Image(this, QRect(kBoxPlaces[i].position, art::kCubeSize));
        box->setPicture(art::cube);
        box->Tag = kBoxPlaces[i].tag;
        box->hide();
        boxes[i] = box;
    }
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(320, 416, 57, 43);
    Edit1->setFont(gameFont(35, true));
    Edit1->setEnabled(false);
    Edit1->installEventFilter(this);
    Edit1->setAccessibleName(tr("箱の数"));
    Label1 = addLabel(QPoint(384, 418), 37, true);
    Label1->setText(tr("個"));
    Label1->adjustSize();

    Timer1.setOnTimer([this] { Timer1Timer(); });
}

TForm8::~TForm8()
{
    endTimerPeriod();
}

bool TForm8::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != Edit1 || event->type() != QEvent::KeyPress)
        return TestScreen::eventFilter(watched, event);
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (keyEvent->key() != Qt::Key_Return && keyEvent->key() != Qt::Key_Enter)
        return false;
    QChar key(13);
    dispatchKey(keyEvent, [this, &key] { Edit1KeyPress(key); });
    return key.isNull();
}

void TForm8::hideBoxes()
{
    for (Image* box : boxes)
        box->hide();
}

void TForm8::Image10Click()
{
    if (overall())
        countQuestion();
    Edit1->setEnabled(true);
    m_elapsed.start();
    Timer1.setEnabled(true);
    Edit1->clear();
    Edit1->setFocus();
    BoxCount = 0;
    ElapsedHundredths = 0;
    hideBoxes();
    const BoxSet visible = drawBoxHeap(services().random);
    for (Image* box : boxes)
        box->setVisible(visible.test(static_cast<std::size_t>(box->Tag)));
    BoxCount = static_cast<int>(visible.count());
    startButton()->setEnabled(false);
}

void TForm8::Timer1Timer()
{
    ElapsedHundredths = m_elapsed.hundredths();
}

void TForm8::Edit1KeyPress(QChar& key)
{
    if (key != QChar(13))
        return;
    Timer1.setEnabled(false);
    ElapsedHundredths = m_elapsed.hundredthsAt(keyDownNs());
    startButton()->setEnabled(true);
    const QString typed = store::typedLine(Edit1->text());
    const int count = BoxCount;
    const bool right = boxAnswer(typed) == count;
    const QString time = store::formatTime(ElapsedHundredths);
    // The field is done with before the record file is read, so a file that
    // fails to load leaves it cleared and disabled all the same.
    BoxCount = 0;
    Edit1->clear();
    Edit1->setEnabled(false);
    key = QChar(0);
    finishOrderB(right ? tr("正解") : tr("不正解"), tr("時間：%1").arg(time),
                 tr("正解個数：%1  入力数%2").arg(QString::number(count), typed),
                 {.right = right, .time = ElapsedHundredths, .count = count, .typed = typed});
}

void TForm8::FormCloseQuery()
{
    BoxCount = 0;
    Timer1.setEnabled(false);
    ElapsedHundredths = 0;
    Edit1->clear();
    Edit1->setEnabled(false);
    hideBoxes();
    resetFrame(true);
}
