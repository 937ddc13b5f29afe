// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How late the events of the timed tests came: the precision timer's ticks
// behind their deadlines, and key presses behind the moment they went down.
// Kept for the session only, in a fixed histogram, so that hours of play
// cost no more than minutes.

#include <array>
#include <cstdint>
#include <optional>

namespace qx {

class Lateness {
public:
    void addTick(std::int64_t ns) { add(m_ticks, ns); }
    void addKey(std::int64_t ns) { add(m_keys, ns); }

    // The 99th percentile of both, in milliseconds rounded up and never under
    // 1; none before anything was measured.
    std::optional<int> p99Ms() const;

private:
    // 0.1 ms wide up to 100 ms, and one for everything later.
    static constexpr int kBuckets = 1001;
    using Histogram = std::array<std::uint32_t, kBuckets>;
    static void add(Histogram& histogram, std::int64_t ns);
    static std::optional<std::int64_t> p99Ns(const Histogram& histogram);

    Histogram m_ticks{};
    Histogram m_keys{};
};

} // namespace qx
