#!/bin/sh
# Runs a fuzz target from its committed seeds: run_fuzz_test.sh TARGET SEEDS
# ARTIFACTS [libFuzzer options...]. The seed is fixed, so that a run can be
# repeated; inputs the run finds go to a scratch folder that is removed
# afterwards, and an input that breaks the target is kept in ARTIFACTS.
set -eu
target=$1 seeds=$2 artifacts=$3
shift 3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$artifacts"
"$target" -seed=1 -timeout=20 -artifact_prefix="$artifacts/$(basename "$target")-" "$@" \
  "$scratch" "$seeds"
