// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The stop test's questions and points, apart from the screen.

#include <optional>

namespace qx {

struct StopQuestion {
    int blindTop; // from the top of the clock area
    int target;   // hundredths
};
// Single play by level (1..10), the overall run by question (1..5); nothing
// outside those, which keeps the previous blind and target.
std::optional<StopQuestion> stopQuestion(bool overall, int level, int question);

// Overall points of a stop: 100 minus the miss in hundredths, 200 more if exact.
int stopPoints(int clock, int target);

} // namespace qx
