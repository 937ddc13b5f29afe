// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/clock.h"
#include "platform/dispatch.h"
#include "platform/timerperiod.h"
#include "widgets/MMTimer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QStringList>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;

// QTest::qWait sleeps between rounds of events, which would hold ticks back
// past their delivery time-out; a real event loop takes them as they come.
bool runEventLoopUntil(const std::function<bool()>& done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(timeoutMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

void runEventLoop(int ms)
{
    runEventLoopUntil([] { return false; }, ms);
}

constexpr int kPatienceMs = 5000;

// Arrival times of the ticks of one arming.
struct Run {
    std::int64_t originNs;
    std::vector<std::int64_t> arrivalsNs;
};

struct Figures {
    double meanPeriodMs = 0;
    double medianLatenessMs = 0;
    double worstLatenessMs = 0;
    int skipped = 0;
};

// Each tick is matched to its deadline on the grid origin + k * period by the
// timer's own rule: after a tick handled at time a, the next deadline is the
// next on the grid, or the last one not after a if that is later (deadlines
// missed by more than a period are dropped). A tick's arrival stands for the
// moment it was handled, so lateness errs on the high side. The mean period is
// taken over grid steps: a dropped deadline does not read as a longer period,
// and a timer that runs slow shows as many dropped deadlines instead.
Figures measure(const std::vector<Run>& runs, std::int64_t periodNs)
{
    Figures figures;
    std::int64_t spanNs = 0;
    std::int64_t steps = 0;
    std::vector<double> latenessMs;
    for (const Run& run : runs) {
        std::int64_t index = 0;
        std::int64_t firstIndex = 0;
        std::int64_t previousNs = run.originNs;
        for (const std::int64_t arrival : run.arrivalsNs) {
            index = std::max(index + 1, (previousNs - run.originNs) / periodNs);
            if (firstIndex == 0)
                firstIndex = index;
            latenessMs.push_back(static_cast<double>(arrival - (run.originNs + index * periodNs)) /
                                 kNsPerMs);
            previousNs = arrival;
        }
        if (run.arrivalsNs.size() < 2)
            continue;
        spanNs += run.arrivalsNs.back() - run.arrivalsNs.front();
        steps += index - firstIndex;
        figures.skipped += static_cast<int>(index - firstIndex -
                                            static_cast<std::int64_t>(run.arrivalsNs.size()) + 1);
    }
    figures.meanPeriodMs = static_cast<double>(spanNs) / static_cast<double>(steps) / kNsPerMs;
    std::sort(latenessMs.begin(), latenessMs.end());
    figures.medianLatenessMs = latenessMs[latenessMs.size() / 2];
    figures.worstLatenessMs = latenessMs.back();
    return figures;
}

} // namespace

class MMTimerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { m_errors.clear(); }

    void deliveryTimeout_data()
    {
        QTest::addColumn<unsigned>("interval");
        QTest::addColumn<unsigned>("timeout");
        QTest::newRow("1000") << 1000U << 900U;
        QTest::newRow("100") << 100U << 90U;
        QTest::newRow("25, tie to even") << 25U << 22U;
        QTest::newRow("15, tie to even") << 15U << 14U;
        QTest::newRow("10") << 10U << 9U;
        QTest::newRow("5, tie to even") << 5U << 4U;
        QTest::newRow("4") << 4U << 4U;
        QTest::newRow("3") << 3U << 3U;
        QTest::newRow("2") << 2U << 2U;
        QTest::newRow("1") << 1U << 1U;
        QTest::newRow("0") << 0U << 0U;
        QTest::newRow("largest, no overflow") << 4294967295U << 3865470566U;
    }

    void deliveryTimeout()
    {
        QFETCH(unsigned, interval);
        QFETCH(unsigned, timeout);
        qx::VirtualClock clock;
        TMMTimer timer(clock, m_dispatcher);
        QCOMPARE(timer.Interval(), 1000U);
        QCOMPARE(timer.DeliveryTimeout(), 900U);
        QVERIFY(!timer.Enabled());
        timer.setInterval(interval);
        QCOMPARE(timer.DeliveryTimeout(), timeout);
    }

    void ticksArriveOnUiThreadAtPeriod_data()
    {
        QTest::addColumn<unsigned>("interval");
        QTest::addColumn<int>("ticks");
        QTest::newRow("2 ms") << 2U << 400;
        QTest::newRow("10 ms") << 10U << 150;
    }

    void ticksArriveOnUiThreadAtPeriod()
    {
        QFETCH(unsigned, interval);
        QFETCH(int, ticks);
        qx::RealClock clock;
        qx::beginTimerPeriod();
        TMMTimer timer(clock, m_dispatcher);
        std::vector<Run> runs;
        int received = 0;
        bool onUiThread = true;
        timer.setInterval(interval);
        timer.setOnTimer([&] {
            onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
            runs.back().arrivalsNs.push_back(clock.nowNs());
            if (++received == ticks)
                timer.setEnabled(false);
        });
        runs.push_back({clock.nowNs(), {}});
        timer.setEnabled(true);
        QVERIFY(runEventLoopUntil([&] { return !timer.Enabled(); }, 10000));
        qx::endTimerPeriod();

        QCOMPARE(received, ticks);
        QVERIFY(onUiThread);
        const Figures figures = measure(runs, std::int64_t{interval} * kNsPerMs);
        qInfo("period %u ms: mean %.4f ms, lateness median %.3f ms, worst %.3f ms, "
              "%d deadlines skipped",
              interval, figures.meanPeriodMs, figures.medianLatenessMs, figures.worstLatenessMs,
              figures.skipped);
        QVERIFY2(std::abs(figures.meanPeriodMs - interval) < 0.05 * interval,
                 qPrintable(QString::number(figures.meanPeriodMs)));
        // A loaded machine drops some deadlines (a tick the UI thread did not
        // take up in time); a timer that ran slow would drop most.
        QVERIFY2(figures.skipped <= ticks / 5, qPrintable(QString::number(figures.skipped)));
    }

    // A handler that takes longer than the delivery time-out, here in a modal
    // loop of its own, is not entered again by its timer while it runs, and
    // the timer goes on afterwards instead of switching itself off.
    void slowHandlerIsNotReenteredAndTicksResume()
    {
        qx::RealClock clock;
        TMMTimer timer(clock, m_dispatcher);
        int ticks = 0;
        int depth = 0;
        int deepest = 0;
        std::int64_t returnedNs = 0;
        std::int64_t nextNs = 0;
        timer.setInterval(10);
        timer.setOnTimer([&] {
            deepest = std::max(deepest, ++depth);
            if (++ticks == 1) {
                runEventLoop(60);
                returnedNs = clock.nowNs();
            } else if (ticks == 2) {
                nextNs = clock.nowNs();
            }
            --depth;
        });
        timer.setEnabled(true);
        QVERIFY(runEventLoopUntil([&] { return ticks >= 5; }, kPatienceMs));
        QVERIFY(timer.Enabled());
        QCOMPARE(deepest, 1);
        // No tick waited behind the slow one to run at once.
        QVERIFY2(nextNs - returnedNs > 2 * kNsPerMs,
                 qPrintable(QString::number((nextNs - returnedNs) / 1e6)));
    }

    // A tick that the user-interface thread was too busy to take up in time is
    // dropped, not run late, and the timer goes on.
    void busyUiThreadDropsTheStaleTicksAndGoesOn()
    {
        qx::RealClock clock;
        TMMTimer timer(clock, m_dispatcher);
        int ticks = 0;
        timer.setInterval(5);
        timer.setOnTimer([&] { ++ticks; });
        timer.setEnabled(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        QCoreApplication::processEvents();
        // Of the twelve deadlines the stall covered, at most the last, still
        // within its time-out, may run.
        QVERIFY2(ticks <= 1, qPrintable(QString::number(ticks)));
        QVERIFY(runEventLoopUntil([&] { return ticks >= 4; }, kPatienceMs));
        QVERIFY(timer.Enabled());
    }

    // The timer arms at the moment the last of Enabled, Interval and a
    // handler falls into place, and not before.
    void armsOnlyWithIntervalAndHandler_data()
    {
        QTest::addColumn<unsigned>("interval");
        QTest::addColumn<bool>("handlerFirst");
        QTest::newRow("interval 0") << 0U << true;
        QTest::newRow("no handler") << 20U << false;
    }

    void armsOnlyWithIntervalAndHandler()
    {
        QFETCH(unsigned, interval);
        QFETCH(bool, handlerFirst);
        qx::RealClock clock;
        TMMTimer timer(clock, m_dispatcher);
        int ticks = 0;
        timer.setInterval(interval);
        if (handlerFirst)
            timer.setOnTimer([&] { ++ticks; });
        timer.setEnabled(true);
        runEventLoop(40);
        QCOMPARE(ticks, 0);
        QVERIFY(timer.Enabled());

        if (handlerFirst)
            timer.setInterval(20);
        else
            timer.setOnTimer([&] { ++ticks; });
        QVERIFY(runEventLoopUntil([&] { return ticks >= 3; }, kPatienceMs));
        timer.setOnTimer({});
        const int stopped = ticks;
        runEventLoop(60);
        QCOMPARE(ticks, stopped);
    }

    void rearming_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("periodAfterMs");
        QTest::addColumn<bool>("rearms");
        QTest::newRow("same interval keeps the phase") << "interval" << 100 << false;
        QTest::newRow("enabled again keeps the phase") << "enabled" << 100 << false;
        QTest::newRow("same handler re-arms") << "handler" << 100 << true;
        QTest::newRow("new interval re-arms") << "interval" << 120 << true;
    }

    // The first tick after the change tells whether the period restarted at
    // the change: it can come early only if the phase was kept.
    void rearming()
    {
        QFETCH(QString, change);
        QFETCH(int, periodAfterMs);
        QFETCH(bool, rearms);
        qx::RealClock clock;
        TMMTimer timer(clock, m_dispatcher);
        std::vector<std::int64_t> arrivals;
        const std::function<void()> handler = [&] { arrivals.push_back(clock.nowNs()); };
        timer.setInterval(100);
        timer.setOnTimer(handler);
        timer.setEnabled(true);
        runEventLoop(50);
        QVERIFY(arrivals.empty());

        const std::int64_t changedNs = clock.nowNs();
        if (change == QLatin1String("interval"))
            timer.setInterval(static_cast<unsigned>(periodAfterMs));
        else if (change == QLatin1String("enabled"))
            timer.setEnabled(true);
        else
            timer.setOnTimer(handler);
        QVERIFY(runEventLoopUntil([&] { return !arrivals.empty(); }, kPatienceMs));
        const std::int64_t firstAfterMs = (arrivals.front() - changedNs) / kNsPerMs;
        if (rearms)
            QVERIFY2(firstAfterMs >= periodAfterMs, qPrintable(QString::number(firstAfterMs)));
        else
            QVERIFY2(firstAfterMs < periodAfterMs, qPrintable(QString::number(firstAfterMs)));
    }

    // The report may be a box that stays open for a while; the timer neither
    // re-enters the handler meanwhile nor switches itself off.
    void exceptionIsReportedAndTimerGoesOn_data()
    {
        QTest::addColumn<int>("reportOpenMs");
        QTest::newRow("report closes at once") << 0;
        QTest::newRow("report open for 300 ms") << 300;
    }

    void exceptionIsReportedAndTimerGoesOn()
    {
        QFETCH(int, reportOpenMs);
        qx::RealClock clock;
        int ticks = 0;
        int ticksWhileReporting = 0;
        qx::Dispatcher dispatcher([&](const QString& text) {
            m_errors.append(text);
            const int before = ticks;
            runEventLoop(reportOpenMs);
            ticksWhileReporting += ticks - before;
        });
        TMMTimer timer(clock, dispatcher);
        timer.setInterval(20);
        timer.setOnTimer([&] {
            ++ticks;
            if (ticks == 1)
                throw qx::Error(QStringLiteral("ファイル a.dat は開けません"));
            if (ticks == 2)
                throw std::runtime_error("broken");
        });
        timer.setEnabled(true);
        QVERIFY(runEventLoopUntil([&] { return ticks >= 5; }, kPatienceMs));
        QVERIFY(timer.Enabled());
        QCOMPARE(ticksWhileReporting, 0);
        QCOMPARE(m_errors, (QStringList{QStringLiteral("ファイル a.dat は開けません"),
                                        QStringLiteral("broken")}));
    }

    // Run also under the sanitizers: a tick reaching a destroyed timer is a
    // use after free.
    void destroyingRunningTimerLeavesNoTick_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("between ticks") << "idle";
        QTest::newRow("with a tick queued") << "queued";
        QTest::newRow("from its own handler") << "handler";
    }

    void destroyingRunningTimerLeavesNoTick()
    {
        QFETCH(QString, how);
        qx::RealClock clock;
        for (int round = 0; round < 20; ++round) {
            auto ticks = std::make_shared<int>(0);
            auto* timer = new TMMTimer(clock, m_dispatcher);
            timer->setInterval(2);
            if (how == QLatin1String("handler"))
                timer->setOnTimer([timer, ticks] {
                    if (++*ticks == 3)
                        delete timer;
                });
            else
                timer->setOnTimer([ticks] { ++*ticks; });
            timer->setEnabled(true);
            const int wanted = how == QLatin1String("handler") ? 3 : 2;
            QVERIFY(runEventLoopUntil(
                [&] {
                    if (*ticks >= wanted)
                        return true;
                    // Only a loaded machine misses a 2 ms delivery time-out.
                    if (!timer->Enabled())
                        timer->setEnabled(true);
                    return false;
                },
                kPatienceMs));
            if (how == QLatin1String("queued"))
                std::this_thread::sleep_for(std::chrono::microseconds(2500 + 100 * round));
            if (how != QLatin1String("handler"))
                delete timer;
            const int last = *ticks;
            runEventLoop(10);
            QCOMPARE(*ticks, last);
        }
    }

    void followsTheSameRulesOnAVirtualClock()
    {
        qx::VirtualClock clock;
        TMMTimer timer(clock, m_dispatcher);
        std::vector<std::int64_t> arrivalsMs;
        const std::function<void()> handler = [&] {
            arrivalsMs.push_back(clock.nowNs() / kNsPerMs);
            if (arrivalsMs.size() == 2)
                throw qx::Error(QStringLiteral("second"));
        };
        timer.setInterval(10);
        timer.setOnTimer(handler);
        clock.advance(30);
        QVERIFY(arrivalsMs.empty());

        timer.setEnabled(true);
        clock.advance(35);
        timer.setInterval(10);
        clock.advance(10);
        timer.setOnTimer(handler);
        clock.advance(15);
        timer.setEnabled(false);
        clock.advance(50);
        QCOMPARE(arrivalsMs, (std::vector<std::int64_t>{40, 50, 60, 70, 85}));
        QCOMPARE(m_errors, QStringList{QStringLiteral("second")});
        QCOMPARE(clock.activeTimers(), 0);
    }

    // On the virtual clock a handler lets time pass by advancing the clock:
    // the ticks due meanwhile do not enter it again, and the timer resumes on
    // its grid.
    void handlerPastItsTimeOutResumesOnTheGridOnAVirtualClock()
    {
        qx::VirtualClock clock;
        TMMTimer timer(clock, m_dispatcher);
        std::vector<std::int64_t> arrivalsMs;
        timer.setInterval(10);
        timer.setOnTimer([&] {
            arrivalsMs.push_back(clock.nowNs() / kNsPerMs);
            if (arrivalsMs.size() == 1)
                clock.advance(35);
        });
        timer.setEnabled(true);
        clock.advance(70);
        QCOMPARE(arrivalsMs, (std::vector<std::int64_t>{10, 50, 60, 70}));
    }

#ifdef __linux__
    // The timer period is the calling thread's timer slack, held while any
    // holder holds it.
    void timerPeriodTightensSlackWhileHeld()
    {
        const long before = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
        QVERIFY(before > 1);
        qx::beginTimerPeriod();
        qx::beginTimerPeriod();
        QCOMPARE(prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0), 1L);
        qx::endTimerPeriod();
        QCOMPARE(prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0), 1L);
        qx::endTimerPeriod();
        QCOMPARE(prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0), before);
        qx::endTimerPeriod();
        QCOMPARE(prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0), before);
    }
#endif

private:
    QStringList m_errors;
    qx::Dispatcher m_dispatcher{[this](const QString& text) { m_errors.append(text); }};
};

QTEST_MAIN(MMTimerTest)
#include "tst_mmtimer.moc"
