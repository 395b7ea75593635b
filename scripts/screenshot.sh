#!/usr/bin/env bash
# A picture of the installed monitor under Xvfb (the build must exist):
#   screenshot.sh [OUT.png]                  the demo's window in the automatic
#                                            mode after its first pass, which
#                                            found changes
#   screenshot.sh --settings [OUT.png]       the settings dialog over the
#                                            demo's jobs, opened by pressing
#                                            "設定" as an assistive tool would
#                                            (AT-SPI)
#   screenshot.sh --history [OUT.png]        the history window of the demo's
#                                            changing page after one change:
#                                            its row clicked, "履歴" pressed
set -euo pipefail
cd "$(dirname "$0")/.."
settings=0
if [ "${1:-}" = "--settings" ]; then
  settings=1
  shift
  out="$(realpath -m "${1:-docs/settings-dialog.png}")"
elif [ "${1:-}" = "--history" ]; then
  settings=2
  shift
  out="$(realpath -m "${1:-docs/history-window.png}")"
else
  out="$(realpath -m "${1:-docs/main-window.png}")"
fi
build=${ORVIS_BUILD_DIR:-build}
work="$(mktemp -d)"
demo="" xvfb=""
trap 'kill $demo 2>/dev/null && wait $demo; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/orvis" > /dev/null
# Xvfb picks a free display itself and writes its number once it listens.
Xvfb -displayfd 3 -screen 0 1100x760x24 3> "$work/display" > /dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
display=":$(head -1 "$work/display")"
mkdir -m 700 "$work/run"
export DISPLAY="$display" XDG_RUNTIME_DIR="$work/run"
export ORVIS_DEMO_WEB_PORT=$((20000 + RANDOM % 20000)) ORVIS_DEMO_SMTP_PORT=$((40000 + RANDOM % 20000))
mkdir -p "$(dirname "$out")"
if [ "$settings" = 0 ]; then
  /usr/bin/python3 scripts/demo/demo.py "$work/orvis" > "$work/demo.out" 2>&1 &
  demo=$!
  # The first automatic pass comes a minute after the start.
  for _ in $(seq 180); do
    grep -q "pass ended" "$work/demo.out" && break
    sleep 1
  done
  grep -q "pass ended" "$work/demo.out" || { cat "$work/demo.out"; exit 1; }
  "$build"/tests/tools/screen_grab "$out" 500 2> /dev/null
else
  if [ "$settings" = 1 ]; then
    /usr/bin/python3 scripts/demo/demo.py "$work/orvis" --seed
    press=(設定 設定)
  else
    /usr/bin/python3 scripts/demo/demo.py "$work/orvis" --one-change > /dev/null
    press=(履歴 "履歴 - №1 変化するページ" 変化するページ)
  fi
  # One session bus for the monitor and the tool that presses its button.
  dbus-run-session -- bash -c '
    (cd "$1/orvis" && QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 exec ./OrvisWatch) > /dev/null 2>&1 &
    monitor=$!
    trap "kill $monitor 2>/dev/null || true" EXIT
    box=$(/usr/bin/python3 tests/tools/press_button.py OrvisWatch "${@:4}")
    "$3"/tests/tools/screen_grab "$2" 500 $box 2> /dev/null' _ "$work" "$out" "$build" "${press[@]}"
fi
echo "saved $out"
