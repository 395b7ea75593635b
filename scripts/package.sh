#!/usr/bin/env bash
# Builds the Debian package of the system (CPack) and prints the path of the
# .deb. Installs what is missing and builds first, as scripts/test.sh does.
#   sudo apt install ./orviswatch_*.deb
#   sudo systemctl enable --now orviswatch
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh >&2
scripts/build.sh >&2
dir=${ORVIS_BUILD_DIR:-build}
out="$(realpath "$dir")/package"
cpack --config "$dir/CPackConfig.cmake" -B "$out" >&2
ls -t "$out"/orviswatch_*.deb | head -1
