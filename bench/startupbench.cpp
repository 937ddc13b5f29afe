// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Figure 3: start-up. Each run starts a fresh process and stamps the moment
// just before spawning it; the process prints the moment of its first frame
// on the same system-wide monotonic clock, and its resident memory then.

#include "bench.h"

#include "screens/game.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/dispatch.h"

#include <QApplication>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qxbench {

namespace {

constexpr const char* kHookVariable = "QUIRAVEX_BENCH_STARTUP";
constexpr const char* kReportKey = "first-frame-ns=";
constexpr std::int64_t kLaunchTimeoutNs = 30'000 * kNsPerMs;
constexpr double kStartupGoal = 2.0;
constexpr double kMemoryGoal = 1.5;

struct Launch {
    double ms = 0;
    long rssKb = 0;
    std::string error;
};

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Waits for the process to end, killing it once the deadline has passed.
void reap(pid_t pid, std::int64_t deadlineNs)
{
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (monotonicNs() > deadlineNs) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return;
        }
        usleep(1000);
    }
}

Launch launch(const std::vector<std::string>& command)
{
    Launch result;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        result.error = std::strerror(errno);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    // The game loads its pictures relative to its folder.
    posix_spawn_file_actions_addchdir_np(&actions, QX_GAME_DIR);

    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text(*entry);
        if (!startsWith(text, "QT_QPA_PLATFORM=") &&
            !startsWith(text, std::string(kHookVariable) + "="))
            environment.push_back(text);
    }
    environment.emplace_back("QT_QPA_PLATFORM=offscreen");
    environment.push_back(std::string(kHookVariable) + "=1");
    std::vector<char*> envp;
    for (std::string& text : environment)
        envp.push_back(text.data());
    envp.push_back(nullptr);
    std::vector<std::string> arguments = command;
    std::vector<char*> argv;
    for (std::string& text : arguments)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const std::int64_t startNs = monotonicNs();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        result.error = command[0] + ": " + std::strerror(spawned);
        return result;
    }

    // Everything the process writes, until it ends or the deadline passes.
    const std::int64_t deadlineNs = startNs + kLaunchTimeoutNs;
    std::string output;
    for (;;) {
        const std::int64_t leftMs = (deadlineNs - monotonicNs()) / kNsPerMs;
        if (leftMs <= 0)
            break;
        pollfd readable{fds[0], POLLIN, 0};
        const int ready = poll(&readable, 1, static_cast<int>(leftMs));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char buffer[4096];
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        output.append(buffer, static_cast<std::size_t>(got));
    }
    close(fds[0]);
    reap(pid, monotonicNs() + 5000 * kNsPerMs);

    long long frameNs = 0;
    const std::size_t at = output.find(kReportKey);
    if (at == std::string::npos ||
        std::sscanf(output.c_str() + at, "first-frame-ns=%lld rss-kb=%ld", &frameNs,
                    &result.rssKb) != 2) {
        const std::size_t end = output.find_last_not_of('\n');
        const std::size_t begin = end == std::string::npos ? 0 : output.rfind('\n', end);
        result.error =
            command[0] + " reported no first frame" +
            (output.empty() ? std::string()
                            : ": " + output.substr(begin == std::string::npos ? 0 : begin + 1));
        return result;
    }
    result.ms = toMs(frameNs - startNs);
    return result;
}

} // namespace

namespace {

// One half of the figure: the game and the bare window launched in turn.
void startupChecks(Report& report, int runs, const std::string& condition)
{
    const std::vector<std::string> game{QX_PROGRAM};
    const std::vector<std::string> bare{QX_BAREWINDOW};

    std::vector<double> gameMs;
    std::vector<double> bareMs;
    std::vector<double> gameKb;
    std::vector<double> bareKb;
    std::string error;
    for (int run = 0; run <= runs && error.empty(); ++run) {
        const Launch g = launch(game);
        const Launch b = launch(bare);
        error = !g.error.empty() ? g.error : b.error;
        // The first run of each fills the page cache; it is not counted.
        if (run == 0 || !error.empty())
            continue;
        gameMs.push_back(g.ms);
        bareMs.push_back(b.ms);
        gameKb.push_back(static_cast<double>(g.rssKb));
        bareKb.push_back(static_cast<double>(b.rssKb));
    }
    if (!error.empty()) {
        report.check("start-up" + condition, "not measured", "at most 2x the bare window", false,
                     error);
        return;
    }
    const double gameStart = median(gameMs);
    const double bareStart = median(bareMs);
    const double startRatio = gameStart / bareStart;
    report.check("start-up to the main menu's first frame" + condition,
                 fixed(gameStart, 1) + " ms, bare window " + fixed(bareStart, 1) +
                     " ms: " + fixed(startRatio, 2) + "x",
                 "at most 2x the bare window", startRatio <= kStartupGoal,
                 "what is left is loading the libraries the game links (Qt Multimedia and its "
                 "sound stack), building the main menu and reading its pictures drawn ahead");
    const double gameMemory = median(gameKb) / 1024;
    const double bareMemory = median(bareKb) / 1024;
    const double memoryRatio = gameMemory / bareMemory;
    report.check("resident memory after start-up" + condition,
                 fixed(gameMemory, 1) + " MB, bare window " + fixed(bareMemory, 1) +
                     " MB: " + fixed(memoryRatio, 2) + "x",
                 "at most 1.5x the bare window", memoryRatio <= kMemoryGoal,
                 "the libraries the game links and the main menu's pictures");
}

} // namespace

void startupFigures(Report& report, const Options& options)
{
    const int runs = options.quick ? 3 : 7;
    report.heading("3. Start-up: from spawning the process to the first frame of its window, "
                   "and its resident memory then, beside a bare Qt window program built the "
                   "same way (QT_QPA_PLATFORM=offscreen, median of " +
                   std::to_string(runs) +
                   " runs after one warm-up each), idle and on a busy "
                   "machine");
    startupChecks(report, runs, "");
    const BusyMachine busy;
    startupChecks(report, runs, busy.condition());
}

} // namespace qxbench
