// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/dispatch.h"

#include <exception>
#include <utility>

namespace qx {

Dispatcher::Dispatcher(Report report) : m_report(std::move(report)) {}

void Dispatcher::run(const std::function<void()>& handler)
{
    ++m_depth;
    runCaught(handler);
    --m_depth;
    if (m_depth == 0 && m_settle) {
        // Settling runs handlers of its own (FormCloseQuery, continuations),
        // which must not settle again from inside.
        ++m_depth;
        runCaught(m_settle);
        --m_depth;
    }
}

void Dispatcher::report(const QString& text) const
{
    if (m_report)
        m_report(text);
}

void Dispatcher::runCaught(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const Error& e) {
        report(e.message());
    } catch (const std::exception& e) {
        report(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace qx
