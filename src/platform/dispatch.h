// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Every event handler of the game runs through its Dispatcher: an exception
// that escapes a handler ends that handler only and goes to the error report
// (a message box titled "Quiravex"), and the game goes on. When the outermost
// handler returns, the work deferred until then runs (closing modal screens
// that were marked to close). The game owns one and hands it to what raises
// events: its windows, controls and timers.

#include "platform/lateness.h"
#include "rules/error.h"

#include <QString>

#include <functional>
#include <stdexcept>

namespace qx {

class Dispatcher {
public:
    using Report = std::function<void(const QString&)>;

    // Error texts go to report; without one they are dropped.
    explicit Dispatcher(Report report = {});
    Dispatcher(const Dispatcher&) = delete;
    Dispatcher& operator=(const Dispatcher&) = delete;

    void run(const std::function<void()>& handler);
    // Shows an error as an escaping one would be, for a handler that must
    // go on after it.
    void report(const QString& text) const;
    // Runs each time the outermost handler has returned.
    void setAfterHandlers(std::function<void()> settle) { m_settle = std::move(settle); }
    // How late the timed tests' events reached their handlers this session.
    Lateness& lateness() { return m_lateness; }

private:
    void runCaught(const std::function<void()>& handler);

    Report m_report;
    std::function<void()> m_settle;
    int m_depth = 0;
    Lateness m_lateness;
};

} // namespace qx
