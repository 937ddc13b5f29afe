// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The N-memory test's digits and questions, apart from the screen.

#include <QString>

namespace qx {

class Random;

// `digits` (3..9) decimal digits, the first not 0; digits may repeat.
QString MakeDigits(int digits, Random& random);

struct NMemoryQuestion {
    int digits;
    int displayTime; // ms the digits stay visible
};
// Single play by level (1..10), the overall run by question (1..5).
NMemoryQuestion nMemoryQuestion(bool overall, int level, int question);

} // namespace qx
