// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The game's one source of chance, seeded once; tests seed it for draws
// they can repeat.

#include <cstdint>
#include <random>

namespace qx {

// The game's one random generator. Random(n) is a uniform draw from 0..n-1.
class Random {
public:
    void seed(std::uint32_t value) { m_engine.seed(value); }
    // Seeds from the clock, once at start-up.
    void randomize();
    int operator()(int n);

private:
    std::mt19937 m_engine{5489u};
};

} // namespace qx
