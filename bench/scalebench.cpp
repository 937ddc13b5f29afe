// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Figure 6: a record file of ten million lines in the viewer, and a damaged
// file of one line of 200 MB in the viewer, the chart and the export. Figure
// 7: the chart of a file of five million results, idle and on a busy
// machine. Each
// side runs in a process of its own, so that its peak resident memory is its
// own: the game's side, and a plain read of the same file in an equal
// process (the same game, its viewer open and empty).

#include "bench.h"
#include "probes.h"

#include "screens/mainform.h"
#include "rules/csvexport.h"
#include "screens/kiroku.h"
#include "screens/progressview.h"
#include "rules/store.h"
#include "rules/stoprules.h"
#include "rules/textcodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace qxbench {

namespace {

constexpr qsizetype kLines = 10'000'000;
// A stop line whose last field runs on in commas to 200 MB.
constexpr qsizetype kLongLineBytes = qsizetype(200) << 20;
// The chart's file: five million stop results, a hundred a day.
constexpr qsizetype kChartLines = 5'000'000;
constexpr int kChartLinesADay = 100;
constexpr double kChartGoalMs = 1000;
constexpr double kTimeGoal = 5.0;   // times a plain read
constexpr double kMemoryGoal = 1.5; // times a plain read's peak

const char* const kChildFlag = "--scale-child";

// The peak resident memory of this program, from VmHWM: getrusage() keeps
// across exec the peak of the process that started it, here the benchmark
// that holds the files it writes.
long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// Stop results of every level, newest first, as the stop screen writes them.
QByteArray history()
{
    const QByteArray block = "2026/12/08,\x83\x8C\x83\x78\x83\x8B"
                             "3,5:00,4:97,-00:03\r\n"
                             "2026/12/08,\x83\x8C\x83\x78\x83\x8B"
                             "10,6:00,6:00,00:00\r\n";
    QByteArray bytes;
    bytes.reserve(block.size() * kLines / 2);
    for (qsizetype i = 0; i < kLines / 2; ++i)
        bytes.append(block);
    return bytes;
}

// Stop results of every level and of stops early and late, newest first, as
// the stop screen writes them, over 137 years of play.
QByteArray chartHistory()
{
    namespace store = qx::store;
    // The lines differ in their level and their stop only: 10 x 121 tails.
    std::vector<QByteArray> tails;
    for (int level = 1; level <= 10; ++level) {
        const int target = qx::stopQuestion(false, level, 0)->target;
        for (int offset = -60; offset <= 60; ++offset)
            tails.push_back(
                qx::cp932::encode(QLatin1Char(',') + store::levelLabel(level) + QLatin1Char(',') +
                                  store::targetText(target) + QLatin1Char(',') +
                                  store::formatStopTime(target + offset) + QLatin1Char(',') +
                                  store::formatDifference(offset) + QStringLiteral("\r\n")));
    }
    QByteArray bytes;
    bytes.reserve(kChartLines * 40);
    const QDate newest(2026, 12, 8);
    QByteArray date;
    for (qsizetype i = 0; i < kChartLines; ++i) {
        if (i % kChartLinesADay == 0)
            date = qx::cp932::encode(store::formatDate(newest.addDays(-i / kChartLinesADay)));
        const auto level = static_cast<std::size_t>(i % 10);
        const auto offset = static_cast<std::size_t>((i * 37) % 121);
        bytes.append(date);
        bytes.append(tails[level * 121 + offset]);
    }
    return bytes;
}

// The processor time of this process, all its threads, user and system.
double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

struct Side {
    double ms = 0;
    double cpuMs = 0;
    double peakMb = 0;
    long long rows = 0;
    std::string error;
};

Side runSide(const QString& mode, const QString& path)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(kChildFlag), mode, path});
    Side side;
    if (!child.waitForFinished(600'000)) {
        child.kill();
        child.waitForFinished();
        side.error = "the child process did not end";
        return side;
    }
    const QByteArray output = child.readAllStandardOutput();
    long peak = 0;
    if (std::sscanf(output.constData(), "ms=%lf peak-kb=%ld rows=%lld cpu-ms=%lf", &side.ms, &peak,
                    &side.rows, &side.cpuMs) != 4) {
        side.error = "the child reported nothing: " +
                     child.readAllStandardError().trimmed().right(200).toStdString();
        return side;
    }
    side.peakMb = static_cast<double>(peak) / 1024;
    return side;
}

// Each side's median time over the runs, and its last peak.
struct Sides {
    std::vector<double> ms;
    Side last;
};

void longLineFigures(Report& report, int runs, const QTemporaryDir& folder)
{
    const QString path = QDir(folder.path()).filePath(QStringLiteral("long.dat"));
    {
        QFile file(path);
        const QByteArray head = "2026/12/08,\x83\x8C\x83\x78\x83\x8B"
                                "3,5:00,4:97,";
        // Written a megabyte at a time: this process stays small.
        const QByteArray commas((qsizetype(1) << 20), ',');
        bool written = file.open(QIODevice::WriteOnly) && file.write(head) >= 0;
        for (qsizetype left = kLongLineBytes - head.size() - 2; written && left > 0;
             left -= commas.size())
            written = file.write(commas.constData(), std::min(left, commas.size())) >= 0;
        if (!written || file.write("\r\n") < 0) {
            report.line("cannot write the file of one 200 MB line");
            return;
        }
    }
    report.line("a stop record file of one line of 200 MB (commas after its first four fields), "
                "as a damaged file may be: the viewer, the chart and the export of it, beside a "
                "plain read");
    const std::vector<std::string> modes{"read", "viewer", "chart", "export"};
    std::vector<Sides> sides(modes.size());
    for (int i = 0; i < runs; ++i) {
        for (std::size_t m = 0; m < modes.size(); ++m) {
            Side side = runSide(QString::fromStdString(modes[m]), path);
            if (side.error.empty())
                sides[m].ms.push_back(side.ms);
            sides[m].last = side;
        }
    }
    if (sides[0].ms.empty()) {
        report.check("a plain read of one 200 MB line", "not measured", "", false,
                     sides[0].last.error);
        return;
    }
    const double readMs = median(sides[0].ms);
    const double readMb = sides[0].last.peakMb;
    report.line("a plain read: " + fixed(readMs, 0) + " ms, peak " + fixed(readMb, 0) + " MB");
    const std::vector<std::string> why{
        "", "only the fields a row shows are split; the commas are passed at a scan's speed",
        "only the five fields a result needs are read; the line keeps the file's buffer",
        "the last field is passed eight ASCII bytes at a time and written in pieces of 64 KB; "
        "the file is synced to the disk"};
    for (std::size_t m = 1; m < modes.size(); ++m) {
        const Side& side = sides[m].last;
        const std::string figure = "the " + modes[m] + " of one 200 MB line";
        if (sides[m].ms.empty() || side.rows != 1) {
            report.check(figure, "not measured", "", false,
                         side.error.empty() ? "it did not read the line" : side.error);
            continue;
        }
        const double ms = median(sides[m].ms);
        report.check(figure,
                     fixed(ms, 0) + " ms, " + fixed(ms / readMs, 1) + "x a plain read; peak " +
                         fixed(side.peakMb, 0) + " MB, " + fixed(side.peakMb / readMb, 2) + "x",
                     "at most " + fixed(kTimeGoal, 0) + "x the time and " + fixed(kMemoryGoal, 1) +
                         "x the memory of a plain read",
                     ms <= kTimeGoal * readMs && side.peakMb <= kMemoryGoal * readMb, why[m]);
    }
}

} // namespace

// The chart of five million results, each run in a process of its own, idle
// and then beside twice as many spinning threads as the machine has cores.
void chartFigures(Report& report, const Options& options)
{
    const int runs = options.quick ? 3 : 5;
    report.heading("7. The chart of five million results, in a process of its own (median of " +
                   countOf(static_cast<std::size_t>(runs), "run") +
                   "); idle, then on a busy machine");
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("chart.dat"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(chartHistory()) < 0) {
            report.line("cannot write the file of five million lines");
            return;
        }
        report.line("the chart of a stop record file of 5,000,000 results, 100 a day over 137 "
                    "years (" +
                    fixed(static_cast<double>(file.size()) / (1024 * 1024), 1) +
                    " MB), as the viewer's chart button opens it: read, every line a result, "
                    "grouped by day, summed and drawn; beside a plain read");
    }
    const auto measure = [&](const std::string& condition) {
        std::vector<double> readMs;
        std::vector<double> chartMs;
        Side chart;
        for (int i = 0; i < runs; ++i) {
            const Side read = runSide(QStringLiteral("read"), path);
            chart = runSide(QStringLiteral("progress"), path);
            if (!read.error.empty() || !chart.error.empty()) {
                if (chart.error.empty())
                    chart.error = read.error;
                break;
            }
            readMs.push_back(read.ms);
            chartMs.push_back(chart.ms);
        }
        const std::string figure = "the chart of 5,000,000 results" + condition;
        if (chartMs.empty() || chart.rows != kChartLines) {
            report.check(figure, "not measured", "under 1 s", false,
                         chart.error.empty() ? "the chart did not count every result"
                                             : chart.error);
            return;
        }
        const double ms = median(chartMs);
        const double read = median(readMs);
        std::string why = "it takes " + fixed(chart.cpuMs, 0) +
                          " ms of processor time (its threads together, the last run)";
        why += condition.empty()
                   ? ": the file is read a block at a time in parts, eight a thread on as many "
                     "threads as cores, each line for its first five fields without a copy "
                     "and each way a line ends after its day once for the file; the days are "
                     "worked out beside the summary, both going through the parts' results "
                     "where they are; the rest is the bytes' way from the file, the pages of "
                     "60 MB of results, and the drawing"
                   : ", and beside twice as many spinning threads as cores at the same "
                     "priority each of its threads gets about a third of a core";
        report.check(figure,
                     fixed(ms, 0) + " ms, " + fixed(ms / read, 1) + "x a plain read's " +
                         fixed(read, 0) + " ms; " + fixed(chart.cpuMs, 0) +
                         " ms of processor time; peak " + fixed(chart.peakMb, 0) + " MB",
                     "under 1 s", ms < kChartGoalMs, why);
    };
    measure("");
    const BusyMachine busy;
    measure(busy.condition());
}

bool isScaleChild(int argc, char* argv[])
{
    return argc == 4 && std::string(argv[1]) == kChildFlag;
}

int scaleChild(char* argv[])
{
    const std::string mode = argv[2];
    const QString path = QString::fromLocal8Bit(argv[3]);
    BenchGame g;
    // The file is the player's own, reached by a link as a player may keep it.
    const QString record = g.records.resultPath(g.user, qx::testDef(qx::TestKind::Stop).file());
    QFile::remove(record);
    if (!QFile::link(path, record))
        return 2;
    TForm13& viewer = qxtest::window<TForm13>(*g.game);
    probe(qxtest::window<TForm1>(*g.game)).recordsButton().click();
    runFor(100);
    long long rows = 0;
    const double startCpuMs = cpuMs();
    const std::int64_t startNs = monotonicNs();
    if (mode == "viewer") {
        probe(viewer).testButton(qx::TestKind::Stop).click();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        viewer.repaint();
        rows = probe(viewer).lineCount();
    } else if (mode == "chart") {
        qxtest::window<ProgressScreen>(*g.game).showTest(qx::testDef(qx::TestKind::Stop));
        rows = probe(qxtest::window<ProgressScreen>(*g.game)).damaged().text().isEmpty() ? 0 : 1;
    } else if (mode == "progress") {
        // As the viewer's グラフ button opens it: read, summed, shown, drawn.
        ProgressScreen& chart = qxtest::window<ProgressScreen>(*g.game);
        chart.showTest(qx::testDef(qx::TestKind::Stop));
        chart.ShowModal();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        chart.repaint();
        const QString figures = probe(chart).figures().text();
        const QString count = ProgressScreen::tr("回数：%1").section(u'%', 0, 0);
        const qsizetype at = figures.indexOf(count);
        if (at >= 0)
            rows = figures.mid(at + count.size()).section(u'\n', 0, 0).toLongLong();
    } else if (mode == "export") {
        const QTemporaryDir out;
        rows = qx::csv::exportUser(g.records, g.user, out.path()).error.isEmpty() ? 1 : 0;
    } else {
        QFile file(record);
        if (file.open(QIODevice::ReadOnly))
            rows = file.readAll().count('\n');
    }
    const double ms = toMs(monotonicNs() - startNs);
    std::printf("ms=%.1f peak-kb=%ld rows=%lld cpu-ms=%.1f\n", ms, peakKb(), rows,
                cpuMs() - startCpuMs);
    return g.dialogs.errors.isEmpty() ? 0 : 1;
}

void scaleFigures(Report& report, const Options& options)
{
    const int runs = options.quick ? 1 : 3;
    report.heading("6. Records at ten million lines: the viewer opening a stop record file of "
                   "10,000,000 lines and painting it, beside a plain read of the same file, each "
                   "in a process of its own (time: median of " +
                   countOf(static_cast<std::size_t>(runs), "run") + "; memory: peak resident)");
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("stop.dat"));
    {
        QFile file(path);
        if (!folder.isValid() || !file.open(QIODevice::WriteOnly) || file.write(history()) < 0) {
            report.line("cannot write the file of ten million lines");
            return;
        }
        report.line("the file: " + fixed(static_cast<double>(file.size()) / (1024 * 1024), 1) +
                    " MB");
    }
    std::vector<double> readMs;
    std::vector<double> viewerMs;
    Side read;
    Side viewer;
    for (int i = 0; i < runs; ++i) {
        read = runSide(QStringLiteral("read"), path);
        viewer = runSide(QStringLiteral("viewer"), path);
        if (!read.error.empty() || !viewer.error.empty())
            break;
        readMs.push_back(read.ms);
        viewerMs.push_back(viewer.ms);
    }
    if (readMs.empty()) {
        report.check("the viewer opening ten million lines", "not measured", "", false,
                     read.error.empty() ? viewer.error : read.error);
        return;
    }
    const double readMedian = median(readMs);
    const double viewerMedian = median(viewerMs);
    report.line("a plain read: " + fixed(readMedian, 0) + " ms, peak " + fixed(read.peakMb, 0) +
                " MB; the viewer: " + fixed(viewerMedian, 0) + " ms, peak " +
                fixed(viewer.peakMb, 0) + " MB, " + std::to_string(viewer.rows) + " lines");
    const bool all = viewer.rows == kLines && read.rows == kLines;
    report.check("the viewer opening ten million lines",
                 fixed(viewerMedian, 0) + " ms, " + fixed(viewerMedian / readMedian, 1) +
                     "x a plain read",
                 "at most " + fixed(kTimeGoal, 0) + "x a plain read",
                 all && viewerMedian <= kTimeGoal * readMedian,
                 all ? "the lines are found and indexed as the file is opened"
                     : "the viewer did not count every line");
    report.check("its peak memory",
                 fixed(viewer.peakMb, 0) + " MB, " + fixed(viewer.peakMb / read.peakMb, 2) +
                     "x a plain read",
                 "at most " + fixed(kMemoryGoal, 1) + "x a plain read",
                 all && viewer.peakMb <= kMemoryGoal * read.peakMb,
                 "each line costs an offset in the index and a section of the grid's rows");
    longLineFigures(report, runs, folder);
}

} // namespace qxbench
