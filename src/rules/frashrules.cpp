// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/frashrules.h"

#include "rules/random.h"

#include <algorithm>

using namespace qx;

QString qx::MakeDigits(int digits, Random& random)
{
    QString drawn = QString::number(random(9) + 1);
    for (int i = 1; i < 10; ++i)
        drawn += QString::number(random(10));
    return drawn.left(std::clamp(digits, 0, 10));
}

NMemoryQuestion qx::nMemoryQuestion(bool overall, int level, int question)
{
    static constexpr NMemoryQuestion byLevel[] = {{3, 1500}, {3, 800}, {4, 800}, {5, 700},
                                                  {6, 700},  {7, 700}, {6, 300}, {7, 450},
                                                  {8, 500},  {9, 400}};
    static constexpr NMemoryQuestion byQuestion[] = {
        {3, 1000}, {5, 700}, {6, 500}, {7, 350}, {7, 200}};
    if (overall)
        return byQuestion[std::clamp(question, 1, 5) - 1];
    return byLevel[std::clamp(level, 1, 10) - 1];
}
