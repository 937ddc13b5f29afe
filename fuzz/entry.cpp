// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The libFuzzer entry point of one target; build.sh compiles it once per
// target with QX_FUZZ_TARGET naming the property function of targets.h.

#include "targets.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const char* broken = qxfuzz::QX_FUZZ_TARGET(input)) {
        std::fprintf(stderr, "qxfuzz: %s\n", broken);
        std::abort();
    }
    return 0;
}
