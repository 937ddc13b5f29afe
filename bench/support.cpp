// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench.h"

#include "screens/mainform.h"
#include "platform/dispatch.h"
#include "rules/users.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <stdexcept>
#include <time.h>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace qxbench {

namespace {
constexpr std::int64_t kNsPerSecond = 1'000'000'000;
} // namespace

bool Options::wants(int figure) const
{
    return only.empty() || std::find(only.begin(), only.end(), figure) != only.end();
}

std::int64_t monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * kNsPerSecond + now.tv_nsec;
}

void sleepUntilNs(std::int64_t deadlineNs)
{
    timespec deadline{};
    deadline.tv_sec = static_cast<time_t>(deadlineNs / kNsPerSecond);
    deadline.tv_nsec = static_cast<long>(deadlineNs % kNsPerSecond);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

void tightenTimerSlack()
{
#ifdef __linux__
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
#endif
}

double toMs(std::int64_t ns)
{
    return static_cast<double>(ns) / kNsPerMs;
}

Summary summarize(std::vector<double> values)
{
    Summary summary;
    if (values.empty())
        return summary;
    std::sort(values.begin(), values.end());
    const auto rank = [&values](double quantile) {
        const auto index =
            static_cast<std::size_t>(std::ceil(quantile * static_cast<double>(values.size())));
        return values[std::clamp<std::size_t>(index, 1, values.size()) - 1];
    };
    summary.p50 = rank(0.5);
    summary.p99 = rank(0.99);
    summary.max = values.back();
    const double n = static_cast<double>(values.size());
    summary.mean = std::accumulate(values.begin(), values.end(), 0.0) / n;
    if (values.size() > 1) {
        double squares = 0;
        for (double value : values)
            squares += (value - summary.mean) * (value - summary.mean);
        summary.sd = std::sqrt(squares / (n - 1));
    }
    return summary;
}

double median(std::vector<double> values)
{
    return summarize(std::move(values)).p50;
}

std::string fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string signedFixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%+.*f", decimals, value);
    return text;
}

std::string countOf(std::size_t n, const std::string& noun)
{
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

void Report::heading(const std::string& text)
{
    std::printf("\n%s\n", text.c_str());
}

void Report::line(const std::string& text)
{
    std::printf("    %s\n", text.c_str());
}

void Report::check(const std::string& figure, const std::string& measured, const std::string& goal,
                   bool pass, const std::string& whyShort)
{
    std::printf("  %-10s %s: %s  [goal: %s]\n", pass ? "PASS" : "SHORTFALL", figure.c_str(),
                measured.c_str(), goal.c_str());
    if (!pass && !whyShort.empty())
        std::printf("             why: %s\n", whyShort.c_str());
    ++(pass ? m_passed : m_short);
}

void Report::summary() const
{
    std::printf("\n%d goals met, %d shortfalls.\n", m_passed, m_short);
}

BusyMachine::BusyMachine()
{
    const unsigned spinners = 2 * std::max(1U, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < spinners; ++i)
        m_threads.emplace_back([this] {
            while (!m_stop.load(std::memory_order_relaxed)) {
            }
        });
    m_grabbing = QGuiApplication::platformName() == QLatin1String("xcb");
    if (m_grabbing)
        m_threads.emplace_back([this] {
            while (!m_stop.load()) {
                if (std::system("xwd -root -silent > /dev/null 2>&1") != 0)
                    return;
            }
        });
}

BusyMachine::~BusyMachine()
{
    m_stop = true;
    for (std::thread& thread : m_threads)
        thread.join();
}

std::string BusyMachine::condition() const
{
    const std::size_t spinners = m_threads.size() - (m_grabbing ? 1 : 0);
    return ", " + std::to_string(spinners) + " busy threads on " +
           countOf(std::max(1U, std::thread::hardware_concurrency()), "core") +
           (m_grabbing ? " and the screen grabbed" : "");
}

KeyPresser::KeyPresser(QWidget* form, std::int64_t atNs, std::function<void()> after)
{
    // Made here: a key event made on another thread would create Qt's keyboard
    // device there.
    auto* press =
        new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    auto* release =
        new QKeyEvent(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    m_thread = std::thread([this, form, atNs, press, release, after = std::move(after)] {
        tightenTimerSlack();
        sleepUntilNs(atNs);
        m_pressedNs = monotonicNs();
        press->setTimestamp(static_cast<quint64>(m_pressedNs / kNsPerMs));
        release->setTimestamp(static_cast<quint64>(m_pressedNs / kNsPerMs));
        QCoreApplication::postEvent(form, press);
        QCoreApplication::postEvent(form, release);
        QMetaObject::invokeMethod(form, after, Qt::QueuedConnection);
    });
}

KeyPresser::~KeyPresser()
{
    m_thread.join();
}

bool runUntil(const std::function<bool()>& done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, [&loop] { loop.quit(); });
    poll.start();
    loop.exec();
    return done();
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, [&loop] { loop.quit(); });
    loop.exec();
}

QString RecordingDialogs::input(const QString&, const QString&, const QString&)
{
    inputAtNs = monotonicNs();
    if (whileAsking)
        whileAsking();
    return {};
}

BenchGame::BenchGame(const QString& name) : user(name), previousFolder(QDir::currentPath())
{
    if (!folder.isValid())
        throw std::runtime_error("cannot make a scratch folder");
    const QDir dir(folder.path());
    dir.mkdir(QStringLiteral("Rec"));
    const QString ranking = folder.path() + QStringLiteral("/Rec/record.dat");
    QFile::copy(QStringLiteral(QX_SOURCE_DIR "/assets/record.dat"), ranking);
    QFile(ranking).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    dir.mkdir(QStringLiteral("bmp"));
    const QDir pictures(QStringLiteral(QX_GAME_DIR "/bmp"));
    for (const QString& file : pictures.entryList(QDir::Files))
        QFile::copy(pictures.filePath(file), folder.path() + QStringLiteral("/bmp/") + file);
    QDir::setCurrent(folder.path());

    game = std::make_unique<qx::Game>(services);
    game->start();
    qx::users::registerUser(records, user);
    game->session.selectUser(user);
}

BenchGame::~BenchGame()
{
    game.reset();
    QDir::setCurrent(previousFolder);
}

std::string BenchGame::errorText() const
{
    return dialogs.errors.join(QStringLiteral("; ")).toStdString();
}

} // namespace qxbench
