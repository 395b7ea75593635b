#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; then prints the
# figures the benchmarks measured in that run; then builds the fuzz targets
# (build-fuzz/, clang) and runs each a fixed number of times from its seeds
# (ctest label "fuzz"), unless $ORVIS_SKIP_FUZZ is 1. Arguments go to the
# main suite's ctest; $ORVIS_BUILD_DIR and $ORVIS_CMAKE_ARGS go to
# scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
dir=${ORVIS_BUILD_DIR:-build}
# In a sanitizer build: what system libraries leak is not ours to report.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
status=0
ctest --test-dir "$dir" --output-on-failure -j2 "$@" || status=$?
log=$dir/Testing/Temporary/LastTest.log
if [ -f "$log" ]; then
  echo
  echo "Benchmark figures of this run:"
  awk '/ Testing: .*bench/ {on=1; name=$3; next}
       on && /^<end of output>/ {on=0; next}
       on && /^Output:|^-+$/ {next}
       on && /Test:|Command:|Directory:|start time:|QStandardPaths/ {next}
       on {print "  [" name "] " $0}' "$log"
fi
if [ "${ORVIS_SKIP_FUZZ:-0}" != 1 ]; then
  echo
  echo "Fuzz targets:"
  scripts/build-fuzz.sh
  ctest --test-dir build-fuzz -L fuzz --output-on-failure -j2 || status=$?
fi
exit $status
