#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quiravex developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every libFuzzer target for the given number of seconds, one after the
# other, starting from the seed corpus in fuzz/corpus/<target>/ (which it does
# not change; what the fuzzer finds goes to build-fuzz/corpus/<target>/).
# Prints the executions per second and the crashes of each target, and fails
# when any target crashed; the crashing input is kept in build-fuzz/artifacts/.
# Builds the targets first when they are missing (fuzz/build.sh).
# Usage: scripts/fuzz.sh <seconds> [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/fuzz.sh <seconds> [target...]}
shift
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  targets=(commatext recordlines cp932 ranking progress csvfield recordfields commandline
    drawnpicture)
fi
for target in "${targets[@]}"; do
  [[ -x build-fuzz/fuzz_$target ]] || fuzz/build.sh
done

mkdir -p build-fuzz/artifacts
failed=0
printf '%-12s %12s %10s %8s\n' target executions execs/s crashes
for target in "${targets[@]}"; do
  work=build-fuzz/corpus/$target
  log=build-fuzz/fuzz_$target.log
  mkdir -p "$work"
  rm -f build-fuzz/artifacts/"$target"-*
  status=0
  # Lines as the game writes them are short; damaged files hold lines of
  # megabytes, which the readers of whole files must meet too.
  case $target in
    commatext | cp932 | csvfield) max_len=1024 ;;
    recordlines | progress | recordfields) max_len=131072 ;;
    *) max_len=4096 ;;
  esac
  build-fuzz/fuzz_"$target" -max_total_time="$seconds" -max_len="$max_len" -print_final_stats=1 \
    -artifact_prefix=build-fuzz/artifacts/"$target"- "$work" fuzz/corpus/"$target" \
    >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  crashes=$(find build-fuzz/artifacts -name "$target-*" | wc -l)
  if [[ $status -ne 0 && $crashes -eq 0 ]]; then
    crashes=1
  fi
  printf '%-12s %12s %10s %8s\n' "$target" "${runs:-?}" "${rate:-?}" "$crashes"
  if [[ $crashes -ne 0 ]]; then
    failed=1
    grep -E 'qxfuzz:|ERROR:|runtime error:|SUMMARY:' "$log" | head -5 >&2 || true
  fi
done
exit $failed
