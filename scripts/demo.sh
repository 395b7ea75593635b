#!/usr/bin/env bash
# Installs what is missing, builds, installs the system into demo/ and runs
# the demo there (scripts/demo/demo.py): jobs of all four types pointing at
# a local web site, a folder, a program and the disk, each with a baseline
# captured by `OrvisWatch --capture`; the monitor with its window in the
# automatic mode when there is a display, else the service start, printing
# each pass. Ctrl+C or SIGTERM ends everything it started.
#   ORVIS_DEMO_DIR    the demo's data folder (default: demo/)
#   ORVIS_DEMO_STAGE  an installed folder to copy the programs from, instead
#                     of installing packages and building
#   ORVIS_DEMO_WEB_PORT, ORVIS_DEMO_SMTP_PORT, ORVIS_DEMO_SERVICE: see demo.py
set -euo pipefail
cd "$(dirname "$0")/.."
demo="$(realpath -m "${ORVIS_DEMO_DIR:-demo}")"
mkdir -p "$demo"
if [ -n "${ORVIS_DEMO_STAGE:-}" ]; then
  cp -a "$ORVIS_DEMO_STAGE"/. "$demo"/
else
  scripts/deps.sh
  scripts/build.sh
  cmake --install "${ORVIS_BUILD_DIR:-build}" --prefix "$demo" > /dev/null
fi
exec /usr/bin/python3 scripts/demo/demo.py "$demo"
