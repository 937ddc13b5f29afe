// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/stoprules.h"

#include <algorithm>
#include <cstdlib>

using namespace qx;

namespace {
constexpr int kExactBonus = 200;
} // namespace

std::optional<StopQuestion> qx::stopQuestion(bool overall, int level, int question)
{
    static constexpr int targetByLevel[] = {300, 400, 500, 300, 400, 500, 300, 400, 300, 600};
    static constexpr StopQuestion byQuestion[] = {
        {132, 400}, {116, 300}, {100, 500}, {76, 300}, {68, 500}};
    if (overall) {
        if (question < 1 || question > 5)
            return std::nullopt;
        return byQuestion[question - 1];
    }
    if (level < 1 || level > 10)
        return std::nullopt;
    // Each level raises the blind by 8 pixels and hides more of the digits.
    return StopQuestion{148 - 8 * level, targetByLevel[level - 1]};
}

int qx::stopPoints(int clock, int target)
{
    return 100 - std::abs(clock - target) + (clock == target ? kExactBonus : 0);
}
