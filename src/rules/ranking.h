// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The top ten of the overall run: reading "Rec/record.dat" and ranking a
// total into it, apart from the score screen.

#include "rules/store.h"

namespace qx {

inline constexpr int kRankingSize = 10;
inline constexpr int kRankingFields = 3;
// The column names of the top ten, in the interface's language.
QStringList rankingColumns();

// The top ten as the screen keeps it: at most ten entries of three fields
// (date, score, name), as code page 932 bytes.
using RankingEntries = QList<store::Lines>;

// The entries of the top-ten file: its first ten lines, each split by the
// comma-text rule into its first three fields.
RankingEntries rankingEntries(const store::Lines& lines);

struct Ranking {
    int rank = 0;           // 1..10; 0 when the score did not enter the table
    RankingEntries entries; // the table with the new entry in its place
    bool write = false;     // whether the file is to be rewritten
};

// Ranks a score: it takes the place of the first entry whose score it reaches,
// so ties go to the new score. A table of fewer than ten entries has room
// below its last one; a full table drops its tenth entry. newLine is the text
// "date,score,name", cut into three fields by the comma-text rule, so a name
// keeps only what comes before its first space or comma. Throws
// Error("'<field>' は整数ではありません") when the comparison reaches an entry
// whose score is not a decimal integer; entries below the place are not read.
Ranking rankScore(const RankingEntries& entries, int score, const QByteArray& newLine);

} // namespace qx
