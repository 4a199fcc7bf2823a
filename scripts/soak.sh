#!/usr/bin/env bash
# The soak run: builds the Windows preset, then runs tunebridge.exe for MINUTES
# (default 10) under Wine beside a chattering console, a player that changes
# track every 5 seconds and the sensor program, and writes the figures to
# docs/reliability.md (bench/soak_monitor.cpp). Not part of scripts/test.sh.
#   scripts/soak.sh [MINUTES]
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
build=${TUNEBRIDGE_BUILD_ROOT:-$repo/build}/windows
minutes=${1:-10}

bash scripts/bootstrap.sh
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j 2

# Wine's drive Z: is the Unix root.
report="Z:${repo//\//\\}\\docs\\reliability.md"
bash scripts/wine-session.sh "$build" -- bash -c '"$WINE" "$1" "$2" "$3" </dev/null' soak \
  "$build/bin/soak_monitor.exe" "$minutes" "$report"
