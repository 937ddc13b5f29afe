// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Figure 5: what the game costs the machine while it waits. CPU time and
// context switches of the whole process (every thread) per second of real
// time, idle on the main menu and while the stop clock ticks every 10 ms.

#include "bench.h"
#include "probes.h"

#include "screens/mainform.h"
#include "screens/stop.h"

#include <sys/resource.h>
#include <sys/time.h>

namespace qxbench {

namespace {

constexpr double kIdleGoalMs = 10;
// A busy wait would take 1000 ms of CPU per second.
constexpr double kRunningGoalMs = 200;
constexpr double kStopTicksPerSecond = 100;

struct Cost {
    double cpuMsPerSecond = 0;
    double switchesPerSecond = 0;
};

double seconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

Cost measure(int ms)
{
    rusage before{};
    rusage after{};
    getrusage(RUSAGE_SELF, &before);
    const std::int64_t startNs = monotonicNs();
    runFor(ms);
    getrusage(RUSAGE_SELF, &after);
    const double wall = toMs(monotonicNs() - startNs) / 1000;
    const double cpu = seconds(after.ru_utime) - seconds(before.ru_utime) +
                       seconds(after.ru_stime) - seconds(before.ru_stime);
    const auto switches =
        static_cast<double>(after.ru_nvcsw - before.ru_nvcsw + after.ru_nivcsw - before.ru_nivcsw);
    return {cpu * 1000 / wall, switches / wall};
}

std::string describe(const Cost& cost)
{
    return fixed(cost.cpuMsPerSecond, 2) + " ms of CPU per second, " +
           fixed(cost.switchesPerSecond, 1) + " context switches per second";
}

} // namespace

void costFigures(Report& report, const Options& options)
{
    const int ms = options.quick ? 3000 : 10000;
    report.heading("5. The game's own cost: CPU time of the whole process per second (getrusage) "
                   "over " +
                   std::to_string(ms / 1000) + " s");
    BenchGame g;
    runFor(500);
    const Cost idle = measure(ms);
    report.check("idle on the main menu", describe(idle),
                 "near zero: at most " + fixed(kIdleGoalMs, 0) + " ms per second",
                 idle.cpuMsPerSecond <= kIdleGoalMs,
                 "something wakes the idle game: a timer left running or a poll");

    TForm5& stop = qxtest::window<TForm5>(*g.game);
    g.game->session.playAlone(qx::TestKind::Stop);
    g.game->session.chooseLevel(10);
    runFor(200);
    frame(stop).startButton().click();
    runFor(200);
    const Cost running = measure(ms);
    const bool ran = probe(stop).clockRunning();
    frame(stop).backButton().click();
    report.line(
        "while the stop clock runs: " + fixed(running.cpuMsPerSecond / kStopTicksPerSecond, 3) +
        " ms of CPU per 10 ms tick, painting the clock included");
    report.check("while the stop clock runs", describe(running),
                 "no busy waiting: at most " + fixed(kRunningGoalMs, 0) +
                     " ms per second (a busy wait takes 1000)",
                 ran && running.cpuMsPerSecond <= kRunningGoalMs,
                 ran ? "each tick's painting costs more than it should"
                     : "the clock switched itself off");
}

} // namespace qxbench
