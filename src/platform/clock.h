// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The one clock behind every timer of the game. The real clock drives ordinary
// timers with Qt's event loop; the virtual clock lets tests move time forward
// by hand so that a whole overall run plays deterministically in seconds.

#include <QDate>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace qx {

class Clock {
public:
    using Tick = std::function<void()>;
    using TimerId = int;

    virtual ~Clock() = default;

    // Monotonic time in nanoseconds.
    virtual std::int64_t nowNs() const = 0;
    // When an input event happened, from the window system's millisecond
    // timestamp: the moment the key went down, not the moment a busy
    // user-interface thread got round to it. A timestamp that cannot be
    // trusted to be on this clock gives now.
    virtual std::int64_t eventTimeNs(std::uint64_t timestampMs) const = 0;
    // The local date used in record lines.
    virtual QDate today() const = 0;

    // Starts a periodic tick on the user-interface thread, first due one
    // interval from now. Returns an id for stop().
    virtual TimerId start(int intervalMs, Tick tick) = 0;
    virtual void stop(TimerId id) = 0;

    // The precision timer runs its own thread on a real clock and falls back
    // to start() on a virtual one.
    virtual bool isVirtual() const = 0;
};

class RealClock final : public Clock {
public:
    RealClock();
    ~RealClock() override;
    std::int64_t nowNs() const override;
    std::int64_t eventTimeNs(std::uint64_t timestampMs) const override;
    QDate today() const override;
    TimerId start(int intervalMs, Tick tick) override;
    void stop(TimerId id) override;
    bool isVirtual() const override { return false; }

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Time stands still until advance() moves it; due ticks then fire in order of
// their deadlines (ties in order of starting), each at its own instant.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(QDate today = QDate(2026, 12, 8));
    std::int64_t nowNs() const override { return m_nowNs; }
    // A test stamps an event in milliseconds of this clock to say when it
    // happened; unstamped events happen as they arrive.
    std::int64_t eventTimeNs(std::uint64_t timestampMs) const override;
    QDate today() const override { return m_today; }
    void setToday(QDate date) { m_today = date; }
    TimerId start(int intervalMs, Tick tick) override;
    void stop(TimerId id) override;
    bool isVirtual() const override { return true; }

    void advance(std::int64_t ms);
    // Moves time forward as a machine too busy to deliver any tick would:
    // the deadlines passed meanwhile are dropped, and each timer goes on at
    // the next deadline of its grid.
    void stall(std::int64_t ms);
    // Advances in steps of stepMs until done() holds or limitMs have passed;
    // returns whether done() held.
    bool advanceUntil(const std::function<bool()>& done, std::int64_t limitMs,
                      std::int64_t stepMs = 1);
    int activeTimers() const { return static_cast<int>(m_timers.size()); }

private:
    struct Entry {
        std::int64_t dueNs;
        std::int64_t intervalNs;
        std::uint64_t order;
        Tick tick;
    };
    std::int64_t m_nowNs = 0;
    QDate m_today;
    TimerId m_nextId = 1;
    std::uint64_t m_nextOrder = 0;
    std::map<TimerId, Entry> m_timers;
};

// Time elapsed on a clock since a moment, in the units the game shows and
// writes. Reading the clock instead of counting ticks keeps the time true when
// ticks come late or are dropped on a busy machine.
class Stopwatch {
public:
    explicit Stopwatch(const Clock& clock) : m_clock(clock) {}

    void start() { m_startNs = m_clock.nowNs(); }
    void startAt(std::int64_t ns) { m_startNs = ns; }
    std::int64_t startNs() const { return m_startNs; }

    std::int64_t elapsedNs() const { return elapsedNsAt(m_clock.nowNs()); }
    std::int64_t elapsedNsAt(std::int64_t ns) const { return ns - m_startNs; }
    // Whole hundredths elapsed up to a moment; never negative, and capped
    // where an int ends (248 days).
    int hundredthsAt(std::int64_t ns) const { return wholeUnits(elapsedNsAt(ns), 10); }
    int hundredths() const { return hundredthsAt(m_clock.nowNs()); }
    int tenths() const { return wholeUnits(elapsedNs(), 100); }
    // Whole periods of periodMs elapsed.
    int periods(unsigned periodMs) const { return wholeUnits(elapsedNs(), periodMs); }

private:
    static int wholeUnits(std::int64_t ns, std::int64_t unitMs);

    const Clock& m_clock;
    std::int64_t m_startNs = 0;
};

} // namespace qx
