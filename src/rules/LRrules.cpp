// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/LRrules.h"

#include "rules/random.h"

#include <array>

#include <algorithm>

using namespace qx;

int qx::MakeNumber(int digits, Random& random)
{
    std::array<int, 9> drawn{};
    drawn[0] = random(9) + 1;
    for (auto next = drawn.begin() + 1; next != drawn.end(); ++next) {
        do {
            *next = random(10);
        } while (std::find(drawn.begin(), next, *next) != next);
    }
    int number = 0;
    for (int i = 0; i < std::clamp(digits, 1, 9); ++i)
        number = number * 10 + drawn[static_cast<std::size_t>(i)];
    return number;
}

LRQuestion qx::lrQuestion(bool overall, int level, int question)
{
    static constexpr LRQuestion byLevel[] = {{2, 4}, {2, 3}, {2, 2}, {3, 2}, {4, 2},
                                             {5, 2}, {6, 2}, {7, 2}, {8, 2}, {9, 2}};
    static constexpr LRQuestion byQuestion[] = {{2, 3}, {3, 3}, {5, 2}, {6, 2}, {7, 2}};
    if (overall)
        return byQuestion[std::clamp(question, 1, 5) - 1];
    return byLevel[std::clamp(level, 1, 10) - 1];
}
