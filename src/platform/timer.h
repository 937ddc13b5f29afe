// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// An ordinary window timer on the game's clock: it ticks every Interval ms
// while Enabled, Interval is not 0 and a handler is set. Every effective
// change restarts the period from the moment of the change.

#include <functional>

namespace qx {

class Clock;
class Dispatcher;

class Timer {
public:
    Timer(Clock& clock, Dispatcher& dispatcher, int interval = 1000);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int Interval() const { return m_interval; }
    void setInterval(int interval);
    void setOnTimer(std::function<void()> handler);

private:
    void update();

    Clock& m_clock;
    Dispatcher& m_dispatcher;
    bool m_enabled = false;
    int m_interval;
    std::function<void()> m_onTimer;
    int m_id = 0;
};

} // namespace qx
