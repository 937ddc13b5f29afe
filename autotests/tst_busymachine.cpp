// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A busy machine delivers the precision timers' ticks late or drops them, and
// handles keys late. The times shown and written must still be the time that
// passed: these play each timed screen on the virtual clock through a stall in
// which no tick is delivered.

#include "screens/dialog.h"
#include "screens/mainform.h"
#include "rules/textcodec.h"
#include "screens/Block.h"
#include "screens/LR.h"
#include "screens/picshow.h"
#include "screens/shape.h"
#include "screens/stop.h"
#include "testsupport.h"
#include "widgets/ShadoLbl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

using namespace qx;

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;

// The first line of a user's record file, without its date.
QString firstRecord(const QString& file)
{
    const QString text = cp932::decode(qxtest::readBytes(QStringLiteral("Rec/u/") + file));
    return text.section(QStringLiteral("\r\n"), 0, 0).section(QLatin1Char(','), 1);
}

// ENTER as the window system delivers it: stamped with the moment it went
// down (in ms of the clock; 0 for no stamp), handled now.
void pressEnterStamped(QWidget* target, std::uint64_t stampMs)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    press.setTimestamp(stampMs);
    QApplication::sendEvent(target, &press);
}

} // namespace

class BusyMachineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writtenTimeIsTheTimeThatPassed_data();
    void writtenTimeIsTheTimeThatPassed();
    void lrRunLastsItsDesignedTimeThroughAStall();
    void reactionRunsFromThePictureToTheKeyGoingDown_data();
    void reactionRunsFromThePictureToTheKeyGoingDown();
};

void BusyMachineTest::writtenTimeIsTheTimeThatPassed_data()
{
    QTest::addColumn<QString>("test");
    QTest::addColumn<int>("beforeMs");
    QTest::addColumn<int>("stalledMs");
    QTest::addColumn<int>("afterMs");
    QTest::addColumn<QString>("written");
    QTest::newRow("stop, on time") << "stop" << 3050 << 0 << 0 << "レベル1,3:00,3:05,+00:05";
    QTest::newRow("stop, stalled") << "stop" << 1000 << 850 << 1200 << "レベル1,3:00,3:05,+00:05";
    QTest::newRow("Reflex, stalled") << "Reflex" << 10 << 290 << 0 << "00:00:30";
    QTest::newRow("shape, stalled") << "shape" << 2000 << 5000 << 350 << "○,00:07:3";
    QTest::newRow("box, stalled") << "box" << 1000 << 2000 << 456 << "×,00:03:45";
}

void BusyMachineTest::writtenTimeIsTheTimeThatPassed()
{
    QFETCH(QString, test);
    QFETCH(int, beforeMs);
    QFETCH(int, stalledMs);
    QFETCH(int, afterMs);
    QFETCH(QString, written);
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    const auto play = [&] {
        f.clock.advance(beforeMs);
        f.clock.stall(stalledMs);
        f.clock.advance(afterMs);
    };
    f.openAlone(findTest(test)->kind, 1);
    if (test == QLatin1String("stop")) {
        TForm5& screen = f.window<TForm5>();
        frame(screen).startButton().click();
        play();
        // The running clock shows the time that passed too.
        QCOMPARE(probe(screen).clock(), (beforeMs + stalledMs + afterMs) / 10);
        pressEnterStamped(&screen, 0);
        f.clock.advance(1000);
        QCOMPARE(firstRecord(QStringLiteral("stop.dat")), written);
    } else if (test == QLatin1String("Reflex")) {
        TForm7& screen = f.window<TForm7>();
        frame(screen).startButton().click();
        QVERIFY(f.clock.advanceUntil([&] { return probe(screen).reactionRunning(); }, 8000));
        play();
        pressEnterStamped(&screen, 0);
        QCOMPARE(firstRecord(QStringLiteral("Reflex.dat")), written);
    } else if (test == QLatin1String("shape")) {
        TForm6& screen = f.window<TForm6>();
        frame(screen).startButton().click();
        play();
        probe(screen).answerButton(probe(screen).shapeOrder()[8]).click();
        QCOMPARE(firstRecord(QStringLiteral("shape.dat")), written);
    } else {
        TForm8& screen = f.window<TForm8>();
        frame(screen).startButton().click();
        play();
        probe(screen).answerBox().key(Qt::Key_Return);
        QVERIFY(firstRecord(QStringLiteral("box.dat")).startsWith(written));
    }
    QVERIFY(f.dialogs.errors.isEmpty());
}

// The number runs through the strip in 301 frames of the period, however
// many of their ticks a busy machine dropped.
void BusyMachineTest::lrRunLastsItsDesignedTimeThroughAStall()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    f.openAlone(TestKind::LR, 3); // two digits at 2 ms
    TForm3& screen = f.window<TForm3>();
    std::int64_t askedNs = 0;
    f.dialogs.whileAsking = [&] { askedNs = f.clock.nowNs(); };
    frame(screen).startButton().click();
    QVERIFY(f.clock.advanceUntil([&] { return probe(screen).running(); }, 3000));
    const std::int64_t runStartNs = f.clock.nowNs();
    f.clock.advance(100);
    f.clock.stall(300);
    QVERIFY(f.clock.advanceUntil([&] { return askedNs != 0; }, 1000));
    QCOMPARE((askedNs - runStartNs) / kNsPerMs, 602);
    QCOMPARE(probe(screen).numberX(), 602);
}

void BusyMachineTest::reactionRunsFromThePictureToTheKeyGoingDown_data()
{
    QTest::addColumn<int>("downMs");
    QTest::addColumn<int>("handledMs");
    QTest::addColumn<QString>("written");
    QTest::newRow("handled late") << 120 << 300 << "00:00:12";
    QTest::newRow("down before the picture showed") << -5 << 300 << "フライング";
    QTest::newRow("down as it showed") << 0 << 40 << "00:00:00";
}

void BusyMachineTest::reactionRunsFromThePictureToTheKeyGoingDown()
{
    QFETCH(int, downMs);
    QFETCH(int, handledMs);
    QFETCH(QString, written);
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    f.openAlone(TestKind::Reflex);
    TForm7& screen = f.window<TForm7>();
    frame(screen).startButton().click();
    QVERIFY(f.clock.advanceUntil([&] { return probe(screen).reactionRunning(); }, 8000));
    const std::int64_t shownMs = f.clock.nowNs() / kNsPerMs;
    f.clock.advance(handledMs);
    pressEnterStamped(&screen, static_cast<std::uint64_t>(shownMs + downMs));
    QCOMPARE(firstRecord(QStringLiteral("Reflex.dat")), written);
    QCOMPARE(probe(f.window<TForm10>()).verdict().text(), written);
}

QTEST_MAIN(BusyMachineTest)
#include "tst_busymachine.moc"
