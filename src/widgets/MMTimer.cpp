// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/MMTimer.h"

#include "platform/clock.h"
#include "platform/dispatch.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <time.h>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;
constexpr std::int64_t kNsPerSecond = 1'000'000'000;
// The timer thread waits on its condition variable, where a change of arming
// can wake it, until this close to a deadline, and sleeps the rest in one
// absolute sleep.
constexpr std::int64_t kFinalSleepNs = 2 * kNsPerMs;

// 90% of the interval, rounded to the nearest integer with ties to even.
unsigned deliveryTimeoutFor(unsigned interval)
{
    const std::uint64_t tenths = std::uint64_t{interval} * 9;
    std::uint64_t timeout = tenths / 10;
    const std::uint64_t rest = tenths % 10;
    if (rest > 5 || (rest == 5 && timeout % 2 == 1))
        ++timeout;
    return static_cast<unsigned>(timeout);
}

std::int64_t monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * kNsPerSecond + now.tv_nsec;
}

// An absolute deadline cannot drift: a wake-up that comes late does not
// push the later ones back.
void sleepUntilNs(std::int64_t deadlineNs)
{
    timespec deadline{};
    deadline.tv_sec = static_cast<time_t>(deadlineNs / kNsPerSecond);
    deadline.tv_nsec = static_cast<long>(deadlineNs % kNsPerSecond);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

// The index on the grid origin + index * period of the deadline after the
// tick at `index`, handled at nowNs. A deadline missed by more than a period
// is dropped: after a stall (a loaded machine, a debugger) a burst of stale
// ticks would keep the user-interface thread replaying the past, every tick
// repainting, while the player's input waits behind them. At most one late
// tick follows a stall, and the grid keeps its phase.
std::int64_t nextIndex(std::int64_t index, std::int64_t originNs, std::int64_t periodNs,
                       std::int64_t nowNs)
{
    return std::max(index + 1, (nowNs - originNs) / periodNs);
}

void setTimerThreadName()
{
#ifdef __linux__
    prctl(PR_SET_NAME, "qx-mmtimer", 0, 0, 0);
    // The default slack of 50 µs would be a fortieth of a 2 ms period.
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
#endif
}

} // namespace

// Written by the user-interface thread under the mutex at each arming; the
// timer thread reads it, and the two hand each tick over through it.
struct TMMTimer::Shared {
    enum class Tick { None, Queued, Running };

    std::mutex mutex;
    // Wakes the timer thread on a change of arming, on quitting and when a
    // tick has been handled or dropped.
    std::condition_variable wake;
    // Counts armings; a tick of an earlier arming is stale.
    std::uint64_t arming = 0;
    bool armed = false;
    bool quit = false;
    std::int64_t originNs = 0;
    std::int64_t periodNs = 0;
    unsigned deliveryTimeoutMs = 0;
    // The last tick sent, numbered across armings, and where it is: waiting
    // in the user-interface thread's queue, being handled, or done with.
    std::uint64_t sentTick = 0;
    Tick tick = Tick::None;
    // The handler is running; only the user-interface thread touches it.
    bool inHandler = false;
};

TMMTimer::TMMTimer(qx::Clock& clock, qx::Dispatcher& dispatcher, QObject* parent)
    : QObject(parent), m_clock(clock), m_dispatcher(dispatcher),
      m_shared(std::make_shared<Shared>())
{
}

TMMTimer::~TMMTimer()
{
    setEnabled(false);
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->quit = true;
    }
    m_shared->wake.notify_all();
    // Once joined, nothing posts to this object any more; ~QObject discards
    // whatever tick is still queued.
    m_thread.join();
}

void TMMTimer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    RearmTimer();
}

void TMMTimer::setInterval(unsigned interval)
{
    if (interval == m_interval)
        return;
    m_interval = interval;
    m_deliveryTimeout = deliveryTimeoutFor(interval);
    RearmTimer();
}

void TMMTimer::setOnTimer(std::function<void()> handler)
{
    m_onTimer = std::move(handler);
    RearmTimer();
}

void TMMTimer::DoTimer()
{
    // The handler may assign another handler while it runs.
    const auto handler = m_onTimer;
    if (handler)
        handler();
}

void TMMTimer::RearmTimer()
{
    const bool armed = m_enabled && m_interval != 0 && m_onTimer;
    if (m_clock.isVirtual()) {
        if (m_clockTimer != 0) {
            m_clock.stop(m_clockTimer);
            m_clockTimer = 0;
        }
        if (armed)
            m_clockTimer =
                m_clock.start(static_cast<int>(std::min<unsigned>(m_interval, INT_MAX)), [this] {
                    // A handler that lets time pass on the clock is not
                    // entered again by its own timer.
                    if (!m_shared->inHandler)
                        runHandler(m_shared);
                });
        return;
    }

    {
        const std::lock_guard lock(m_shared->mutex);
        ++m_shared->arming;
        m_shared->armed = armed;
        if (armed) {
            m_shared->originNs = monotonicNs();
            m_shared->periodNs = std::int64_t{m_interval} * kNsPerMs;
            m_shared->deliveryTimeoutMs = m_deliveryTimeout;
        }
    }
    m_shared->wake.notify_all();
    if (!armed || m_thread.joinable())
        return;
    try {
        m_thread = std::thread([this] { runTimerThread(); });
    } catch (const std::system_error&) {
        // Without a thread the timer simply does not fire.
        const std::lock_guard lock(m_shared->mutex);
        m_shared->armed = false;
    }
}

void TMMTimer::runTimerThread()
{
    setTimerThreadName();
    // The destructor joins this thread before m_shared goes.
    Shared& shared = *m_shared;
    std::unique_lock lock(shared.mutex);
    while (!shared.quit) {
        if (!shared.armed) {
            shared.wake.wait(lock);
            continue;
        }
        const std::uint64_t arming = shared.arming;
        const std::int64_t originNs = shared.originNs;
        const std::int64_t periodNs = shared.periodNs;
        const std::chrono::milliseconds timeout(shared.deliveryTimeoutMs);
        const auto current = [&] {
            return !shared.quit && shared.armed && shared.arming == arming;
        };

        for (std::int64_t index = 1;;) {
            const std::int64_t deadlineNs = originNs + index * periodNs;
            while (current() && deadlineNs - monotonicNs() > kFinalSleepNs)
                shared.wake.wait_for(
                    lock, std::chrono::nanoseconds(deadlineNs - kFinalSleepNs - monotonicNs()));
            if (!current())
                break;
            lock.unlock();
            sleepUntilNs(deadlineNs);
            lock.lock();
            if (!current())
                break;

            const std::uint64_t tick = ++shared.sentTick;
            shared.tick = Shared::Tick::Queued;
            lock.unlock();
            QMetaObject::invokeMethod(
                this, [this, arming, tick, deadlineNs] { deliverTick(arming, tick, deadlineNs); },
                Qt::QueuedConnection);
            lock.lock();
            const auto done = [&] { return shared.tick == Shared::Tick::None || !current(); };
            shared.wake.wait_for(lock, timeout, done);
            if (!current())
                break;
            // A tick the user-interface thread has not taken up in time is
            // dropped: handled later it would show a stale moment. One it is
            // still handling (a slow handler, or one whose error report or
            // box is open) holds the next ticks back until it returns.
            if (shared.tick == Shared::Tick::Queued)
                shared.tick = Shared::Tick::None;
            if (shared.tick == Shared::Tick::Running) {
                shared.wake.wait(lock, done);
                if (!current())
                    break;
                // The deadlines that passed while the handler ran were
                // missed; the next is the first still ahead.
                index = (monotonicNs() - originNs) / periodNs;
            }
            index = nextIndex(index, originNs, periodNs, monotonicNs());
        }
    }
}

void TMMTimer::deliverTick(std::uint64_t arming, std::uint64_t tick, std::int64_t deadlineNs)
{
    // Counted also when the tick comes too late to be handled: that is the
    // lateness a player's machine shows.
    m_dispatcher.lateness().addTick(monotonicNs() - deadlineNs);
    const std::shared_ptr<Shared> shared = m_shared;
    {
        const std::lock_guard lock(shared->mutex);
        if (!shared->armed || shared->arming != arming || shared->sentTick != tick ||
            shared->tick != Shared::Tick::Queued)
            return;
        // Re-armed from inside its own handler and reached from a modal loop
        // that the handler opened: the handler is still running.
        shared->tick = shared->inHandler ? Shared::Tick::None : Shared::Tick::Running;
    }
    if (!shared->inHandler)
        runHandler(shared);
    {
        const std::lock_guard lock(shared->mutex);
        if (shared->sentTick == tick)
            shared->tick = Shared::Tick::None;
    }
    shared->wake.notify_all();
}

void TMMTimer::runHandler(const std::shared_ptr<Shared>& shared)
{
    // The handler may destroy the timer; the shared state outlives it here.
    shared->inHandler = true;
    m_dispatcher.run([this] { DoTimer(); });
    shared->inHandler = false;
}
