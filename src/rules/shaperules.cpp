// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/shaperules.h"

#include "rules/random.h"

#include <algorithm>

using namespace qx;

std::array<int, 9> qx::drawShapeOrder(Random& random)
{
    std::array<int, 9> order{};
    for (int& entry : order)
        entry = 1 + random(9);
    for (auto i = order.begin() + 1; i != order.end(); ++i) {
        while (std::find(order.begin(), i, *i) != i)
            *i = 1 + random(9);
    }
    return order;
}

ShapeClock qx::shapeClockAt(int tenths)
{
    const int seconds = std::max(tenths, 0) / 10;
    const int minutes = seconds / 60;
    return {.tensOfMinutes = minutes / 10,
            .minutes = minutes % 10,
            .tensOfSeconds = seconds % 60 / 10,
            .seconds = seconds % 10,
            .tenths = std::max(tenths, 0) % 10};
}

QString qx::shapeClockText(const ShapeClock& clock)
{
    return QStringLiteral("%1%2:%3%4:%5")
        .arg(clock.tensOfMinutes)
        .arg(clock.minutes)
        .arg(clock.tensOfSeconds)
        .arg(clock.seconds)
        .arg(clock.tenths);
}

int qx::shapePoints(const ShapeClock& clock)
{
    return 100 - (clock.tensOfMinutes + clock.minutes + clock.tensOfSeconds + clock.seconds +
                  clock.tenths);
}
