#!/usr/bin/env bash
# A picture of the installed monitor's main window with the sample jobs,
# taken under Xvfb: screenshot.sh OUT.png (the build must exist).
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs/main-window.png}")"
work="$(mktemp -d)"
trap 'kill $monitor $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
cmake --install build --prefix "$work/orvis" > /dev/null
scripts/seed-demo.sh "$work/orvis"
display=":$((RANDOM % 400 + 100))"
Xvfb "$display" -screen 0 1100x760x24 > /dev/null 2>&1 &
xvfb=$!
sleep 1
mkdir -m 700 "$work/run"
(cd "$work/orvis" && DISPLAY="$display" XDG_RUNTIME_DIR="$work/run" exec ./OrvisWatch) > /dev/null 2>&1 &
monitor=$!
sleep 2
mkdir -p "$(dirname "$out")"
DISPLAY="$display" build/tests/tools/screen_grab "$out" 300 2> /dev/null
echo "saved $out"
