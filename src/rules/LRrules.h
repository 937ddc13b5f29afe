// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The L-R test's numbers and questions, apart from the screen.

namespace qx {

class Random;

// A number of `digits` (2..9) decimal digits, all different, the first not 0.
int MakeNumber(int digits, Random& random);

struct LRQuestion {
    int digits;
    unsigned period; // ms from one frame of the run to the next
};
// Single play by level (1..10), the overall run by question (1..5).
LRQuestion lrQuestion(bool overall, int level, int question);

} // namespace qx
