// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A player's progress in one test, read from its record file as it is: each
// line becomes a result, the results of a day become that day's figures, and
// all of them a summary. Damaged lines are skipped and counted; nothing here
// writes a record file.

#include "rules/catalogue.h"
#include "rules/store.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace qx::progress {

using qx::Measure;

// A line's result in 12 bytes: a file of millions of lines is read into as
// many results, so their size is most of the memory the chart takes.
struct Result {
    static constexpr qint32 kNone = -1;

    qint32 julianDay = 0; // the day played
    // The time (Reflex, and right answers of box and shape) or the distance
    // from the target (stop), hundredths; kNone for a false start or a wrong
    // answer.
    qint32 measured = kNone;
    qint8 level = 0;    // panel, L-R, N-memory and stop: 1..10
    bool right = false; // a right answer; for stop an exact stop, for Reflex no false start
    bool falseStart = false;

    QDate day() const { return QDate::fromJulianDay(julianDay); }
    std::optional<int> hundredths() const
    {
        return measured == kNone ? std::nullopt : std::optional<int>(measured);
    }
    friend bool operator==(const Result&, const Result&) = default;
};
static_assert(sizeof(Result) == 12);

struct Results {
    std::vector<Result> results; // oldest first, as played
    int damaged = 0;             // lines that are no result of the test
};
// The results of a record file's bytes, which keep the newest line first,
// read in `parts` parts (0: as many as the machine has cores and the bytes
// are worth) by as many threads as cores at the most.
Results readResults(const TestDef& test, QByteArrayView bytes, qsizetype parts = 0);
// The same of the file at path, read a block at a time: a file of millions
// of lines costs the memory of its results, not of its bytes. Throws
// Error("ファイル <path> は開けません") as store::loadLines() does.
Results readResultFile(const TestDef& test, const QString& path);

struct Day {
    QDate day;
    int results = 0;
    double rightShare = 0; // Accuracy
    double level = 0;      // Accuracy: the mean level played
    std::optional<int> median;
    std::optional<int> best;
    int falseStarts = 0;
};
// One entry per day played, oldest first; days without play have none.
std::vector<Day> byDay(const std::vector<Result>& results);

struct Summary {
    int results = 0;
    // Accuracy: the highest level answered right and the median level;
    // Time: the shortest and the median time; Distance: the smallest and the
    // median distance.
    std::optional<int> best;
    std::optional<int> median;
    // The last 7 days up to today against the 30 days before them: the share
    // of right answers (Accuracy, in percent) or the median (Time, Distance).
    std::optional<int> last7;
    std::optional<int> previous30;
    int longestRightRun = 0;
    int falseStarts = 0;
};
Summary summarize(Measure measure, const std::vector<Result>& results, QDate today);

// What the chart shows of the record file at path: its days and its summary.
// Throws as readResultFile() does.
struct Progress {
    std::vector<Day> days;
    Summary summary;
    int damaged = 0;
};
Progress readProgress(const TestDef& test, const QString& path, QDate today);

// A time or distance in hundredths as the game shows it: 12.34 s.
QString secondsText(int hundredths);

} // namespace qx::progress
