// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Figure 4: the record store at scale. A player who keeps playing grows a
// record file without end; a result line goes first in it, and the viewer
// shows all of it. Both beside a plain read of the same file.

#include "bench.h"
#include "probes.h"

#include "screens/mainform.h"
#include "rules/textcodec.h"
#include "screens/stop.h"
#include "screens/kiroku.h"
#include "rules/catalogue.h"
#include "rules/store.h"

#include <QCoreApplication>
#include <QFile>

namespace qxbench {

namespace {

constexpr int kLines = 100'000;
constexpr double kWriteGoalMs = 50;
constexpr double kViewerGoalMs = 200;

// Stop results of every level, five a day, newest first.
qx::store::Lines history()
{
    namespace store = qx::store;
    store::Lines lines;
    lines.reserve(kLines);
    const QDate newest(2026, 12, 8);
    for (int i = 0; i < kLines; ++i) {
        const int level = 1 + i % 10;
        const int target = qx::stopQuestion(false, level, 0)->target;
        const int stopped = target + (i * 37) % 121 - 60;
        lines.append(qx::cp932::encode(
            store::formatDate(newest.addDays(-i / 5)) + QLatin1Char(',') +
            store::levelLabel(level) + QLatin1Char(',') + store::targetText(target) +
            QLatin1Char(',') + store::formatStopTime(stopped) + QLatin1Char(',') +
            store::formatDifference(stopped - target)));
    }
    return lines;
}

double timedMs(const std::function<void()>& work)
{
    const std::int64_t startNs = monotonicNs();
    work();
    return toMs(monotonicNs() - startNs);
}

std::vector<double> repeat(int times, const std::function<void()>& work)
{
    std::vector<double> ms;
    for (int i = 0; i < times; ++i)
        ms.push_back(timedMs(work));
    return ms;
}

} // namespace

void recordFigures(Report& report, const Options& options)
{
    namespace store = qx::store;
    const int repeats = options.quick ? 3 : 7;
    report.heading("4. Records at scale: a record file of 100,000 lines (median of " +
                   std::to_string(repeats) + " runs), beside a plain read of the same file");
    BenchGame g;
    const QString path = g.records.resultPath(g.user, qx::testDef(qx::TestKind::Stop).file());
    store::saveLines(path, history());

    qsizetype bytes = 0;
    const double readMs = median(repeat(repeats, [&] {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll().size();
    }));
    report.line("the file: " + fixed(static_cast<double>(bytes) / (1024 * 1024), 2) +
                " MB; a plain read takes " + fixed(readMs, 2) + " ms");

    TForm13& viewer = qxtest::window<TForm13>(*g.game);
    probe(qxtest::window<TForm1>(*g.game)).recordsButton().click();
    runFor(100);
    const double viewerMs = median(repeat(repeats, [&] {
        probe(viewer).testButton(qx::TestKind::Stop).click();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        viewer.repaint();
    }));
    const bool viewerShowsAll =
        probe(viewer).rowCount() == kLines + 1 && g.dialogs.errors.isEmpty();
    // The chart of the same file, opened from the viewer: every line read
    // into a result, the days grouped, the figures summed, the chart drawn.
    ProgressScreen& chart = qxtest::window<ProgressScreen>(*g.game);
    const double chartMs = median(repeat(repeats, [&] {
        probe(viewer).chartButton().click();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        chart.repaint();
        probe(chart).backButton().click();
        QCoreApplication::processEvents();
    }));
    const bool chartShowsAll =
        probe(chart).figures().text().contains(QStringLiteral("回数：%1").arg(kLines)) &&
        g.dialogs.errors.isEmpty();
    probe(viewer).backButton().click();

    store::Lines loaded;
    const double loadMs = median(repeat(repeats, [&] { loaded = store::loadLines(path); }));
    const double saveMs = median(repeat(repeats, [&] { store::saveLines(path, loaded); }));
    const QString line = QStringLiteral("2026/12/09,レベル3,5:00,5:03,+00:03");
    const double writeMs =
        median(repeat(repeats, [&] { g.records.writeResultLine(path, true, line); }));
    report.line("putting a line first is a load (" + fixed(loadMs, 2) +
                " ms: read and split into lines) and an atomic, durable save (" + fixed(saveMs, 2) +
                " ms: join, write, fsync, rename)");

    report.check("putting a line first in a 100,000-line file",
                 fixed(writeMs, 2) + " ms, " + fixed(writeMs / readMs, 1) + "x a plain read",
                 "under 50 ms", writeMs < kWriteGoalMs && g.dialogs.errors.isEmpty(),
                 g.dialogs.errors.isEmpty()
                     ? "the save waits for the disk (fsync) so that a crash never loses a result"
                     : g.errorText());
    report.check("the viewer showing a 100,000-line file",
                 fixed(viewerMs, 2) + " ms, " + fixed(viewerMs / readMs, 1) + "x a plain read",
                 "under 200 ms", viewerShowsAll && viewerMs < kViewerGoalMs,
                 viewerShowsAll
                     ? "the lines are indexed as the file opens; a row is split when shown"
                     : "the grid did not show every line");
    report.check("the chart of a 100,000-line file (55 years of play) opening",
                 fixed(chartMs, 2) + " ms, " + fixed(chartMs / readMs, 1) + "x a plain read",
                 "under 200 ms", chartShowsAll && chartMs < kViewerGoalMs,
                 chartShowsAll ? "every line read into a result, grouped by day and drawn"
                               : "the chart did not count every line");
}

} // namespace qxbench
