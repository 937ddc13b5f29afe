// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The overall run: its steps as the run object decides them, without
// windows; the whole run of 37 questions through the seven stages on the
// virtual clock with scripted answers, ending on the score screen; and a run
// abandoned at any stage.

#include "screens/dialog.h"
#include "screens/mainform.h"
#include "rules/overallrun.h"
#include "screens/tensuushow.h"
#include "rules/textcodec.h"
#include "screens/Block.h"
#include "screens/LR.h"
#include "screens/frash.h"
#include "screens/panel.h"
#include "screens/picshow.h"
#include "screens/shape.h"
#include "screens/stop.h"
#include "player.h"
#include "testsupport.h"
#include "rules/store.h"
#include "widgets/ShadoLbl.h"

#include <QLineEdit>
#include <QTest>

using namespace qx;

Q_DECLARE_METATYPE(qx::TestKind)
Q_DECLARE_METATYPE(qx::Record)

namespace {

using qxtest::dismissDialog;
using qxtest::playStages;

// After a run, every screen is back at rest and no timer is left running.
void verifyEverythingIdle(qxtest::GameFixture& f)
{
    QCOMPARE(f.game->modal.depth(), 0);
    QCOMPARE(f.window<TForm1>().OverallMode(), 0);
    QCOMPARE(f.window<TForm1>().TotalScore(), 0);
    for (int stage = 1; stage <= 7; ++stage) {
        TestScreen* screen = f.game->screenOf(qx::kTests.at(static_cast<std::size_t>(stage - 1)));
        QVERIFY(frame(*screen).startButton().isEnabled());
        QVERIFY(frame(*screen).counterLabel().text().isEmpty());
        QVERIFY(!frame(*screen).stagePicture().hasPicture());
        QVERIFY(!screen->isVisible());
    }
    QCOMPARE(f.clock.activeTimers(), 0);
    QVERIFY(!f.window<TForm10>().isVisible());
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
    void questionPointsByTest_data();
    void questionPointsByTest();
};

void OverallRunTest::questionPointsByTest_data()
{
    QTest::addColumn<TestKind>("kind");
    QTest::addColumn<Record>("record");
    QTest::addColumn<int>("points");
    QTest::newRow("panel, 3 of 5 in place") << TestKind::Panel << Record{.matches = 3} << 30;
    QTest::newRow("panel, right") << TestKind::Panel << Record{.right = true, .matches = 5} << 100;
    QTest::newRow("L-R, right") << TestKind::LR
                                << Record{.right = true, .answer = "74", .typed = "74"} << 70;
    // Only the positions count: the longer answer is wrong, but scores both.
    QTest::newRow("L-R, one digit too many")
        << TestKind::LR << Record{.answer = "74", .typed = "745"} << 20;
    QTest::newRow("N-memory, wrong last digit")
        << TestKind::NMemory << Record{.answer = "1234", .typed = "1235"} << 30;
    QTest::newRow("stop, exact") << TestKind::Stop << Record{.time = 400, .target = 400} << 300;
    QTest::newRow("stop, late") << TestKind::Stop << Record{.time = 423, .target = 300} << -23;
    QTest::newRow("Reflex, 0.28 s") << TestKind::Reflex << Record{.time = 28} << 22;
    QTest::newRow("Reflex, slow") << TestKind::Reflex << Record{.time = 75} << -25;
    QTest::newRow("Reflex, false start")
        << TestKind::Reflex << Record{.falseStart = true, .time = 0} << 0;
    QTest::newRow("box, right") << TestKind::Box << Record{.right = true, .time = 250} << 150;
    QTest::newRow("box, wrong") << TestKind::Box << Record{.time = 250} << 0;
    QTest::newRow("shape, right at 00:10:0")
        << TestKind::Shape << Record{.right = true, .time = 100} << 99;
    QTest::newRow("shape, wrong") << TestKind::Shape << Record{.time = 100} << 0;
}

// Each test's points, as the run adds them for a finished question.
void OverallRunTest::questionPointsByTest()
{
    QFETCH(TestKind, kind);
    QFETCH(Record, record);
    QFETCH(int, points);
    QCOMPARE(questionPoints(testDef(kind), record), points);
}

void OverallRunTest::wholeRunScoresRanksAndLeavesTheRecordsAlone()
{
    qxtest::GameFixture f(2026);
    f.selectUser(QStringLiteral("走者"));
    // Each record file holds a line of its own, which the run must not touch.
    QHash<QString, QByteArray> before;
    for (const QString& file : recordFiles()) {
        const QString path = qxtest::records().resultPath(QStringLiteral("走者"), file);
        qxtest::writeBytes(
            path, cp932::encode(QStringLiteral("2026/12/01,") + file + QStringLiteral("\r\n")));
        before.insert(path, qxtest::readBytes(path));
    }

    probe(f.window<TForm1>()).overallButton().click();
    const int expected = playStages(f, 7);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(expected, 4149);
    QCOMPARE(f.window<TForm1>().TotalScore(), expected);

    // The last ENTER opens the score screen, which ranks the run first.
    dismissDialog(f);
    TForm15& score = f.window<TForm15>();
    QCOMPARE(f.game->modal.top(), &score);
    QCOMPARE(probe(score).scoreLabel().text(), QStringLiteral("点数：4149"));
    QCOMPARE(probe(score).rankLabel().text(), QStringLiteral("今回の順位　1位"));
    const store::Lines ranking = store::loadLines(qxtest::records().rankingFile());
    QCOMPARE(ranking.size(), 10);
    QCOMPARE(cp932::decode(ranking.at(0)), QStringLiteral("2026/12/08,4149,走者"));
    QCOMPARE(cp932::decode(ranking.at(1)), QStringLiteral("2026/12/01,1500,クイラ"));
    QVERIFY(f.sound.played.contains(QStringLiteral("wav/up.wav")));

    probe(score).backButton().click();
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
    const QByteArray ranking = qxtest::readBytes(qxtest::records().rankingFile());
    probe(f.window<TForm1>()).overallButton().click();
    playStages(f, stage - 1);
    if (QTest::currentTestFailed())
        return;
    // Leave in the middle of the stage's first question.
    TestScreen* screen = f.game->screenOf(qx::kTests.at(static_cast<std::size_t>(stage - 1)));
    QCOMPARE(f.game->modal.top(), screen);
    frame(*screen).startButton().click();
    f.clock.advance(1500);
    frame(*screen).backButton().click();
    verifyEverythingIdle(f);
    QCOMPARE(qxtest::readBytes(qxtest::records().rankingFile()), ranking);
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join(QLatin1Char('\n'))));

    // The next run starts afresh.
    probe(f.window<TForm1>()).overallButton().click();
    QCOMPARE(f.game->modal.top(), &f.window<TForm2>());
    QCOMPARE(f.window<TForm1>().TotalScore(), 0);
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
    QCOMPARE(run.stage(), &kTests.front());
    QCOMPARE(run.score(), 0);
}

QTEST_MAIN(OverallRunTest)
#include "tst_overallrun.moc"
