// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/firstframe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QPointer>
#include <QWidget>

#include <cstdio>
#include <time.h>
#include <utility>

namespace qx {

namespace {

class FirstPaint final : public QObject {
public:
    FirstPaint(QWidget* window, std::function<void()> then)
        : QObject(QCoreApplication::instance()), m_window(window), m_watchAny(window == nullptr),
          m_then(std::move(then))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || !matches(watched))
            return false;
        QCoreApplication::instance()->removeEventFilter(this);
        // Queued, so that it runs once the paint that is starting, and its
        // flush, are over.
        QObject* context = m_watchAny ? static_cast<QObject*>(QCoreApplication::instance())
                                      : static_cast<QObject*>(m_window.data());
        if (context)
            QMetaObject::invokeMethod(context, std::move(m_then), Qt::QueuedConnection);
        deleteLater();
        return false;
    }

private:
    bool matches(QObject* watched) const
    {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        return m_watchAny || (m_window && widget->window() == m_window);
    }

    QPointer<QWidget> m_window;
    bool m_watchAny;
    std::function<void()> m_then;
};

// VmRSS of this process in kB, 0 when unknown.
long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

} // namespace

void afterFirstPaint(QWidget* window, std::function<void()> then)
{
    new FirstPaint(window, std::move(then));
}

void reportFirstFrame()
{
    afterFirstPaint(nullptr, [] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("first-frame-ns=%lld rss-kb=%ld\n",
                    static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec,
                    residentKb());
        std::fflush(stdout);
        QCoreApplication::quit();
    });
}

} // namespace qx
