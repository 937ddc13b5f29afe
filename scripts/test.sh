#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quiravex developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing for the game and its tests, builds everything and
# runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh test
scripts/build.sh build -DQX_WARNINGS_AS_ERRORS=ON
ctest --test-dir build --output-on-failure -j"$(nproc)"
