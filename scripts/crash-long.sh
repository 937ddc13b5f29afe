#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quiravex developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The crash test at length: 10,000 kills of a saving process (or as many as
# given), each followed by a check that the record file is a complete state.
# Usage: scripts/crash-long.sh [kills] [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
kills=${1:-10000}
build_dir=${2:-build}
cmake --build "$build_dir" --target tst_crash
QT_QPA_PLATFORM=offscreen QX_CRASH_KILLS=$kills "$build_dir"/autotests/tst_crash
