#pragma once

// Reports a program's first frame: once the first paint of its first window
// has been handled and flushed, prints the moment on CLOCK_MONOTONIC (the
// clock the parent that started the process stamps with) and the resident
// memory, then quits. The start-up benchmark reads this line from the program
// and from a bare window built the same way.

#include <QCoreApplication>
#include <QEvent>
#include <QFile>

#include <cstdio>
#include <time.h>

namespace qx {

// VmRSS of this process in kB, 0 when unknown.
inline long residentKb()
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

class FirstFrame final : public QObject {
public:
    FirstFrame() { QCoreApplication::instance()->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (m_seen || event->type() != QEvent::Paint)
            return false;
        m_seen = true;
        // Runs once the paint that is starting, and its flush, are over.
        QMetaObject::invokeMethod(
            this,
            [] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("first-frame-ns=%lld rss-kb=%ld\n",
                            static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec,
                            residentKb());
                std::fflush(stdout);
                QCoreApplication::quit();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    bool m_seen = false;
};

} // namespace qx
