#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quiravex developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a distribution would judge it: built from the build's
# install rules into a scratch folder and given to lintian, which must find
# nothing (error or warning) that the package's own overrides do not justify.
# Exits 77 (skipped) where lintian is not installed.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build_dir=$1
if ! command -v lintian >/dev/null; then
  echo "lintian is not installed; skipped"
  exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 || {
  cat "$scratch/cpack.log" >&2
  exit 1
}
package=$(find "$scratch" -maxdepth 1 -name 'quiravex_*.deb')
[[ -n $package ]] || { echo "FAIL: cpack made no package" >&2; exit 1; }

# The program where a game belongs, stripped; the data it finds from there.
contents=$(dpkg-deb --contents "$package")
grep -q ' ./usr/games/quiravex$' <<<"$contents" || { echo "FAIL: no /usr/games/quiravex" >&2; exit 1; }
grep -q ' ./usr/share/quiravex/bmp/stage1.bmp$' <<<"$contents" || {
  echo "FAIL: no /usr/share/quiravex/bmp" >&2
  exit 1
}

status=0
lintian --fail-on error,warning --tag-display-limit 0 "$package" >"$scratch/lintian.log" 2>&1 || status=$?
grep -v '^running with root privileges' "$scratch/lintian.log" || true
if [[ $status -ne 0 ]]; then
  echo "FAIL: lintian found errors or warnings that are not overridden" >&2
  exit 1
fi
echo "lintian: $(basename "$package") is clean"
