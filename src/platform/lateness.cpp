// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/lateness.h"

#include <algorithm>
#include <numeric>

namespace qx {

namespace {
constexpr std::int64_t kBucketNs = 100'000;
}

void Lateness::add(Histogram& histogram, std::int64_t ns)
{
    const std::int64_t bucket = std::clamp<std::int64_t>(ns / kBucketNs, 0, kBuckets - 1);
    ++histogram[static_cast<std::size_t>(bucket)];
}

std::optional<std::int64_t> Lateness::p99Ns(const Histogram& histogram)
{
    const std::uint64_t total =
        std::accumulate(histogram.begin(), histogram.end(), std::uint64_t{0});
    if (total == 0)
        return std::nullopt;
    // The smallest lateness that 99 % of the events did not pass.
    const std::uint64_t within = (total * 99 + 99) / 100;
    std::uint64_t seen = 0;
    for (std::size_t bucket = 0; bucket < histogram.size(); ++bucket) {
        seen += histogram[bucket];
        if (seen >= within)
            return static_cast<std::int64_t>(bucket + 1) * kBucketNs;
    }
    return static_cast<std::int64_t>(kBuckets) * kBucketNs;
}

std::optional<int> Lateness::p99Ms() const
{
    const std::optional<std::int64_t> ticks = p99Ns(m_ticks);
    const std::optional<std::int64_t> keys = p99Ns(m_keys);
    if (!ticks && !keys)
        return std::nullopt;
    const std::int64_t worst = std::max(ticks.value_or(0), keys.value_or(0));
    return std::max<int>(1, static_cast<int>((worst + 999'999) / 1'000'000));
}

} // namespace qx
