#!/usr/bin/env bash
# Configures and builds the fuzz targets into build-fuzz/ (clang++,
# -DORVIS_FUZZ=ON: only the fuzz targets and the libraries they test).
# Incremental on later runs.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-fuzz
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DORVIS_FUZZ=ON
fi
cmake --build "$dir" -j2
