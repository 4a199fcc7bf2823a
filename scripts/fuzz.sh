#!/usr/bin/env bash
# Runs every fuzz target for a while, one after the other, from the
# repository's seeds and what earlier runs kept in the build folder. Stops at
# the first target that breaks; the input that broke it is kept beside the
# targets (crash-*, leak-*, timeout-*), its log in <target>.log.
#
# Usage: scripts/fuzz.sh [seconds per target, default 60]
# Environment: TUNEBRIDGE_BUILD_ROOT puts the build folder elsewhere (default: build/).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
seconds=${1:-60}
dir=${TUNEBRIDGE_BUILD_ROOT:-$repo/build}/fuzz
out=$dir/tests/fuzz

bash scripts/bootstrap.sh
cmake --preset fuzz -B "$dir" >/dev/null
cmake --build "$dir" -j 2

for seeds in tests/fuzz/corpus/*/; do
  name=$(basename "$seeds")
  echo "==== fuzz_$name: $seconds s"
  if ! "$out/fuzz_$name" -max_total_time="$seconds" -artifact_prefix="$out/" \
      "$out/corpus/$name" "$seeds" >"$out/$name.log" 2>&1; then
    tail -n 40 "$out/$name.log"
    echo "fuzz_$name broke; see $out/$name.log" >&2
    exit 1
  fi
  grep "^Done" "$out/$name.log"
done
