#!/usr/bin/env bash
# Installs what is missing, builds, installs the system into demo/ (a data
# folder with a few sample jobs) and starts the monitor there: a normal start
# with its window when there is a display, the service start without one.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
demo="$(pwd)/demo"
cmake --install build --prefix "$demo" > /dev/null
scripts/seed-demo.sh "$demo"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting $demo/OrvisWatch (log: $demo/syslog/)"
  exec "$demo/OrvisWatch" OrvisWatch
else
  echo "No display: service start of $demo/OrvisWatch (log: $demo/syslog/; stop with Ctrl+C or SIGTERM)"
  exec "$demo/OrvisWatch" OrvisWatchService
fi
