#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quiravex developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang into build-fuzz/. They compile the
# rules they test themselves and need nothing from the main build.
# Usage: fuzz/build.sh
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ! -f build-fuzz/CMakeCache.txt ]]; then
  cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++
fi
cmake --build build-fuzz -j"$(nproc)"
