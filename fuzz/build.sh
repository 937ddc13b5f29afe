#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/. The screen targets
# link the rest of the game from the main build (default build/), whose core
# libraries are brought up to date first.
# Usage: fuzz/build.sh [main-build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
main_build=$(realpath "${1:-build}")
if [[ ! -f "$main_build/CMakeCache.txt" ]]; then
  cmake -S . -B "$main_build" -G Ninja
fi
cmake --build "$main_build" -j"$(nproc)" --target qx_core qx_art
if [[ ! -f build-fuzz/CMakeCache.txt ]]; then
  cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQX_MAIN_BUILD="$main_build"
fi
cmake --build build-fuzz -j"$(nproc)"
