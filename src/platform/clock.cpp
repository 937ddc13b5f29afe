// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/clock.h"

#include "platform/dispatch.h"

#include <QObject>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <chrono>

namespace qx {

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;
// An input event handled later than this after its stamp is taken as
// stamped on another clock: no stall of the game lasts that long.
constexpr std::int32_t kLongestTrustedAgeMs = 10'000;

// Both clocks treat a period below one millisecond as one millisecond: a
// virtual tick would otherwise fall due again at the instant it fired, and
// advance() would never return; a real one would spin the event loop.
int periodMs(int intervalMs)
{
    return std::max(intervalMs, 1);
}

} // namespace

// The timers are children of one owner object, so that whatever is still
// running when the clock goes away goes with it.
struct RealClock::Impl {
    QObject owner;
    std::map<TimerId, QTimer*> timers;
    TimerId nextId = 1;
};

RealClock::RealClock() : m_impl(std::make_unique<Impl>()) {}

RealClock::~RealClock() = default;

std::int64_t RealClock::nowNs() const
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t RealClock::eventTimeNs(std::uint64_t timestampMs) const
{
    // X11 and Wayland stamp input events with the monotonic clock in
    // milliseconds, wrapping at 32 bits. A stamp from any other clock, or
    // none, lands far from now and is not used. A stamp up to a millisecond
    // ahead is that clock's rounding.
    const std::int64_t now = nowNs();
    if (timestampMs == 0)
        return now;
    const auto nowMs = static_cast<std::uint32_t>(now / kNsPerMs);
    const auto ageMs = static_cast<std::int32_t>(nowMs - static_cast<std::uint32_t>(timestampMs));
    if (ageMs < -1 || ageMs > kLongestTrustedAgeMs)
        return now;
    return std::min(now, (now / kNsPerMs - ageMs) * kNsPerMs);
}

QDate RealClock::today() const
{
    return QDate::currentDate();
}

Clock::TimerId RealClock::start(int intervalMs, Tick tick)
{
    auto* timer = new QTimer(&m_impl->owner);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(periodMs(intervalMs));
    QObject::connect(timer, &QTimer::timeout, timer, std::move(tick));
    const TimerId id = m_impl->nextId++;
    m_impl->timers.emplace(id, timer);
    timer->start();
    return id;
}

void RealClock::stop(TimerId id)
{
    const auto found = m_impl->timers.find(id);
    if (found == m_impl->timers.end())
        return;
    QTimer* timer = found->second;
    m_impl->timers.erase(found);
    timer->stop();
    // A tick may stop its own timer: the timer and the tick it is running
    // must outlive the call.
    timer->deleteLater();
}

VirtualClock::VirtualClock(QDate today) : m_today(today) {}

Clock::TimerId VirtualClock::start(int intervalMs, Tick tick)
{
    const std::int64_t interval = periodMs(intervalMs) * kNsPerMs;
    const TimerId id = m_nextId++;
    m_timers.emplace(id, Entry{m_nowNs + interval, interval, m_nextOrder++, std::move(tick)});
    return id;
}

void VirtualClock::stop(TimerId id)
{
    m_timers.erase(id);
}

void VirtualClock::advance(std::int64_t ms)
{
    const std::int64_t targetNs = m_nowNs + std::max<std::int64_t>(ms, 0) * kNsPerMs;
    for (;;) {
        auto due = m_timers.end();
        for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
            const Entry& entry = it->second;
            if (entry.dueNs > targetNs)
                continue;
            if (due == m_timers.end() || entry.dueNs < due->second.dueNs ||
                (entry.dueNs == due->second.dueNs && entry.order < due->second.order))
                due = it;
        }
        if (due == m_timers.end())
            break;
        m_nowNs = due->second.dueNs;
        due->second.dueNs += due->second.intervalNs;
        // The tick may stop or start timers, its own included, which would
        // destroy the entry it lives in.
        const Tick tick = due->second.tick;
        tick();
    }
    m_nowNs = targetNs;
}

std::int64_t VirtualClock::eventTimeNs(std::uint64_t timestampMs) const
{
    if (timestampMs == 0)
        return m_nowNs;
    return std::min(m_nowNs, static_cast<std::int64_t>(timestampMs) * kNsPerMs);
}

void VirtualClock::stall(std::int64_t ms)
{
    m_nowNs += std::max<std::int64_t>(ms, 0) * kNsPerMs;
    for (auto& [id, entry] : m_timers) {
        if (entry.dueNs <= m_nowNs)
            entry.dueNs +=
                (m_nowNs - entry.dueNs) / entry.intervalNs * entry.intervalNs + entry.intervalNs;
    }
}

bool VirtualClock::advanceUntil(const std::function<bool()>& done, std::int64_t limitMs,
                                std::int64_t stepMs)
{
    const std::int64_t step = std::max<std::int64_t>(stepMs, 1);
    for (std::int64_t elapsed = 0; !done(); elapsed += step) {
        if (elapsed >= limitMs)
            return false;
        advance(std::min(step, limitMs - elapsed));
    }
    return true;
}

int Stopwatch::wholeUnits(std::int64_t ns, std::int64_t unitMs)
{
    if (unitMs <= 0 || ns <= 0)
        return 0;
    return static_cast<int>(std::min<std::int64_t>(ns / (unitMs * kNsPerMs), INT_MAX));
}

} // namespace qx
