// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The stop test: its rules, and the screen in single play and as the fourth
// stage of the overall run, played on the virtual clock with real ENTER keys.

#include "screens/dialog.h"
#include "screens/lvmenu.h"
#include "screens/mainform.h"
#include "platform/controls.h"
#include "rules/textcodec.h"
#include "screens/picshow.h"
#include "screens/stop.h"
#include "testsupport.h"
#include "rules/store.h"
#include "widgets/ShadoLbl.h"

#include <QFile>
#include <QImage>

#include <cstdlib>
#include <QTest>

using namespace qx;

Q_DECLARE_METATYPE(std::optional<qx::StopQuestion>)

namespace {

TForm5& openScreen(qxtest::GameFixture& f, int overallMode, int level = 1)
{
    f.selectUser(QStringLiteral("u"));
    if (overallMode != 0) {
        f.enterStage("stop");
        f.window<TForm5>().ShowModal();
    } else {
        f.openAlone(TestKind::Stop, level);
    }
    return f.window<TForm5>();
}

void pressEnter(TForm5& screen)
{
    QTest::keyClick(&screen, Qt::Key_Return);
}

// Waits for the clock to run and stops it after `ticks` hundredths.
void stopAfter(qxtest::GameFixture& f, TForm5& screen, int ticks)
{
    QVERIFY(f.clock.advanceUntil([&] { return screen.KeyPreview; }, 5000));
    f.clock.advance(10 * ticks);
    QCOMPARE(probe(screen).clock(), ticks);
    pressEnter(screen);
}

// The rows of the clock area that hold ink (dark pixels) in a picture of it.
std::pair<int, int> inkRows(const QImage& picture)
{
    int first = -1;
    int last = -1;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (qGray(picture.pixel(x, y)) < 128) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

class StopTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void questionTable_data();
    void questionTable();
    void points_data();
    void points();
    void texts_data();
    void texts();
    void singlePlayWritesTheStopLine();
    void revealEndsOnceTheBlindPassesTheDigits_data();
    void revealEndsOnceTheBlindPassesTheDigits();
    void overallStageScoresWritesNothingAndOpensReflex();
    void enterCountsOnceAndOnlyWhileArmed();
    void leavingMidQuestionStopsTimersAndResets_data();
    void leavingMidQuestionStopsTimersAndResets();
    void unreadableRecordFileEndsTheRevealWithOneReport();
    void overallStageGoesOnWithoutItsRecordFile();
    void blindHidesWhatItsLevelSays_data();
    void blindHidesWhatItsLevelSays();
    void restingClockSitsWhereTheRunningClockDoes();
};

void StopTest::questionTable_data()
{
    QTest::addColumn<bool>("overall");
    QTest::addColumn<int>("n");
    QTest::addColumn<std::optional<StopQuestion>>("expected");
    using Q = std::optional<StopQuestion>;
    QTest::newRow("level 1") << false << 1 << Q{{140, 300}};
    QTest::newRow("level 2") << false << 2 << Q{{132, 400}};
    QTest::newRow("level 3") << false << 3 << Q{{124, 500}};
    QTest::newRow("level 9") << false << 9 << Q{{76, 300}};
    QTest::newRow("level 10") << false << 10 << Q{{68, 600}};
    QTest::newRow("level 0") << false << 0 << Q{};
    QTest::newRow("level 11") << false << 11 << Q{};
    QTest::newRow("question 1") << true << 1 << Q{{132, 400}};
    QTest::newRow("question 2") << true << 2 << Q{{116, 300}};
    QTest::newRow("question 3") << true << 3 << Q{{100, 500}};
    QTest::newRow("question 4") << true << 4 << Q{{76, 300}};
    QTest::newRow("question 5") << true << 5 << Q{{68, 500}};
    QTest::newRow("question 6") << true << 6 << Q{};
}

void StopTest::questionTable()
{
    QFETCH(bool, overall);
    QFETCH(int, n);
    QFETCH(std::optional<StopQuestion>, expected);
    const std::optional<StopQuestion> q = stopQuestion(overall, overall ? 7 : n, overall ? n : 0);
    QCOMPARE(q.has_value(), expected.has_value());
    if (!q)
        return;
    QCOMPARE(q->blindTop, expected->blindTop);
    QCOMPARE(q->target, expected->target);
}

void StopTest::points_data()
{
    QTest::addColumn<int>("clock");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("points");
    QTest::newRow("exact") << 400 << 400 << 300;
    QTest::newRow("1.23 s late") << 423 << 300 << -23;
    QTest::newRow("0.05 s early") << 495 << 500 << 95;
    QTest::newRow("one second off") << 600 << 500 << 0;
    QTest::newRow("before the first tick") << 0 << 500 << -400;
}

void StopTest::points()
{
    QFETCH(int, clock);
    QFETCH(int, target);
    QFETCH(int, points);
    QCOMPARE(stopPoints(clock, target), points);
}

// The examples not already covered with the record store's own forms.
void StopTest::texts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("clock 45") << store::formatClock(45) << "00:45";
    QTest::newRow("difference +45") << store::formatDifference(45) << "+00:45";
    QTest::newRow("difference +123") << store::formatDifference(123) << "+01:23";
    QTest::newRow("difference -5") << store::formatDifference(-5) << "-00:05";
    QTest::newRow("difference -600") << store::formatDifference(-600) << "-06:00";
    QTest::newRow("difference 100 s") << store::formatDifference(10000) << "+100:00";
    QTest::newRow("target 400") << store::targetText(400) << "4:00";
}

void StopTest::texts()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void StopTest::singlePlayWritesTheStopLine()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    qxtest::writeBytes(QStringLiteral("Rec/u/stop.dat"),
                       cp932::encode(QStringLiteral("2026/12/01,レベル1,3:00,2:87,-00:13\r\n")));
    auto& menu = f.window<TForm1>();
    probe(menu).testButton(TestKind::Stop).click();
    probe(f.window<TForm9>()).levelButton(1).click();
    TForm5& screen = f.window<TForm5>();
    QCOMPARE(f.game->modal.top(), &screen);
    QCOMPARE(frame(screen).modeLabel().text(), QStringLiteral("レベル1"));
    QCOMPARE(probe(screen).targetLabel().text(), QStringLiteral("3:00"));
    QCOMPARE(probe(screen).blind().y(), 140);
    QVERIFY(!screen.KeyPreview);

    // The clock runs at once, without countdown or sound.
    frame(screen).startButton().click();
    QVERIFY(screen.KeyPreview);
    QVERIFY(!frame(screen).startButton().isEnabled());
    QVERIFY(probe(screen).countdownBox().isHidden());
    f.clock.advance(3050);
    QCOMPARE(probe(screen).clock(), 305);
    pressEnter(screen);
    QVERIFY(!screen.KeyPreview);
    QCOMPARE(probe(screen).differenceLabel().text(), QStringLiteral("+00:05"));
    QCOMPARE(probe(screen).differenceLabel().color(), QColor(Qt::red));
    f.clock.advance(1000);
    QCOMPARE(probe(screen).clock(), 305);
    QVERIFY(frame(screen).startButton().isEnabled());
    // The screen shows 03:05; the file gets the target's form.
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/u/stop.dat")),
             cp932::encode(QStringLiteral("2026/12/08,レベル1,3:00,3:05,+00:05\r\n"
                                          "2026/12/01,レベル1,3:00,2:87,-00:13\r\n")));

    // An exact stop reads 00:00 in blue.
    frame(screen).startButton().click();
    QCOMPARE(probe(screen).blind().y(), 140);
    QVERIFY(probe(screen).differenceLabel().text().isEmpty());
    f.clock.advance(3000);
    pressEnter(screen);
    QCOMPARE(probe(screen).differenceLabel().text(), QStringLiteral("00:00"));
    QCOMPARE(probe(screen).differenceLabel().color(), QColor(Qt::blue));
    f.clock.advance(1000);
    QVERIFY(qxtest::readBytes(QStringLiteral("Rec/u/stop.dat"))
                .startsWith(cp932::encode(QStringLiteral("2026/12/08,レベル1,3:00,3:00,00:00\r\n"
                                                         "2026/12/08,レベル1,3:00,3:05,"))));
    QCOMPARE(f.sound.played.count(QStringLiteral("wav/cd.wav")), 0);
    QCOMPARE(menu.TotalScore(), 0);
    QVERIFY(frame(screen).counterLabel().text().isEmpty());
    QVERIFY(!f.window<TForm10>().isVisible());
    QVERIFY(f.dialogs.errors.isEmpty());
}

void StopTest::revealEndsOnceTheBlindPassesTheDigits_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("restingTop");
    QTest::newRow("level 1") << 1 << 3 << 149;
    QTest::newRow("level 3") << 3 << 9 << 151;
    QTest::newRow("level 10") << 10 << 27 << 149;
}

void StopTest::revealEndsOnceTheBlindPassesTheDigits()
{
    QFETCH(int, level);
    QFETCH(int, ticks);
    QFETCH(int, restingTop);
    qxtest::GameFixture f;
    TForm5& screen = openScreen(f, 0, level);
    frame(screen).startButton().click();
    // ENTER before the first tick.
    pressEnter(screen);
    QCOMPARE(probe(screen).differenceLabel().text(),
             store::formatDifference(-stopQuestion(false, level, 0)->target));
    f.clock.advance(100 * ticks - 1);
    QVERIFY(!frame(screen).startButton().isEnabled());
    QVERIFY(qxtest::readBytes(QStringLiteral("Rec/u/stop.dat")).isEmpty());
    f.clock.advance(1);
    QVERIFY(frame(screen).startButton().isEnabled());
    QVERIFY(!probe(screen).revealing());
    QCOMPARE(probe(screen).blind().y(), restingTop);
    QVERIFY(!qxtest::readBytes(QStringLiteral("Rec/u/stop.dat")).isEmpty());
}

void StopTest::overallStageScoresWritesNothingAndOpensReflex()
{
    qxtest::GameFixture f;
    TForm5& screen = openScreen(f, 1);
    auto& menu = f.window<TForm1>();
    QCOMPARE(frame(screen).modeLabel().text(), QStringLiteral("総合"));
    QVERIFY(frame(screen).stagePicture().hasPicture());

    frame(screen).startButton().click();
    QVERIFY(probe(screen).countdownBox().isVisibleTo(&screen));
    QCOMPARE(probe(screen).countdownDigit().text(), QStringLiteral("2"));
    f.clock.advance(1000);
    QCOMPARE(probe(screen).countdownDigit().text(), QStringLiteral("1"));
    QVERIFY(!screen.KeyPreview);

    // Exact, 1.23 s late, 0.05 s early, then twice before the first tick.
    const int stops[] = {400, 423, 495, 0, 0};
    const int targets[] = {400, 300, 500, 300, 500};
    const int blindTops[] = {132, 116, 100, 76, 68};
    const int totals[] = {300, 277, 372, 172, -228};
    for (int q = 0; q < 5; ++q) {
        QVERIFY(f.clock.advanceUntil([&] { return screen.KeyPreview; }, 5000));
        QVERIFY(probe(screen).countdownBox().isHidden());
        QCOMPARE(f.game->session.run().question(), q + 1);
        QCOMPARE(frame(screen).counterLabel().text(), QStringLiteral("%1問目").arg(q + 1));
        QCOMPARE(probe(screen).target(), targets[q]);
        QCOMPARE(probe(screen).targetLabel().text(), store::targetText(targets[q]));
        QCOMPARE(probe(screen).blind().y(), blindTops[q]);
        stopAfter(f, screen, stops[q]);
        QCOMPARE(menu.TotalScore(), totals[q]);
    }
    // Two beeps per question; no dialog between the questions.
    QCOMPARE(f.sound.played.count(QStringLiteral("wav/cd.wav")), 10);
    QVERIFY(!f.window<TForm10>().isVisible());
    QVERIFY(f.clock.advanceUntil([&] { return f.game->modal.top() == &f.window<TForm7>(); }, 5000));
    QVERIFY(screen.closeRequested());
    QCOMPARE(menu.OverallMode(), 1);
    QCOMPARE(menu.TotalScore(), -228);
    QCOMPARE(QLatin1String(f.game->session.run().stage()->testId), QLatin1String("Reflex"));
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/u/stop.dat")), QByteArray());
    QVERIFY(f.dialogs.errors.isEmpty());
}

void StopTest::enterCountsOnceAndOnlyWhileArmed()
{
    qxtest::GameFixture f;
    TForm5& screen = openScreen(f, 1);
    auto& menu = f.window<TForm1>();
    pressEnter(screen);
    QVERIFY(!probe(screen).revealing());

    frame(screen).startButton().click();
    f.clock.advance(500);
    pressEnter(screen);
    QVERIFY(!probe(screen).revealing());
    QVERIFY(probe(screen).countingDown());

    QVERIFY(f.clock.advanceUntil([&] { return screen.KeyPreview; }, 5000));
    f.clock.advance(1000);
    QTest::keyClick(&screen, Qt::Key_A);
    QTest::keyClick(&screen, Qt::Key_Space);
    QVERIFY(probe(screen).clockRunning());
    f.clock.advance(3000);
    pressEnter(screen);
    pressEnter(screen);
    QCOMPARE(menu.TotalScore(), 300);
    QCOMPARE(probe(screen).differenceLabel().text(), QStringLiteral("00:00"));

    f.clock.advance(100);
    pressEnter(screen);
    QCOMPARE(menu.TotalScore(), 300);
    QCOMPARE(probe(screen).clock(), 400);
    QVERIFY(probe(screen).revealing());
}

void StopTest::leavingMidQuestionStopsTimersAndResets_data()
{
    QTest::addColumn<int>("runFor");
    QTest::addColumn<bool>("stopped");
    QTest::newRow("countdown") << -1 << false;
    QTest::newRow("clock running") << 1500 << false;
    QTest::newRow("revealing") << 1500 << true;
}

void StopTest::leavingMidQuestionStopsTimersAndResets()
{
    QFETCH(int, runFor);
    QFETCH(bool, stopped);
    qxtest::GameFixture f;
    TForm5& screen = openScreen(f, 1);
    const int idleTimers = f.clock.activeTimers();
    frame(screen).startButton().click();
    f.clock.advance(500);
    if (runFor >= 0) {
        QVERIFY(f.clock.advanceUntil([&] { return screen.KeyPreview; }, 5000));
        f.clock.advance(runFor);
        QVERIFY(probe(screen).restingClock().isHidden());
    }
    if (stopped) {
        pressEnter(screen);
        f.clock.advance(100);
    }
    frame(screen).backButton().click();

    QCOMPARE(f.game->modal.depth(), 0);
    QCOMPARE(f.clock.activeTimers(), idleTimers);
    QVERIFY(!probe(screen).clockRunning());
    QVERIFY(!probe(screen).revealing());
    QVERIFY(!probe(screen).countingDown());
    QVERIFY(!screen.KeyPreview);
    QCOMPARE(probe(screen).clock(), 0);
    QVERIFY(!probe(screen).restingClock().isHidden());
    QCOMPARE(probe(screen).restingClock().text(), QStringLiteral("00:00"));
    QCOMPARE(probe(screen).blind().y(), 140);
    QVERIFY(probe(screen).differenceLabel().text().isEmpty());
    QVERIFY(probe(screen).targetLabel().text().isEmpty());
    QCOMPARE(probe(screen).countdownDigit().text(), QStringLiteral("2"));
    QVERIFY(probe(screen).countdownBox().isHidden());
    qxtest::verifyAtRest(f, screen);
    f.clock.advance(5000);
    QCOMPARE(probe(screen).blind().y(), 140);
    QVERIFY(f.dialogs.errors.isEmpty());
}

void StopTest::unreadableRecordFileEndsTheRevealWithOneReport()
{
    qxtest::GameFixture f;
    TForm5& screen = openScreen(f, 0);
    QFile::remove(QStringLiteral("Rec/u/stop.dat"));
    frame(screen).startButton().click();
    f.clock.advance(1000);
    pressEnter(screen);
    f.clock.advance(5000);
    QCOMPARE(f.dialogs.errors, QStringList{qxtest::cannotOpen(QStringLiteral("u/stop.dat"))});
    QVERIFY(!probe(screen).revealing());
    QVERIFY(frame(screen).startButton().isEnabled());
    QCOMPARE(probe(screen).blind().y(), 149);
    QVERIFY(!QFile::exists(QStringLiteral("Rec/u/stop.dat")));
}

// Each reveal reports the file once and hands the run on as if the file had
// been read: the next question by itself, and after the fifth the Reflex
// stage; the stage never starts a sixth.
void StopTest::overallStageGoesOnWithoutItsRecordFile()
{
    qxtest::GameFixture f;
    TForm5& screen = openScreen(f, 1);
    QFile::remove(QStringLiteral("Rec/u/stop.dat"));
    frame(screen).startButton().click();
    for (int q = 1; q <= 5; ++q) {
        QVERIFY(f.clock.advanceUntil([&] { return screen.KeyPreview; }, 10000));
        f.clock.advance(500);
        pressEnter(screen);
        QVERIFY(f.clock.advanceUntil([&] { return f.dialogs.errors.size() == q; }, 10000));
        QCOMPARE(f.dialogs.errors.last(), qxtest::cannotOpen(QStringLiteral("u/stop.dat")));
        if (q < 5) {
            QCOMPARE(f.game->session.run().question(), q + 1);
            QVERIFY(!frame(screen).startButton().isEnabled());
        }
    }
    QCOMPARE(f.game->modal.top(), &f.window<TForm7>());
    QCOMPARE(QLatin1String(f.game->session.run().stage()->testId), QLatin1String("Reflex"));
    // A start that reaches the stop screen now arms nothing.
    frame(screen).startButton().click();
    QCOMPARE(f.game->session.run().question(), 0);
}

QTEST_MAIN(StopTest)
// The lowest blind hides only the digits' lowest strip, the highest leaves
// only their top strip showing: the levels in between hide more and more.
void StopTest::blindHidesWhatItsLevelSays_data()
{
    QTest::addColumn<int>("level");
    QTest::newRow("level 1, blind at 140") << 1;
    QTest::newRow("level 10, blind at 68") << 10;
}

void StopTest::blindHidesWhatItsLevelSays()
{
    QFETCH(int, level);
    qxtest::GameFixture f;
    TForm5& screen = openScreen(f, 0, level);
    frame(screen).startButton().click();
    f.clock.advance(8880);
    QCOMPARE(probe(screen).clock(), 888);
    const int blindTop = probe(screen).blind().y();
    const auto [digitsTop, digitsBottom] = inkRows(probe(screen).clockFace().picture());
    const auto [shownTop, shownBottom] = inkRows(probe(screen).clockArea().grab());
    // Some of the digits show above the blind, the rest lies behind it.
    QVERIFY2(
        digitsTop < blindTop && shownTop == digitsTop,
        qPrintable(QStringLiteral("digits from %1, blind at %2").arg(digitsTop).arg(blindTop)));
    QVERIFY2(digitsBottom >= blindTop && shownBottom < blindTop,
             qPrintable(QStringLiteral("digits to %1, shown to %2, blind at %3")
                            .arg(digitsBottom)
                            .arg(shownBottom)
                            .arg(blindTop)));
    // Level 1 hides only a strip, level 10 shows only one.
    if (level == 1)
        QVERIFY(blindTop - digitsTop > 10 * (digitsBottom - blindTop + 1));
    else
        QVERIFY(digitsBottom - blindTop + 1 > 5 * (blindTop - digitsTop));
}

void StopTest::restingClockSitsWhereTheRunningClockDoes()
{
    qxtest::GameFixture f;
    TForm5& screen = openScreen(f, 0, 10);
    const QImage resting = probe(screen).clockUnderBlind();
    frame(screen).startButton().click();
    QVERIFY(probe(screen).restingClock().isHidden());
    // The label and the clock's own painting differ at most in the
    // antialiasing of the digits' last row.
    const auto [runningTop, runningBottom] = inkRows(probe(screen).clockUnderBlind());
    const auto [restingTop, restingBottom] = inkRows(resting);
    QCOMPARE(runningTop, restingTop);
    QVERIFY(std::abs(runningBottom - restingBottom) <= 1);
}

#include "tst_stop.moc"
