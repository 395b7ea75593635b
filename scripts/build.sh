#!/usr/bin/env bash
# Configures and builds into build/ (or $ORVIS_BUILD_DIR). Incremental on
# later runs. $ORVIS_CMAKE_ARGS adds configure options, for example
# "-DORVIS_WERROR=ON -DORVIS_SANITIZE=ON".
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${ORVIS_BUILD_DIR:-build}
read -r -a extra <<<"${ORVIS_CMAKE_ARGS:-}"
# A compiler cache, where the machine has one, spares the rebuilds of
# several build folders of one tree (the sanitizer build, work trees).
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
if [ ! -f "$dir/build.ninja" ] || [ ${#extra[@]} -gt 0 ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "${extra[@]}"
fi
cmake --build "$dir"
