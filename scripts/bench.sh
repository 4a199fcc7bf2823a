#!/usr/bin/env bash
# Builds the Windows preset and runs every benchmark program under Wine, one
# after the other, printing their figures. Optional arguments name the
# benchmarks to run (for example: console_bench); default: all of them.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
build=${TUNEBRIDGE_BUILD_ROOT:-$repo/build}/windows

bash scripts/bootstrap.sh
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j 2

if (($# > 0)); then
  names=("$@")
else
  names=()
  for source in bench/*_bench.cpp; do
    names+=("$(basename "$source" .cpp)")
  done
fi

export BENCH_BIN=$build/bin
bash scripts/wine-session.sh "$build" -- bash -c \
  'for name in "$@"; do echo "==== $name"; "$WINE" "$BENCH_BIN/$name.exe" </dev/null; done' bench "${names[@]}"
