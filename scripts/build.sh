#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quiravex developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds the game and its tests into build/. Options given
# are applied to the build folder, also when it is configured already.
# QX_BUILD_TARGET builds one target instead of all ("game": the game alone).
# Usage: scripts/build.sh [build-dir] [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
shift || true
if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
  cmake -S . -B "$build_dir" -G Ninja "$@"
elif [[ $# -gt 0 ]]; then
  cmake -S . -B "$build_dir" "$@"
fi
cmake --build "$build_dir" -j"$(nproc)" --target "${QX_BUILD_TARGET:-all}"
