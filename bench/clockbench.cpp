// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Figure 2: the screens' clocks against real time. Each screen runs in a
// whole game on the real clock; ENTER comes as a key event posted from
// another thread at a known moment, the way the window system delivers it,
// and the waits of the countdowns are skipped by calling their handlers.

#include "bench.h"
#include "probes.h"

#include "screens/dialog.h"
#include "screens/mainform.h"
#include "platform/dispatch.h"
#include "screens/LR.h"
#include "screens/picshow.h"
#include "screens/stop.h"
#include "widgets/ShadoLbl.h"

#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <optional>

namespace qxbench {

namespace {

constexpr std::int64_t kStopRunNs = 6000 * kNsPerMs;
constexpr int kReflexTickMs = 10;
constexpr double kReflexSdGoalMs = 1.0;
constexpr int kLrFrames = 301;
constexpr int kLrPeriodMs = 2;
constexpr double kLrTolerance = 0.03;
// Level 3 of the L-R test runs two digits at 2 ms; level 1 of the stop test
// has the shortest reveal.
constexpr int kLrLevel = 3;
constexpr int kStopLevel = 1;

struct Counts {
    int stopTrials;
    int reflexTrials;
    int lrTrials;
};

// Notes when a key reaches the form, just before the form handles it, and
// whether the form's clock was still running then.
class KeyArrival final : public QObject {
public:
    explicit KeyArrival(std::function<bool()> clockRunning)
        : m_clockRunning(std::move(clockRunning))
    {
    }
    std::int64_t atNs = 0;
    bool clockRunning = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            atNs = monotonicNs();
            clockRunning = m_clockRunning();
        }
        return false;
    }

private:
    std::function<bool()> m_clockRunning;
};

// Notes the moment of every paint of a widget: the gaps between them are
// what a player sees of a running clock.
class Paints final : public QObject {
public:
    explicit Paints(const qxtest::Control& widget) { widget.watch(this); }
    std::vector<std::int64_t> atNs;
    // The longest gap between two paints in ms, from the first paint at or
    // after fromNs up to toNs.
    double longestGapMs(std::int64_t fromNs, std::int64_t toNs) const
    {
        double longest = 0;
        std::int64_t previous = 0;
        for (const std::int64_t at : atNs) {
            if (at < fromNs || at > toNs)
                continue;
            if (previous != 0)
                longest = std::max(longest, toMs(at - previous));
            previous = at;
        }
        return longest;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            atNs.push_back(monotonicNs());
        return false;
    }
};

void closeDialog(BenchGame& g)
{
    g.game->dispatcher.run([&g] { qxtest::window<TForm10>(*g.game).Close(); });
}

struct StopRun {
    int clock;
    // Hundredths of real time from the click to ENTER: 600 when ENTER comes on
    // time, more when its thread woke late.
    int expected() const { return static_cast<int>(pressedMs / 10); }
    // When ENTER came, from the start click.
    double pressedMs;
    // Whether the clock still ran when ENTER came, or had switched itself off.
    bool running;
    // How long the start click took; the clock's grid starts near its end.
    double clickMs;
    // The longest time the running clock went without a repaint.
    double longestGapMs;
};

// The stop clock's count when ENTER comes 6.000 s after the start click.
std::vector<StopRun> stopTrials(int trials, std::string& failure)
{
    BenchGame g;
    TForm5& stop = qxtest::window<TForm5>(*g.game);
    g.game->session.playAlone(qx::TestKind::Stop);
    g.game->session.chooseLevel(kStopLevel);
    KeyArrival arrival([&stop] { return probe(stop).clockRunning(); });
    stop.installEventFilter(&arrival);
    const Paints paints(probe(stop).clockFace());
    runFor(100);
    std::vector<StopRun> runs;
    for (int trial = 0; trial < trials; ++trial) {
        if (!runUntil([&stop] { return frame(stop).startButton().isEnabled(); }, 5000)) {
            failure = "the reveal did not end";
            break;
        }
        QEventLoop loop;
        const std::int64_t clickNs = monotonicNs();
        frame(stop).startButton().click();
        const std::int64_t clickedNs = monotonicNs();
        const KeyPresser enter(&stop, clickNs + kStopRunNs, [&loop] { loop.quit(); });
        loop.exec();
        runs.push_back({probe(stop).clock(), toMs(enter.pressedNs() - clickNs),
                        arrival.clockRunning, toMs(clickedNs - clickNs),
                        paints.longestGapMs(clickNs, enter.pressedNs())});
    }
    runUntil([&stop] { return frame(stop).startButton().isEnabled(); }, 5000);
    if (!g.dialogs.errors.isEmpty())
        failure = g.errorText();
    return runs;
}

struct ReflexRun {
    // The count in milliseconds minus the true time from the picture to ENTER.
    std::vector<double> errorMs;
    // The same for a perfect 10 ms clock: its own rounding.
    std::vector<double> roundingMs;
    std::vector<double> keyLatencyMs;
    // From the picture's handler beginning to its paint.
    std::vector<double> pictureDelayMs;
    // Trials whose count was below a perfect clock's, and above it.
    int countedLow = 0;
    int countedHigh = 0;
    // Trials whose clock had switched itself off before ENTER came.
    int switchedOff = 0;
    std::string failure;
};

ReflexRun reflexTrials(int trials)
{
    BenchGame g;
    TForm7& reflex = qxtest::window<TForm7>(*g.game);
    g.game->session.playAlone(qx::TestKind::Reflex);
    KeyArrival arrival([&reflex] { return probe(reflex).reactionRunning(); });
    reflex.installEventFilter(&arrival);
    runFor(100);
    ReflexRun run;
    for (int trial = 0; trial < trials; ++trial) {
        frame(reflex).startButton().click();
        g.game->dispatcher.run([&reflex] { frame(reflex).countdownTick(); });
        g.game->dispatcher.run([&reflex] { frame(reflex).countdownTick(); });
        // Reaction times of 150 to 400 ms whose phases against the clock's
        // 10 ms ticks cover one tick evenly, so that the rounding of the
        // count averages out exactly over the trials.
        const std::int64_t delayNs = (150 + kReflexTickMs * ((7 * trial) % 26)) * kNsPerMs +
                                     (2 * trial + 1) * kReflexTickMs * kNsPerMs / (2 * trials);
        // The true time runs from the moment the picture reaches the screen:
        // its handler paints it and hands it to the window system at once.
        QEventLoop loop;
        const Paints paints(probe(reflex).pictureBox());
        const std::int64_t handlerNs = monotonicNs();
        g.game->dispatcher.run([&reflex] { probe(reflex).endWait(); });
        if (paints.atNs.empty()) {
            run.failure = "the picture was not painted by its handler";
            break;
        }
        const std::int64_t shownNs = paints.atNs.back();
        std::optional<KeyPresser> enter;
        enter.emplace(&reflex, shownNs + delayNs, [&loop] { loop.quit(); });
        loop.exec();
        const std::int64_t pressedNs = enter->pressedNs();
        enter.reset();
        run.pictureDelayMs.push_back(toMs(shownNs - handlerNs));
        const QString shown = probe(qxtest::window<TForm10>(*g.game)).verdict().text();
        bool number = false;
        const int hundredths = QString(shown).remove(QLatin1Char(':')).toInt(&number);
        closeDialog(g);
        if (!number) {
            run.failure = "the answer showed \"" + shown.toStdString() + "\"";
            break;
        }
        const double trueMs = toMs(pressedNs - shownNs);
        const double countMs = hundredths * kReflexTickMs;
        const double idealMs = std::floor(trueMs / kReflexTickMs) * kReflexTickMs;
        run.errorMs.push_back(countMs - trueMs);
        run.roundingMs.push_back(idealMs - trueMs);
        run.keyLatencyMs.push_back(toMs(arrival.atNs - pressedNs));
        if (!arrival.clockRunning)
            ++run.switchedOff;
        if (countMs < idealMs)
            ++run.countedLow;
        if (countMs > idealMs)
            ++run.countedHigh;
        runFor(20);
    }
    if (!g.dialogs.errors.isEmpty())
        run.failure = g.errorText();
    return run;
}

// From switching the L-R test's timer on to its answer box, in ms; nothing for
// a run that never reached the box.
std::vector<double> lrTrials(int trials, std::string& failure)
{
    BenchGame g;
    TForm3& lr = qxtest::window<TForm3>(*g.game);
    g.game->session.playAlone(qx::TestKind::LR);
    g.game->session.chooseLevel(kLrLevel);
    runFor(100);
    std::vector<double> runs;
    for (int trial = 0; trial < trials; ++trial) {
        QEventLoop loop;
        g.dialogs.inputAtNs = 0;
        g.dialogs.whileAsking = [&loop] { loop.quit(); };
        frame(lr).startButton().click();
        g.game->dispatcher.run([&lr] { frame(lr).countdownTick(); });
        const std::int64_t enabledNs = monotonicNs();
        g.game->dispatcher.run([&lr] { frame(lr).countdownTick(); });
        QTimer::singleShot(5000, &loop, [&loop] { loop.quit(); });
        loop.exec();
        if (g.dialogs.inputAtNs == 0) {
            failure = "the run stopped at frame " + std::to_string(probe(lr).numberX() / 2) +
                      " of " + std::to_string(kLrFrames) + ": its timer was switched off";
            g.game->dispatcher.run([&lr] { probe(lr).closeQuery(); });
            continue;
        }
        runs.push_back(toMs(g.dialogs.inputAtNs - enabledNs));
        closeDialog(g);
        runFor(20);
    }
    g.dialogs.whileAsking = {};
    if (!g.dialogs.errors.isEmpty())
        failure = g.errorText();
    return runs;
}

std::string describe(const std::vector<StopRun>& runs)
{
    std::string text;
    for (const StopRun& run : runs)
        text += (text.empty() ? "" : ", ") + std::to_string(run.clock) + " (ENTER at " +
                fixed(run.pressedMs, 2) + " ms, the click took " + fixed(run.clickMs, 2) + " ms)";
    return text;
}

// Why a Reflex count strayed from a perfect clock's.
std::string strayed(const ReflexRun& reflex, const Summary& picture)
{
    const auto trials = [](int n) { return "in " + countOf(static_cast<std::size_t>(n), "trial"); };
    std::vector<std::string> parts;
    if (reflex.switchedOff > 0)
        parts.push_back(trials(reflex.switchedOff) +
                        " the clock had switched itself off, which it must never do");
    if (reflex.countedLow > 0)
        parts.push_back(trials(reflex.countedLow) +
                        " the count fell short: the key's stamp has whole milliseconds, and the "
                        "reaction clock starts when the picture's paint is done, which began up "
                        "to " +
                        fixed(picture.max, 2) + " ms after its handler");
    if (reflex.countedHigh > 0)
        parts.push_back(trials(reflex.countedHigh) +
                        " the count ran ahead of the time from the paint to the key's stamp");
    std::string why;
    for (const std::string& part : parts)
        why += (why.empty() ? "" : "; ") + part;
    return why;
}

void clockChecks(Report& report, const Counts& counts, const std::string& condition)
{
    const ReflexRun reflex = reflexTrials(counts.reflexTrials);
    std::string stopFailure;
    const std::vector<StopRun> stops = stopTrials(counts.stopTrials, stopFailure);
    const bool stopOk = !stops.empty() && stopFailure.empty() &&
                        std::all_of(stops.begin(), stops.end(), [](const StopRun& run) {
                            return std::abs(run.clock - run.expected()) <= 1;
                        });
    std::string stopWhy = stopFailure;
    if (stopWhy.empty())
        stopWhy = "the clock's reading strayed from the time between the click and the key's "
                  "stamp";
    if (std::any_of(stops.begin(), stops.end(),
                    [](const StopRun& run) { return run.clock == run.expected() - 1; }))
        report.line("a reading one short is that of a clock that keeps time: it starts inside "
                    "the start click's handler, after the moment the click was sent");
    report.check("stop clock after 6.000 s" + condition, "ClockHundredths " + describe(stops),
                 "600 ± 1, the hundredths of real time from the click to ENTER", stopOk, stopWhy);
    const int stopsOff = static_cast<int>(
        std::count_if(stops.begin(), stops.end(), [](const StopRun& run) { return !run.running; }));
    double longestGap = 0;
    for (const StopRun& run : stops)
        longestGap = std::max(longestGap, run.longestGapMs);
    report.check("no timer switched off" + condition,
                 std::to_string(stopsOff + reflex.switchedOff) + " of " +
                     countOf(stops.size() + reflex.errorMs.size(), "timed answer") +
                     "; the running stop clock went at most " + fixed(longestGap, 1) +
                     " ms without a repaint (10 ms when every tick is on time)",
                 "none", stopsOff + reflex.switchedOff == 0 && !stops.empty(),
                 "a clock's timer was off when its ENTER came");

    const Summary error = summarize(reflex.errorMs);
    const Summary rounding = summarize(reflex.roundingMs);
    const Summary latency = summarize(reflex.keyLatencyMs);
    const double addedVariance = error.sd * error.sd - rounding.sd * rounding.sd;
    const double addedSd = std::sqrt(std::max(0.0, addedVariance));
    const std::string trials = countOf(reflex.errorMs.size(), "trial");
    const Summary picture = summarize(reflex.pictureDelayMs);
    report.line("Reflex" + condition + ": the picture reached the screen " + fixed(picture.p50, 3) +
                " / " + fixed(picture.p99, 3) + " / " + fixed(picture.max, 3) +
                " ms after its handler began, and ENTER the form " + fixed(latency.p50, 3) + " / " +
                fixed(latency.p99, 3) + " / " + fixed(latency.max, 3) +
                " ms after the key went down (p50 / p99 / max; the key's stamp keeps that wait "
                "out of the count); against "
                "a perfect 10 ms clock started with the picture, the count was low in " +
                std::to_string(reflex.countedLow) + " and high in " +
                std::to_string(reflex.countedHigh) + " of " + trials);
    const bool reflexRan = reflex.failure.empty() && !reflex.errorMs.empty();
    report.check("Reflex bias" + condition,
                 fixed(error.mean, 2) + " ms (count x 10 ms minus the true time, " + trials +
                     "; a perfect 10 ms clock gives " + fixed(rounding.mean, 2) + ")",
                 "at most one tick, 10 ms", reflexRan && std::abs(error.mean) <= kReflexTickMs,
                 reflex.failure.empty() ? strayed(reflex, picture) : reflex.failure);
    report.check("Reflex SD added by the software" + condition,
                 fixed(addedSd, 3) + " ms (total SD " + fixed(error.sd, 3) +
                     " ms, the 10 ms tick's own rounding " + fixed(rounding.sd, 3) + " ms)",
                 "at most 1 ms", reflexRan && addedSd <= kReflexSdGoalMs,
                 reflex.failure.empty() ? strayed(reflex, picture) : reflex.failure);

    std::string lrFailure;
    const std::vector<double> runs = lrTrials(counts.lrTrials, lrFailure);
    const Summary lr = summarize(runs);
    const double nominal = kLrFrames * kLrPeriodMs;
    const double shortest = runs.empty() ? 0 : *std::min_element(runs.begin(), runs.end());
    const bool lrOk = !runs.empty() && lrFailure.empty() &&
                      shortest >= nominal * (1 - kLrTolerance) &&
                      lr.max <= nominal * (1 + kLrTolerance);
    report.check("L-R run of 301 frames at 2 ms" + condition,
                 "mean " + fixed(lr.mean, 2) + " ms, " + fixed(shortest, 2) + " to " +
                     fixed(lr.max, 2) + " ms (" + countOf(runs.size(), "run") + ")",
                 "602 ms ± 3% (" + fixed(nominal * (1 - kLrTolerance), 1) + " to " +
                     fixed(nominal * (1 + kLrTolerance), 1) + " ms)",
                 lrOk,
                 lrFailure.empty() ? "the answer box opened late: the UI thread was not run for "
                                     "that long after the last frame was due"
                                   : lrFailure);
}

} // namespace

void clockFigures(Report& report, const Options& options)
{
    const Counts counts = options.quick ? Counts{1, 50, 5} : Counts{3, 200, 20};
    report.heading("2. Clocks that keep time: the screens on the real clock, ENTER posted as a key "
                   "event at a known moment (" +
                   countOf(static_cast<std::size_t>(counts.stopTrials), "stop run") + ", " +
                   countOf(static_cast<std::size_t>(counts.reflexTrials), "Reflex trial") + ", " +
                   countOf(static_cast<std::size_t>(counts.lrTrials), "L-R run") +
                   (options.quick ? ", --quick" : "") + "), idle and on a busy machine");
    clockChecks(report, counts, "");
    const BusyMachine busy;
    clockChecks(report, counts, busy.condition());
}

} // namespace qxbench
