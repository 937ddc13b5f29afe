#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it from its folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
scripts/build.sh build
cd build/game
exec ./quiravex
