#!/usr/bin/env bash
# Runs every libFuzzer target of a build for a bounded number of runs, each on a scratch copy
# of its seed corpus (tests/fuzz/corpus/NAME for target NAME_fuzz), and fails when any target
# crashes. Crash inputs are kept in fuzz-artifacts/ at the top of the source tree.
#   usage: tools/run-fuzzers.sh BUILD_DIR RUNS
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR RUNS" >&2
  exit 2
fi
build=$1
runs=$2
root=$(cd "$(dirname "$0")/.." && pwd)
artifacts="$root/fuzz-artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

found=0
failed=()
for target in "$build"/tests/fuzz/*_fuzz; do
  [ -x "$target" ] || continue
  found=$((found + 1))
  name=$(basename "$target" _fuzz)
  corpus="$scratch/$name"
  mkdir -p "$corpus"
  if [ -d "$root/tests/fuzz/corpus/$name" ]; then
    cp -R "$root/tests/fuzz/corpus/$name/." "$corpus/"
  fi
  mkdir -p "$artifacts"
  echo "== $name: at most $runs runs"
  if ! "$target" -runs="$runs" -max_total_time=60 -timeout=30 \
      -artifact_prefix="$artifacts/$name-" "$corpus"; then
    failed+=("$name")
  fi
done

if [ "$found" -eq 0 ]; then
  echo "no fuzz targets found in $build/tests/fuzz" >&2
  exit 1
fi
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz targets that crashed: ${failed[*]} (inputs in $artifacts)" >&2
  exit 1
fi
echo "all $found fuzz targets passed"
