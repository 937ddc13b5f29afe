// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The panel test's questions and its score, apart from the screen.

#include <array>

namespace qx {

struct PanelQuestion {
    int sequenceLength; // panels lit
    int stepInterval;   // ms lit, and ms dark before each light
};
// Single play by level (1..10), the overall run by question (1..5).
PanelQuestion panelQuestion(bool overall, int level, int question);

// Positions where the lit and the clicked panel agree, compared one to one.
int panelMatches(const std::array<int, 25>& lit, const std::array<int, 25>& clicked, int length);

} // namespace qx
