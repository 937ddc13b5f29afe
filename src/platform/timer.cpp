// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/timer.h"

#include "platform/clock.h"
#include "platform/dispatch.h"

namespace qx {

Timer::Timer(Clock& clock, Dispatcher& dispatcher, int interval)
    : m_clock(clock), m_dispatcher(dispatcher), m_interval(interval)
{
}

Timer::~Timer()
{
    if (m_id != 0)
        m_clock.stop(m_id);
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    update();
}

void Timer::setInterval(int interval)
{
    if (interval == m_interval)
        return;
    m_interval = interval;
    update();
}

void Timer::setOnTimer(std::function<void()> handler)
{
    m_onTimer = std::move(handler);
    update();
}

void Timer::update()
{
    if (m_id != 0) {
        m_clock.stop(m_id);
        m_id = 0;
    }
    if (m_enabled && m_interval > 0 && m_onTimer)
        m_id = m_clock.start(m_interval, [this] {
            const auto handler = m_onTimer;
            m_dispatcher.run(handler);
        });
}

} // namespace qx
