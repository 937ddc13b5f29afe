#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quiravex developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Every text of the interface has a finished translation in every language
# shipped, and the translation files keep up with the code: lupdate run on the
# code as the build runs it changes none of them.
# Usage: translations_check.sh <source dir> <lupdate> [lupdate options...]
set -euo pipefail
source_dir=$1
lupdate=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$source_dir"/translations/quiravex_*.ts; do
  copy=$work/$(basename "$ts")
  cp "$ts" "$copy"
  "$lupdate" -silent "$@" "$source_dir/src" -ts "$copy"
  if ! cmp -s "$ts" "$copy"; then
    echo "$(basename "$ts") is behind the code; run: cmake --build build --target update_translations"
    diff -u "$ts" "$copy" | head -60 || true
    status=1
  fi
  if grep -n -B3 'type="unfinished"\|type="vanished"\|type="obsolete"' "$copy"; then
    echo "$(basename "$ts") has texts without a finished translation (above)"
    status=1
  fi
done
exit $status
