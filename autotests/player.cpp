// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "player.h"

#include "screens/dialog.h"
#include "screens/lvmenu.h"
#include "screens/mainform.h"
#include "screens/Block.h"
#include "screens/LR.h"
#include "screens/frash.h"
#include "screens/panel.h"
#include "screens/picshow.h"
#include "screens/shape.h"
#include "screens/stop.h"
#include "widgets/ShadoLbl.h"

#include <QLineEdit>
#include <QTest>

using namespace qx;

namespace qxtest {

namespace {

constexpr int kLimitMs = 20000;

void enter(QWidget* form)
{
    QTest::keyClick(form, Qt::Key_Return);
}

// The panels in the order they lit, the first `wrong` of them missed.
void clickPanels(GameFixture& f, int wrong)
{
    TForm2& s = f.window<TForm2>();
    QVERIFY(f.clock.advanceUntil([&] { return probe(s).panels()[0].isEnabled(); }, kLimitMs));
    for (int i = 0; i < static_cast<int>(probe(s).litSequence().size()); ++i) {
        int tag = probe(s).litSequence()[static_cast<std::size_t>(i)];
        if (i < wrong)
            tag = tag % 25 + 1;
        probe(s).panels()[static_cast<std::size_t>(tag - 1)].mouseClick(Qt::LeftButton);
    }
}

// The L-R and N-memory answer box: the number shown, or what the answer types.
void typeAnswer(GameFixture& f, const Answer& answer, std::function<QString()> shown)
{
    f.dialogs.whileAsking = [&f, answer, shown] {
        const QString right = shown();
        f.dialogs.answers.push_back(answer.right             ? right
                                    : answer.typed.isEmpty() ? right.chopped(1)
                                                             : answer.typed);
    };
}

void stopAt(GameFixture& f, int late)
{
    TForm5& s = f.window<TForm5>();
    QVERIFY(f.clock.advanceUntil(
        [&] { return probe(s).clockRunning() && probe(s).clock() == probe(s).target() + late; },
        kLimitMs));
    enter(&s);
}

void react(GameFixture& f, int ms)
{
    TForm7& s = f.window<TForm7>();
    if (ms < 0) {
        QVERIFY(f.clock.advanceUntil([&] { return s.KeyPreview; }, kLimitMs));
    } else {
        QVERIFY(f.clock.advanceUntil([&] { return probe(s).reactionRunning(); }, kLimitMs));
        f.clock.advance(ms);
    }
    enter(&s);
}

void countBoxes(GameFixture& f, const Answer& answer)
{
    TForm8& s = f.window<TForm8>();
    QVERIFY(f.clock.advanceUntil([&] { return probe(s).answerBox().isEnabled(); }, kLimitMs));
    f.clock.advance(answer.ms);
    const int typed = probe(s).boxCount() + (answer.right ? 0 : 1);
    probe(s).answerBox().type(QString::number(typed));
    probe(s).answerBox().key(Qt::Key_Return);
}

void chooseShape(GameFixture& f, const Answer& answer)
{
    TForm6& s = f.window<TForm6>();
    f.clock.advance(answer.ms);
    const int right = probe(s).shapeOrder()[8];
    const int tag = answer.right ? right : right % 9 + 1;
    probe(s).answerButtons()[static_cast<std::size_t>(tag - 1)].mouseClick(Qt::LeftButton);
}

// Every stage's first question waits for its start button.
void start(GameFixture& f, int stage)
{
    TestScreen* screen = f.game->screenOf(kTests.at(static_cast<std::size_t>(stage - 1)));
    QCOMPARE(f.game->modal.top(), screen);
    QCOMPARE(frame(*screen).modeLabel().text(), TestScreen::tr("総合"));
    QVERIFY(frame(*screen).stagePicture().hasPicture());
    frame(*screen).startButton().click();
}

// Each stage plays its questions with the answers of the run below and adds
// the points they earn.
void playPanel(GameFixture& f, int& points)
{
    start(f, 1);
    for (int q = 0; q < 5; ++q) {
        clickPanels(f, 0);
        dismissDialog(f);
    }
    points += 80 + 90 + 100 + 120 + 130;
}

void playLR(GameFixture& f, int& points)
{
    typeAnswer(f, {}, [&f] { return QString::number(probe(f.window<TForm3>()).shownNumber()); });
    start(f, 2);
    for (int q = 0; q < 5; ++q)
        dismissDialog(f);
    f.dialogs.whileAsking = {};
    points += 70 + 80 + 100 + 110 + 120;
}

void playNMemory(GameFixture& f, int& points)
{
    // The fourth answer drops its last digit: wrong, 6 of 7 positions.
    f.dialogs.whileAsking = [&f] {
        const QString digits = probe(f.window<TForm4>()).shownDigits();
        f.dialogs.answers.push_back(f.game->session.run().question() == 4 ? digits.chopped(1)
                                                                          : digits);
    };
    start(f, 3);
    for (int q = 0; q < 5; ++q)
        dismissDialog(f);
    f.dialogs.whileAsking = {};
    points += 80 + 100 + 110 + 60 + 120;
}

void playStop(GameFixture& f, int& points)
{
    start(f, 4);
    // Exact stops, but the third is 5 hundredths late.
    for (int q = 1; q <= 5; ++q) {
        stopAt(f, q == 3 ? 5 : 0);
        if (q < 5)
            QVERIFY(f.clock.advanceUntil([&] { return f.game->session.run().question() == q + 1; },
                                         kLimitMs));
    }
    QVERIFY(
        f.clock.advanceUntil([&] { return f.game->modal.top() == &f.window<TForm7>(); }, kLimitMs));
    points += 300 + 300 + 95 + 300 + 300;
}

void playReflex(GameFixture& f, int& points)
{
    start(f, 5);
    // The second is a false start during the wait.
    for (int q = 1; q <= 5; ++q) {
        react(f, q == 2 ? -1 : 280);
        dismissDialog(f);
    }
    points += 4 * (50 - 28);
}

void playBox(GameFixture& f, int& points)
{
    start(f, 6);
    for (int q = 1; q <= 7; ++q) {
        countBoxes(f, after(2500, q != 4));
        dismissDialog(f);
    }
    points += 6 * (400 - 250);
}

void playShape(GameFixture& f, int& points)
{
    start(f, 7);
    for (int q = 1; q <= 5; ++q) {
        chooseShape(f, after(10000, q != 5)); // the stopwatch shows 00:10:0
        if (q < 5)
            dismissDialog(f);
    }
    points += 4 * 99;
}

} // namespace

Answer wrongAnswer(const QString& typed)
{
    Answer answer;
    answer.right = false;
    answer.typed = typed;
    return answer;
}

Answer stoppedAt(int late)
{
    Answer answer;
    answer.late = late;
    return answer;
}

Answer after(int ms, bool right)
{
    Answer answer;
    answer.right = right;
    answer.ms = ms;
    return answer;
}

void dismissDialog(GameFixture& f)
{
    QVERIFY(f.clock.advanceUntil([&] { return f.window<TForm10>().isVisible(); }, kLimitMs));
    enter(&f.window<TForm10>());
}

void playSingle(GameFixture& f, TestKind kind, int level, const QList<Answer>& answers)
{
    if (QTest::currentTestFailed())
        return;
    const TestDef& test = testDef(kind);
    probe(f.window<TForm1>()).testButton(kind).click();
    if (test.hasLevels)
        probe(f.window<TForm9>()).levelButton(level).click();
    TestScreen& screen = *f.game->screenOf(test);
    QCOMPARE(f.game->modal.top(), &screen);

    for (const Answer& answer : answers) {
        if (kind == TestKind::LR)
            typeAnswer(f, answer,
                       [&f] { return QString::number(probe(f.window<TForm3>()).shownNumber()); });
        else if (kind == TestKind::NMemory)
            typeAnswer(f, answer, [&f] { return probe(f.window<TForm4>()).shownDigits(); });
        // The stop screen's start comes back after its reveal.
        QVERIFY(f.clock.advanceUntil([&] { return frame(screen).startButton().isEnabled(); },
                                     kLimitMs));
        frame(screen).startButton().click();
        switch (kind) {
        case TestKind::Panel:
            clickPanels(f, answer.right ? 0 : 1);
            break;
        case TestKind::Stop:
            stopAt(f, answer.late);
            break;
        case TestKind::Reflex:
            react(f, answer.ms);
            break;
        case TestKind::Box:
            countBoxes(f, answer);
            break;
        case TestKind::Shape:
            chooseShape(f, answer);
            break;
        case TestKind::LR:
        case TestKind::NMemory:
            break;
        }
        if (!test.ownHandOff)
            dismissDialog(f);
        f.dialogs.whileAsking = {};
        if (QTest::currentTestFailed())
            return;
    }
    // Leaving in the middle of the stop screen's reveal would lose its line.
    QVERIFY(
        f.clock.advanceUntil([&] { return frame(screen).startButton().isEnabled(); }, kLimitMs));
    frame(screen).backButton().click();
    if (test.hasLevels)
        probe(f.window<TForm9>()).backButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
}

int playStages(GameFixture& f, int lastStage)
{
    using Play = void (*)(GameFixture&, int&);
    const Play stages[] = {playPanel,  playLR,  playNMemory, playStop,
                           playReflex, playBox, playShape};
    int points = 0;
    for (int stage = 1; stage <= lastStage && !QTest::currentTestFailed(); ++stage)
        stages[stage - 1](f, points);
    return points;
}

} // namespace qxtest
