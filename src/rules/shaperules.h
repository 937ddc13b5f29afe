// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The shape test's order of shapes, its stopwatch and points, apart from
// the screen.

#include <QString>

#include <array>

namespace qx {

class Random;

// A random order of the nine shapes 1..9: entries 0..7 are drawn in the ring,
// entry 8 is the missing one, the right answer.
std::array<int, 9> drawShapeOrder(Random& random);

// The stopwatch as its five digit labels show it, MM:SS:t. The tens of
// minutes have no upper limit.
struct ShapeClock {
    int tensOfMinutes = 0;
    int minutes = 0;
    int tensOfSeconds = 0;
    int seconds = 0;
    int tenths = 0;

    bool operator==(const ShapeClock&) const = default;
};
// The stopwatch after this many tenths of a second.
ShapeClock shapeClockAt(int tenths);
// "00:12:3".
QString shapeClockText(const ShapeClock& clock);
// A right answer's points: 100 minus the sum of the digits shown.
int shapePoints(const ShapeClock& clock);

} // namespace qx
