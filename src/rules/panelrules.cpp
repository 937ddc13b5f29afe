// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/panelrules.h"

#include <algorithm>

using namespace qx;

PanelQuestion qx::panelQuestion(bool overall, int level, int question)
{
    if (!overall)
        return {std::clamp(level + 1, 1, 25), 300};
    static constexpr PanelQuestion table[] = {{3, 400}, {4, 400}, {5, 300}, {7, 300}, {8, 300}};
    return table[std::clamp(question, 1, 5) - 1];
}

int qx::panelMatches(const std::array<int, 25>& lit, const std::array<int, 25>& clicked, int length)
{
    int matches = 0;
    for (int i = 0; i < std::min(length, 25); ++i) {
        if (lit[static_cast<std::size_t>(i)] == clicked[static_cast<std::size_t>(i)])
            ++matches;
    }
    return matches;
}
