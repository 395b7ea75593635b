#!/usr/bin/env bash
# A picture of the installed monitor with the sample jobs, taken under Xvfb
# (the build must exist):
#   screenshot.sh [OUT.png]                  the main window
#   screenshot.sh --settings [OUT.png]       the settings dialog, opened by
#                                            pressing "設定" as an assistive
#                                            tool would (AT-SPI)
set -euo pipefail
cd "$(dirname "$0")/.."
settings=0
if [ "${1:-}" = "--settings" ]; then
  settings=1
  shift
  out="$(realpath -m "${1:-docs/settings-dialog.png}")"
else
  out="$(realpath -m "${1:-docs/main-window.png}")"
fi
work="$(mktemp -d)"
monitor="" xvfb=""
trap 'kill $monitor $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
cmake --install build --prefix "$work/orvis" > /dev/null
scripts/seed-demo.sh "$work/orvis"
[ "$settings" = 1 ] && scripts/seed-demo.sh --settings "$work/orvis"
display=":$((RANDOM % 400 + 100))"
Xvfb "$display" -screen 0 1100x760x24 > /dev/null 2>&1 &
xvfb=$!
sleep 1
mkdir -m 700 "$work/run"
export DISPLAY="$display" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$(dirname "$out")"
if [ "$settings" = 0 ]; then
  (cd "$work/orvis" && exec ./OrvisWatch) > /dev/null 2>&1 &
  monitor=$!
  sleep 2
  build/tests/tools/screen_grab "$out" 300 2> /dev/null
else
  # One session bus for the monitor and the tool that presses its button.
  dbus-run-session -- bash -c '
    (cd "$1/orvis" && QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 exec ./OrvisWatch) > /dev/null 2>&1 &
    monitor=$!
    trap "kill $monitor 2>/dev/null || true" EXIT
    box=$(/usr/bin/python3 tests/tools/press_button.py OrvisWatch 設定 設定)
    build/tests/tools/screen_grab "$2" 500 $box 2> /dev/null' _ "$work" "$out"
fi
echo "saved $out"
