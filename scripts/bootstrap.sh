#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quiravex developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that are missing: for "game" (the default) what
# the game needs to build and run; for "test" also what the tests, the fuzz
# targets and the package's checks need. Safe to run again: it installs
# nothing that is there.
# Usage: scripts/bootstrap.sh [game|test]
set -euo pipefail
purpose=${1:-game}

packages=(
  cmake ninja-build ccache g++ pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev libgl-dev libxcb1-dev
  # lupdate and lrelease, for the translations built into the game.
  qt6-tools-dev qt6-l10n-tools
  # What the game loads at run time: the X11 and Wayland platform plugins,
  # its Japanese font and Qt's Japanese translations.
  qt6-qpa-plugins qt6-wayland fonts-ipafont-gothic qt6-translations-l10n
)
case $purpose in
  game) ;;
  test)
    packages+=(
      # Tests that drive the real program on an X server of their own.
      xvfb xauth xdotool x11-utils x11-apps
      # The fuzz targets (libFuzzer).
      clang libclang-rt-14-dev
      # The desktop files, the man page, the Debian package and the licences.
      desktop-file-utils appstream mandoc dpkg-dev file lintian reuse
    )
    ;;
  *)
    echo "usage: scripts/bootstrap.sh [game|test]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
  echo "Quiravex needs these Debian packages. Install them with:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
