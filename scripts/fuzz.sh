#!/usr/bin/env bash
# Fuzzes the parsers of outside bytes: scripts/fuzz.sh [seconds] [target...]
# runs each named target (all of them when none is named; names as in
# tests/fuzz, with or without "fuzz_") for that many seconds (default 60),
# one after the other. Builds build-fuzz/ first (clang, libFuzzer, ASan,
# UBSan). Inputs found are kept between runs in $ORVIS_FUZZ_CORPUS/<target>
# (default build-fuzz/corpus, outside the sources); an input that breaks a
# target is written to build-fuzz/artifacts/ and ends the script with the
# target's failure; its whole output is in build-fuzz/artifacts/<target>.log.
# For each target the script shows libFuzzer's last figures: executions,
# coverage (cov: edges, ft: features) and the corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
dir=build-fuzz
scripts/build-fuzz.sh
corpus=${ORVIS_FUZZ_CORPUS:-$dir/corpus}
artifacts=$dir/artifacts
mkdir -p "$artifacts"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(ls tests/fuzz/corpus)
fi
for name in "${targets[@]}"; do
  name=fuzz_${name#fuzz_}
  program=$dir/tests/fuzz/$name
  [ -x "$program" ] || { echo "no fuzz target $name" >&2; exit 2; }
  options=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1
    -artifact_prefix="$artifacts/$name-")
  if [ -f "tests/fuzz/$name.dict" ]; then options+=(-dict="tests/fuzz/$name.dict"); fi
  mkdir -p "$corpus/$name"
  echo "== $name for ${seconds}s"
  log=$artifacts/$name.log
  status=0
  "$program" "${options[@]}" "$corpus/$name" "tests/fuzz/corpus/$name" >"$log" 2>&1 || status=$?
  grep -E "^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units|^SUMMARY|does not hold" "$log" || true
  if [ "$status" -ne 0 ]; then
    echo "$name failed (exit $status): see $log; the input is in $artifacts/" >&2
    exit "$status"
  fi
done
