#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, run and test, when
# they are missing. Safe to run again: it installs nothing that is there.
set -euo pipefail

packages=(
  cmake ninja-build ccache g++ pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-qpa-plugins libgl-dev libxcb1-dev
  fonts-ipafont-gothic
  qt6-translations-l10n
  xvfb xauth xdotool x11-utils x11-apps
  clang libclang-rt-14-dev
  desktop-file-utils appstream dpkg-dev file
)

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
