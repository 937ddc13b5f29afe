// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/clock.h"
#include "platform/dispatch.h"
#include "platform/timer.h"

#include <QStringList>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;

struct Fired {
    char timer;
    std::int64_t atMs;
    bool operator==(const Fired& other) const = default;
};

} // namespace

class ClockTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { m_errors.clear(); }

    // Each tick sees the clock at its own deadline; at a shared deadline the
    // timer started first fires first.
    void virtualTicksFireInDeadlineOrder()
    {
        qx::VirtualClock clock;
        std::vector<Fired> fired;
        clock.start(5, [&] { fired.push_back({'a', clock.nowNs() / kNsPerMs}); });
        clock.start(3, [&] { fired.push_back({'b', clock.nowNs() / kNsPerMs}); });
        clock.advance(15);
        const std::vector<Fired> expected{{'b', 3},  {'a', 5},  {'b', 6},  {'b', 9},
                                          {'a', 10}, {'b', 12}, {'a', 15}, {'b', 15}};
        QVERIFY(fired == expected);
        QCOMPARE(clock.nowNs(), 15 * kNsPerMs);
    }

    // A tick may stop a timer due at the same instant, stop itself, and start
    // a timer that falls due within the same advance.
    void virtualTickMayStopAndStartTimers()
    {
        qx::VirtualClock clock;
        std::vector<Fired> fired;
        qx::Clock::TimerId self = 0;
        qx::Clock::TimerId victim = 0;
        self = clock.start(4, [&] {
            fired.push_back({'s', clock.nowNs() / kNsPerMs});
            clock.stop(victim);
            clock.stop(self);
            clock.stop(self);
            clock.start(3, [&] { fired.push_back({'n', clock.nowNs() / kNsPerMs}); });
        });
        victim = clock.start(4, [&] { fired.push_back({'v', clock.nowNs() / kNsPerMs}); });
        clock.stop(12345);
        clock.advance(11);
        const std::vector<Fired> expected{{'s', 4}, {'n', 7}, {'n', 10}};
        QVERIFY(fired == expected);
        QCOMPARE(clock.activeTimers(), 1);
    }

    void virtualTickExceptionIsReported()
    {
        qx::VirtualClock clock;
        int ticks = 0;
        qx::Timer timer(clock, m_dispatcher, 2);
        timer.setOnTimer([&] {
            ++ticks;
            throw qx::Error(QStringLiteral("ファイル x は開けません"));
        });
        timer.setEnabled(true);
        clock.advance(6);
        QCOMPARE(ticks, 3);
        QCOMPARE(m_errors.size(), 3);
        QCOMPARE(m_errors.front(), QStringLiteral("ファイル x は開けません"));
    }

    void advanceUntil_data()
    {
        QTest::addColumn<std::int64_t>("doneAtMs");
        QTest::addColumn<std::int64_t>("limitMs");
        QTest::addColumn<std::int64_t>("stepMs");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<std::int64_t>("endMs");
        QTest::newRow("holds already")
            << std::int64_t{0} << std::int64_t{100} << std::int64_t{1} << true << std::int64_t{0};
        QTest::newRow("holds after ticks")
            << std::int64_t{30} << std::int64_t{100} << std::int64_t{1} << true << std::int64_t{30};
        QTest::newRow("stops at the step that sees it")
            << std::int64_t{30} << std::int64_t{100} << std::int64_t{7} << true << std::int64_t{35};
        QTest::newRow("never holds") << std::int64_t{500} << std::int64_t{100} << std::int64_t{7}
                                     << false << std::int64_t{100};
    }

    void advanceUntil()
    {
        QFETCH(std::int64_t, doneAtMs);
        QFETCH(std::int64_t, limitMs);
        QFETCH(std::int64_t, stepMs);
        QFETCH(bool, expected);
        QFETCH(std::int64_t, endMs);
        qx::VirtualClock clock;
        int ticks = 0;
        clock.start(10, [&] { ++ticks; });
        const bool done = clock.advanceUntil([&] { return clock.nowNs() >= doneAtMs * kNsPerMs; },
                                             limitMs, stepMs);
        QCOMPARE(done, expected);
        QCOMPARE(clock.nowNs(), endMs * kNsPerMs);
        QCOMPARE(ticks, static_cast<int>(endMs / 10));
    }

    // Real ticks go through the error report and may stop their own timer.
    // A key is timed when it went down; a stamp that cannot be on the
    // monotonic clock is not trusted and the key counts from its arrival.
    void realEventTimeComesFromTheStamp_data()
    {
        QTest::addColumn<qint64>("stampAgeMs");
        QTest::addColumn<bool>("trusted");
        QTest::newRow("250 ms ago") << qint64{250} << true;
        QTest::newRow("just now") << qint64{0} << true;
        QTest::newRow("a millisecond ahead, rounding") << qint64{-1} << true;
        QTest::newRow("ahead of now") << qint64{-50} << false;
        QTest::newRow("from another clock") << qint64{-100'000'000} << false;
        QTest::newRow("long ago") << qint64{3'600'000} << false;
    }

    void realEventTimeComesFromTheStamp()
    {
        QFETCH(qint64, stampAgeMs);
        QFETCH(bool, trusted);
        qx::RealClock clock;
        const std::int64_t beforeNs = clock.nowNs();
        // The window system's stamps are 32 bits wide and wrap.
        const auto stamp = static_cast<std::uint32_t>(beforeNs / kNsPerMs - stampAgeMs);
        const std::int64_t atNs = clock.eventTimeNs(stamp);
        const std::int64_t afterNs = clock.nowNs();
        QVERIFY(atNs <= afterNs);
        if (trusted) {
            const std::int64_t expected = beforeNs / kNsPerMs * kNsPerMs - stampAgeMs * kNsPerMs;
            QVERIFY2(std::abs(atNs - std::min(expected, afterNs)) <= 2 * kNsPerMs,
                     qPrintable(QString::number((atNs - expected) / 1e6)));
        } else {
            QVERIFY(atNs >= beforeNs);
        }
        QVERIFY(clock.eventTimeNs(0) >= afterNs);
    }

    void stallDropsTheDeadlinesItPassesAndKeepsTheGrid()
    {
        qx::VirtualClock clock;
        std::vector<std::int64_t> firedMs;
        clock.start(10, [&] { firedMs.push_back(clock.nowNs() / kNsPerMs); });
        clock.advance(20);
        clock.stall(35);
        clock.advance(25);
        QCOMPARE(firedMs, (std::vector<std::int64_t>{10, 20, 60, 70, 80}));
    }

    void realTickStopsItselfAndReportsErrors()
    {
        qx::RealClock clock;
        int ticks = 0;
        qx::Timer timer(clock, m_dispatcher, 2);
        timer.setOnTimer([&] {
            if (++ticks == 3) {
                timer.setEnabled(false);
                throw qx::Error(QStringLiteral("stopped"));
            }
        });
        timer.setEnabled(true);
        const std::int64_t before = clock.nowNs();
        QTRY_COMPARE(ticks, 3);
        QVERIFY(clock.nowNs() - before >= 5 * kNsPerMs);
        QTest::qWait(20);
        QCOMPARE(ticks, 3);
        QCOMPARE(m_errors, QStringList{QStringLiteral("stopped")});
        QCOMPARE(clock.today(), QDate::currentDate());
    }

private:
    QStringList m_errors;
    qx::Dispatcher m_dispatcher{[this](const QString& text) { m_errors.append(text); }};
};

QTEST_MAIN(ClockTest)
#include "tst_clock.moc"
