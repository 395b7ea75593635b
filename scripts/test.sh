#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; then prints the
# figures the benchmarks measured in that run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
status=0
ctest --test-dir build --output-on-failure -j2 "$@" || status=$?
log=build/Testing/Temporary/LastTest.log
if [ -f "$log" ]; then
  echo
  echo "Benchmark figures of this run:"
  awk '/ Testing: .*bench/ {on=1; name=$3; next}
       on && /^<end of output>/ {on=0; next}
       on && /^Output:|^-+$/ {next}
       on && /Test:|Command:|Directory:|start time:|QStandardPaths/ {next}
       on {print "  [" name "] " $0}' "$log"
fi
exit $status
