// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/random.h"

#include <chrono>

namespace qx {

void Random::randomize()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    seed(static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

int Random::operator()(int n)
{
    if (n <= 0)
        return 0;
    std::uniform_int_distribution<int> draw(0, n - 1);
    return draw(m_engine);
}

} // namespace qx
