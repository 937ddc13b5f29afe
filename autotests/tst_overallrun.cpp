// The overall run: its steps as the run object decides them, without
// windows; the whole run of 37 questions through the seven stages on the
// virtual clock with scripted answers, ending on the score screen; and a run
// abandoned at any stage.

#include "app/dialog.h"
#include "app/mainform.h"
#include "app/overallrun.h"
#include "app/tensuushow.h"
#include "platform/textcodec.h"
#include "tests/Block.h"
#include "tests/LR.h"
#include "tests/frash.h"
#include "tests/panel.h"
#include "tests/picshow.h"
#include "tests/shape.h"
#include "tests/stop.h"
#include "testsupport.h"
#include "users/store.h"
#include "widgets/ShadoLbl.h"

#include <QLineEdit>
#include <QTest>

using namespace qx;

namespace {

constexpr int kLimitMs = 20000;

void enter(QWidget* form)
{
    QTest::keyClick(form, Qt::Key_Return);
}

// ENTER on the stage dialog once it shows a question's result.
void dismissDialog(qxtest::GameFixture& f)
{
    QVERIFY(f.clock.advanceUntil([&] { return f.game->Form10->isVisible(); }, kLimitMs));
    enter(f.game->Form10.get());
}

// Every stage's first question waits for its start button.
void start(qxtest::GameFixture& f, int stage)
{
    TestScreen* screen = f.game->screenOf(qx::kStages.at(static_cast<std::size_t>(stage - 1)));
    QCOMPARE(f.game->modal.top(), screen);
    QCOMPARE(frame(*screen).modeLabel()->Caption(), QStringLiteral("総合"));
    QVERIFY(frame(*screen).stagePicture()->hasPicture());
    frame(*screen).startButton()->click();
}

// Each stage plays its questions with the answers of the run below and
// returns the points they earn.
void playPanel(qxtest::GameFixture& f, int& points)
{
    start(f, 1);
    TForm2& s = *f.game->Form2;
    for (int q = 0; q < 5; ++q) {
        QVERIFY2(f.clock.advanceUntil([&] { return probe(s).panels()[0]->isEnabled(); }, kLimitMs),
                 "");
        for (int i = 0; i < probe(s).SequenceLength(); ++i)
            QTest::mouseClick(probe(s).panels()[static_cast<std::size_t>(
                                  probe(s).LitSequence()[static_cast<std::size_t>(i)] - 1)],
                              Qt::LeftButton);
        dismissDialog(f);
    }
    points += 80 + 90 + 100 + 120 + 130;
}

void playLR(qxtest::GameFixture& f, int& points)
{
    f.dialogs.whileAsking = [&f] {
        f.dialogs.answers.push_back(QString::number(probe(*f.game->Form3).ShownNumber()));
    };
    start(f, 2);
    for (int q = 0; q < 5; ++q)
        dismissDialog(f);
    f.dialogs.whileAsking = {};
    points += 70 + 80 + 100 + 110 + 120;
}

void playNMemory(qxtest::GameFixture& f, int& points)
{
    // The fourth answer drops its last digit: wrong, 6 of 7 positions.
    f.dialogs.whileAsking = [&f] {
        const QString digits = probe(*f.game->Form4).ShownDigits();
        f.dialogs.answers.push_back(f.game->Form1->run().question() == 4 ? digits.chopped(1)
                                                                         : digits);
    };
    start(f, 3);
    for (int q = 0; q < 5; ++q)
        dismissDialog(f);
    f.dialogs.whileAsking = {};
    points += 80 + 100 + 110 + 60 + 120;
}

void playStop(qxtest::GameFixture& f, int& points)
{
    start(f, 4);
    TForm5& s = *f.game->Form5;
    // Exact stops, but the third is 5 hundredths late.
    for (int q = 1; q <= 5; ++q) {
        const int late = q == 3 ? 5 : 0;
        QVERIFY(f.clock.advanceUntil(
            [&] {
                return probe(s).MMTimer1().Enabled() &&
                       probe(s).ClockHundredths() == probe(s).TargetHundredths() + late;
            },
            kLimitMs));
        enter(&s);
        if (q < 5)
            QVERIFY(f.clock.advanceUntil([&] { return f.game->Form1->run().question() == q + 1; },
                                         kLimitMs));
    }
    QVERIFY(
        f.clock.advanceUntil([&] { return f.game->modal.top() == f.game->Form7.get(); }, kLimitMs));
    points += 300 + 300 + 95 + 300 + 300;
}

void playReflex(qxtest::GameFixture& f, int& points)
{
    start(f, 5);
    TForm7& s = *f.game->Form7;
    for (int q = 1; q <= 5; ++q) {
        if (q == 2) {
            // A false start during the wait.
            QVERIFY(f.clock.advanceUntil([&] { return s.KeyPreview; }, kLimitMs));
            enter(&s);
        } else {
            QVERIFY(f.clock.advanceUntil([&] { return probe(s).MMTimer1().Enabled(); }, kLimitMs));
            f.clock.advance(280);
            enter(&s);
        }
        dismissDialog(f);
    }
    points += 4 * (50 - 28);
}

void playBox(qxtest::GameFixture& f, int& points)
{
    start(f, 6);
    TForm8& s = *f.game->Form8;
    for (int q = 1; q <= 7; ++q) {
        QVERIFY(probe(s).Edit1()->isEnabled());
        f.clock.advance(2500);
        const int typed = q == 4 ? probe(s).BoxCount() + 1 : probe(s).BoxCount();
        QTest::keyClicks(probe(s).Edit1(), QString::number(typed));
        QTest::keyClick(probe(s).Edit1(), Qt::Key_Return);
        dismissDialog(f);
    }
    points += 6 * (400 - 250);
}

void playShape(qxtest::GameFixture& f, int& points)
{
    start(f, 7);
    TForm6& s = *f.game->Form6;
    for (int q = 1; q <= 5; ++q) {
        f.clock.advance(10000); // the stopwatch shows 00:10:0
        const int right = probe(s).ShapeOrder()[8];
        const int tag = q == 5 ? right % 9 + 1 : right;
        QTest::mouseClick(probe(s).answerButtons()[static_cast<std::size_t>(tag - 1)],
                          Qt::LeftButton);
        if (q < 5)
            dismissDialog(f);
    }
    points += 4 * 99;
}

// Plays stages 1..lastStage of a run started from the menu; returns the points.
int playStages(qxtest::GameFixture& f, int lastStage)
{
    using Play = void (*)(qxtest::GameFixture&, int&);
    const Play stages[] = {playPanel,  playLR,  playNMemory, playStop,
                           playReflex, playBox, playShape};
    int points = 0;
    for (int stage = 1; stage <= lastStage && !QTest::currentTestFailed(); ++stage)
        stages[stage - 1](f, points);
    return points;
}

// After a run, every screen is back at rest and no timer is left running.
void verifyEverythingIdle(qxtest::GameFixture& f)
{
    QCOMPARE(f.game->modal.depth(), 0);
    QCOMPARE(f.game->Form1->OverallMode(), 0);
    QCOMPARE(f.game->Form1->TotalScore(), 0);
    for (int stage = 1; stage <= 7; ++stage) {
        TestScreen* screen = f.game->screenOf(qx::kStages.at(static_cast<std::size_t>(stage - 1)));
        QVERIFY(frame(*screen).startButton()->isEnabled());
        QVERIFY(frame(*screen).counterLabel()->Caption().isEmpty());
        QVERIFY(!frame(*screen).stagePicture()->hasPicture());
        QVERIFY(!screen->isVisible());
    }
    QCOMPARE(f.clock.activeTimers(), 0);
    QVERIFY(!f.game->Form10->isVisible());
}

} // namespace

class OverallRunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runStepsThroughTheStagesInTheirOrder();
    void strayQuestionsCannotHoldTheRunInAStage();
    void endedRunForgetsItsStageAndPoints();
    void wholeRunScoresRanksAndLeavesTheRecordsAlone();
    void abandonedAtAnyStageUnwindsToTheMenu_data();
    void abandonedAtAnyStageUnwindsToTheMenu();
};

void OverallRunTest::wholeRunScoresRanksAndLeavesTheRecordsAlone()
{
    qxtest::GameFixture f(2026);
    f.selectUser(QStringLiteral("走者"));
    // Each record file holds a line of its own, which the run must not touch.
    QHash<QString, QByteArray> before;
    for (const QString& file : store::testFileNames()) {
        const QString path = store::resultPath(QStringLiteral("走者"), file);
        qxtest::writeBytes(
            path, cp932::encode(QStringLiteral("2026/12/01,") + file + QStringLiteral("\r\n")));
        before.insert(path, qxtest::readBytes(path));
    }

    probe(*f.game->Form1).Image24()->click();
    const int expected = playStages(f, 7);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(expected, 4149);
    QCOMPARE(f.game->Form1->TotalScore(), expected);

    // The last ENTER opens the score screen, which ranks the run first.
    dismissDialog(f);
    TForm15& score = *f.game->Form15;
    QCOMPARE(f.game->modal.top(), &score);
    QCOMPARE(probe(score).ShadowLabel2()->Caption(), QStringLiteral("点数：4149"));
    QCOMPARE(probe(score).ShadowLabel4()->Caption(), QStringLiteral("今回の順位　1位"));
    const store::Lines ranking = store::loadLines(store::rankingFile());
    QCOMPARE(ranking.size(), 10);
    QCOMPARE(cp932::decode(ranking.at(0)), QStringLiteral("2026/12/08,4149,走者"));
    QCOMPARE(cp932::decode(ranking.at(1)), QStringLiteral("2026/12/01,1500,クイラ"));
    QVERIFY(f.sound.played.contains(QStringLiteral("wav/up.wav")));

    probe(score).Image3()->click();
    verifyEverythingIdle(f);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QCOMPARE(qxtest::readBytes(it.key()), it.value());
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join(QLatin1Char('\n'))));
}

void OverallRunTest::abandonedAtAnyStageUnwindsToTheMenu_data()
{
    QTest::addColumn<int>("stage");
    for (int stage = 1; stage <= 7; ++stage)
        QTest::newRow(qPrintable(QStringLiteral("stage %1").arg(stage))) << stage;
}

void OverallRunTest::abandonedAtAnyStageUnwindsToTheMenu()
{
    QFETCH(int, stage);
    qxtest::GameFixture f(5);
    f.selectUser(QStringLiteral("u"));
    const QByteArray ranking = qxtest::readBytes(store::rankingFile());
    probe(*f.game->Form1).Image24()->click();
    playStages(f, stage - 1);
    if (QTest::currentTestFailed())
        return;
    // Leave in the middle of the stage's first question.
    TestScreen* screen = f.game->screenOf(qx::kStages.at(static_cast<std::size_t>(stage - 1)));
    QCOMPARE(f.game->modal.top(), screen);
    frame(*screen).startButton()->click();
    f.clock.advance(1500);
    frame(*screen).backButton()->click();
    verifyEverythingIdle(f);
    QCOMPARE(qxtest::readBytes(store::rankingFile()), ranking);
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join(QLatin1Char('\n'))));

    // The next run starts afresh.
    probe(*f.game->Form1).Image24()->click();
    QCOMPARE(f.game->modal.top(), f.game->Form2.get());
    QCOMPARE(f.game->Form1->TotalScore(), 0);
}

// Every question's step, as the screens would ask for it: questions within
// a stage, the next stage after its last one, the score after the shape stage.
void OverallRunTest::runStepsThroughTheStagesInTheirOrder()
{
    OverallRun run;
    QCOMPARE(run.afterQuestion(), OverallRun::Next::None);
    run.begin();
    QStringList order;
    int questions = 0;
    OverallRun::Next next = OverallRun::Next::Stage;
    while (next == OverallRun::Next::Stage) {
        order.append(QLatin1String(run.stage()->testId));
        const int count = run.stage()->questions;
        for (int q = 1; q <= count; ++q) {
            QCOMPARE(run.countQuestion(), q);
            run.addPoints(q);
            ++questions;
            next = run.afterQuestion();
            if (q < count)
                QCOMPARE(next, OverallRun::Next::Question);
        }
    }
    QCOMPARE(next, OverallRun::Next::Score);
    QCOMPARE(order, (QStringList{QStringLiteral("panel"), QStringLiteral("L-R"),
                                 QStringLiteral("N_memory"), QStringLiteral("stop"),
                                 QStringLiteral("Reflex"), QStringLiteral("box"),
                                 QStringLiteral("shape")}));
    QCOMPARE(questions, 37);
    // The points stay for the score screen: 6 stages of 1..5 and one of 1..7.
    QCOMPARE(run.score(), 6 * 15 + 28);
    QCOMPARE(run.mode(), 1);
}

void OverallRunTest::strayQuestionsCannotHoldTheRunInAStage()
{
    OverallRun run;
    run.begin();
    for (int q = 0; q < 9; ++q)
        run.countQuestion();
    QCOMPARE(run.afterQuestion(), OverallRun::Next::Stage);
    QCOMPARE(QLatin1String(run.stage()->testId), QLatin1String("L-R"));
    QCOMPARE(run.question(), 0);
}

void OverallRunTest::endedRunForgetsItsStageAndPoints()
{
    OverallRun run;
    run.begin();
    run.countQuestion();
    run.addPoints(-40);
    run.end();
    QCOMPARE(run.mode(), 0);
    QCOMPARE(run.score(), 0);
    QCOMPARE(run.question(), 0);
    QCOMPARE(run.stage(), nullptr);
    QCOMPARE(run.countQuestion(), 0);
    QCOMPARE(run.afterQuestion(), OverallRun::Next::None);
    // A new run starts from the first stage with nothing carried over.
    run.begin();
    QCOMPARE(run.stage(), &kStages.front());
    QCOMPARE(run.score(), 0);
}

QTEST_MAIN(OverallRunTest)
#include "tst_overallrun.moc"
