// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A periodic timer with the accuracy of a millisecond whose ticks run on the
// thread the timer lives in (the user-interface thread), one at a time, like
// those of an ordinary window timer.
//
// The timer is armed exactly while Enabled is on, Interval is not 0 and a
// handler is set. Every effective change re-arms it, and the new period counts
// from the moment of the change; assigning a handler always re-arms, even the
// same one.
//
// On a real clock a thread of the timer's own sleeps to absolute deadlines of
// the monotonic clock, hands each tick to the user-interface thread and waits
// until it has been handled. A tick the user-interface thread has not taken up
// within DeliveryTimeout (90% of the period) is dropped, and the timer goes on
// at the next deadline of its grid: a busy machine costs repaints, never the
// timer. No tick is handed over while a handler of the timer runs, also inside
// a modal loop the handler opens, so ticks never pile up behind a slow handler;
// once it returns, ticks resume on the grid. A tick that was waiting to be
// handled when the timer was re-armed, switched off or destroyed is dropped.
// On a virtual clock the ticks come from the clock, with the same rule against
// re-entering a running handler.
//
// Ticks say when to repaint; what a screen shows or writes as time is read
// from the clock (qx::Stopwatch), since any tick may be dropped.
//
// An exception from the handler goes to the application's error report, and
// the timer goes on. The clock must outlive the timer.

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace qx {
class Clock;
class Dispatcher;
} // namespace qx

class TMMTimer : public QObject {
    Q_OBJECT

public:
    TMMTimer(qx::Clock& clock, qx::Dispatcher& dispatcher, QObject* parent = nullptr);
    ~TMMTimer() override;
    TMMTimer(const TMMTimer&) = delete;
    TMMTimer& operator=(const TMMTimer&) = delete;

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // Milliseconds; 0 keeps the timer from firing.
    unsigned Interval() const { return m_interval; }
    void setInterval(unsigned interval);
    void setOnTimer(std::function<void()> handler);
    // Milliseconds a tick may take to be handled.
    unsigned DeliveryTimeout() const { return m_deliveryTimeout; }

protected:
    // Runs the handler, if one is set.
    virtual void DoTimer();
    void RearmTimer();

private:
    struct Shared;

    void runTimerThread();
    void deliverTick(std::uint64_t arming, std::uint64_t tick, std::int64_t deadlineNs);
    void runHandler(const std::shared_ptr<Shared>& shared);

    qx::Clock& m_clock;
    qx::Dispatcher& m_dispatcher;
    bool m_enabled = false;
    unsigned m_interval = 1000;
    unsigned m_deliveryTimeout = 900;
    std::function<void()> m_onTimer;
    // The clock's timer on a virtual clock, 0 when none runs.
    int m_clockTimer = 0;
    // Arming state that the timer thread reads; shared so that a tick whose
    // handler destroys the timer can still acknowledge itself.
    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};
