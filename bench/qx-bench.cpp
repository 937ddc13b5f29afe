// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The benchmark program: measures the game's timing and speed and prints each
// figure beside its goal, PASS or SHORTFALL.
//   qx-bench [--quick] [--only 1,2,...]
// Figures: 1 precision timer, 2 the screens' clocks, 3 start-up, 4 records at
// scale, 5 the game's own CPU cost, 6 ten million lines in the viewer, 7 the chart
// of five million results. Runs headless; the numbers
// mean most on a machine that is otherwise idle.

#include "bench.h"

#include "platform/controls.h"

#include <QApplication>
#include <QSysInfo>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <thread>

namespace {

void usage()
{
    std::fprintf(stderr, "usage: qx-bench [--quick] [--only N[,N...]]\n"
                         "  --quick   300 ticks per timer period and fewer trials: a few minutes\n"
                         "  --only    run only these figures: 1 precision timer, 2 clocks,\n"
                         "            3 start-up, 4 records at scale, 5 CPU cost,\n"
                         "            6 ten million lines in the viewer, one line of 200 MB,\n"
                         "            7 the chart of five million results\n");
}

bool parse(int argc, char* argv[], qxbench::Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--quick") {
            options.quick = true;
        } else if (argument == "--only" && i + 1 < argc) {
            for (const QString& figure : QString::fromLatin1(argv[++i]).split(QLatin1Char(','))) {
                bool number = false;
                const int n = figure.toInt(&number);
                if (!number || n < 1 || n > 7)
                    return false;
                options.only.push_back(n);
            }
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qxbench::isScaleChild(argc, argv)) {
        QApplication app(argc, argv);
        qx::installFontSubstitution();
        QApplication::setFont(qx::gameFont(12));
        return qxbench::scaleChild(argv);
    }
    qxbench::Options options;
    if (!parse(argc, argv, options)) {
        usage();
        return 2;
    }
    // Figures appear as they are measured, also through a pipe.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qx::installFontSubstitution();
    QApplication::setFont(qx::gameFont(12));

    double load[1] = {0};
    getloadavg(load, 1);
    std::printf("Quiravex benchmarks: %s run%s\n", options.quick ? "quick" : "full",
                options.quick ? " (--quick: 300 ticks per period, fewer trials)"
                              : " (3000 ticks per period)");
    std::printf("machine: %s, %u CPUs, load average %.2f at the start; Qt %s, platform %s\n",
                QSysInfo::prettyProductName().toUtf8().constData(),
                std::thread::hardware_concurrency(), load[0], qVersion(),
                QGuiApplication::platformName().toUtf8().constData());

    qxbench::Report report;
    try {
        if (options.wants(1))
            qxbench::precisionTimerFigures(report, options);
        if (options.wants(2))
            qxbench::clockFigures(report, options);
        if (options.wants(3))
            qxbench::startupFigures(report, options);
        if (options.wants(4))
            qxbench::recordFigures(report, options);
        if (options.wants(5))
            qxbench::costFigures(report, options);
        if (options.wants(6))
            qxbench::scaleFigures(report, options);
        if (options.wants(7))
            qxbench::chartFigures(report, options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qx-bench: %s\n", e.what());
        return 2;
    }
    report.summary();
    return 0;
}
