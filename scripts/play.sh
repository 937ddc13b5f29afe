#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quiravex developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the game needs, builds only the game (the program, its
# pictures, sounds and starting records; none of the tests, benchmarks or
# packaging) and starts it from its folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh game
QX_BUILD_TARGET=game scripts/build.sh build
cd build/game
exec ./quiravex
