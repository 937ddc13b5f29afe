#!/usr/bin/env bash
# Configures (once) and builds the game and its tests into build/.
# Usage: scripts/build.sh [build-dir] [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
shift || true
if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
  cmake -S . -B "$build_dir" -G Ninja "$@"
fi
cmake --build "$build_dir" -j"$(nproc)"
