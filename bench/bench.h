// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the figures of the benchmark program share: the monotonic clock the
// precision timer runs on, summaries of samples, the verdict lines, and a
// whole game on the real clock in a scratch folder with silent sound and
// boxes that only record.

#include "screens/game.h"
#include "platform/clock.h"
#include "platform/services.h"

#include <QStringList>
#include <QTemporaryDir>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class QEventLoop;
class QWidget;

namespace qxbench {

struct Options {
    // Fewer ticks and trials, for a run of a few minutes.
    bool quick = false;
    // Figures to run, 1..7; all when empty.
    std::vector<int> only;
    bool wants(int figure) const;
};

constexpr std::int64_t kNsPerMs = 1'000'000;

// CLOCK_MONOTONIC in nanoseconds, the clock the precision timer schedules on.
std::int64_t monotonicNs();
// Sleeps to an absolute deadline on that clock.
void sleepUntilNs(std::int64_t deadlineNs);
// Lets the calling thread wake at its deadline instead of up to 50 µs later,
// as the precision timer's own thread does.
void tightenTimerSlack();
double toMs(std::int64_t ns);

struct Summary {
    double p50 = 0;
    double p99 = 0;
    double max = 0;
    double mean = 0;
    double sd = 0;
};
Summary summarize(std::vector<double> values);
double median(std::vector<double> values);

// "3.14", with the given decimals.
std::string fixed(double value, int decimals);
// "+3.14", "-0.50".
std::string signedFixed(double value, int decimals);
// "1 run", "3 runs".
std::string countOf(std::size_t n, const std::string& noun);

// Prints the figures as they come, each goal with PASS or SHORTFALL.
class Report {
public:
    void heading(const std::string& text);
    void line(const std::string& text);
    void check(const std::string& figure, const std::string& measured, const std::string& goal,
               bool pass, const std::string& whyShort = {});
    // The totals.
    void summary() const;

private:
    int m_passed = 0;
    int m_short = 0;
};

// A player's busy desktop until destroyed: twice as many threads as the
// machine has cores spin at normal priority, and on an X server another
// program grabs the whole screen over and over, as a screen recorder does.
class BusyMachine {
public:
    BusyMachine();
    ~BusyMachine();
    BusyMachine(const BusyMachine&) = delete;
    BusyMachine& operator=(const BusyMachine&) = delete;
    // ", 4 busy threads on 2 cores and the screen grabbed".
    std::string condition() const;

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_threads;
    bool m_grabbing = false;
};

// Presses ENTER on a form at an absolute moment, from a thread of its own, as
// the window system would deliver a key: a KeyPress event stamped with the
// moment in milliseconds of the monotonic clock, posted to the form's thread.
// The moment of posting is recorded, then `after` runs on the form's thread
// once the key has been handled.
class KeyPresser {
public:
    KeyPresser(QWidget* form, std::int64_t atNs, std::function<void()> after);
    ~KeyPresser();
    KeyPresser(const KeyPresser&) = delete;
    KeyPresser& operator=(const KeyPresser&) = delete;
    // When the key was posted; valid once `after` has run.
    std::int64_t pressedNs() const { return m_pressedNs.load(); }

private:
    std::atomic<std::int64_t> m_pressedNs{0};
    std::thread m_thread;
};

// Runs the event loop until `done` holds or timeoutMs have passed; returns
// whether `done` held. Checks every few milliseconds, so it is for the waits
// between measurements, not for the measured spans.
bool runUntil(const std::function<bool()>& done, int timeoutMs);
// Runs the event loop for the given time without waking it otherwise.
void runFor(int ms);

class SilentSound final : public qx::Sound {
public:
    void play(const QString&) override {}
};

// An input box answers "" and records when it opened; errors are kept.
class RecordingDialogs final : public qx::Dialogs {
public:
    void message(const QString&) override {}
    QString input(const QString& caption, const QString& prompt,
                  const QString& defaultText) override;
    void error(const QString& text) override { errors.append(text); }
    QString chooseFolder(const QString&) override { return {}; }

    std::int64_t inputAtNs = 0;
    std::function<void()> whileAsking;
    QStringList errors;
};

// A whole game on the real clock in a scratch folder holding the pictures and
// "Rec/" with the top ten and one registered, selected user. Handler errors
// land in dialogs.errors.
class BenchGame {
public:
    explicit BenchGame(const QString& user = QStringLiteral("bench"));
    ~BenchGame();
    BenchGame(const BenchGame&) = delete;
    BenchGame& operator=(const BenchGame&) = delete;

    // The errors handlers reported, in one line.
    std::string errorText() const;

    QString user;
    QTemporaryDir folder;
    QString previousFolder;
    qx::RealClock clock;
    qx::Random random;
    SilentSound sound;
    RecordingDialogs dialogs;
    // In the scratch folder, which the game is started in.
    qx::store::Records records{QStringLiteral("Rec")};
    qx::Services services{clock, random, sound, dialogs, records};
    std::unique_ptr<qx::Game> game;
};

void precisionTimerFigures(Report& report, const Options& options);
void clockFigures(Report& report, const Options& options);
void startupFigures(Report& report, const Options& options);
void recordFigures(Report& report, const Options& options);
void costFigures(Report& report, const Options& options);
void scaleFigures(Report& report, const Options& options);
void chartFigures(Report& report, const Options& options);
// The two sides of figures 6 and 7 each run in a process of their own: qx-bench
// starts itself with these arguments.
bool isScaleChild(int argc, char* argv[]);
int scaleChild(char* argv[]);

} // namespace qxbench
