#!/usr/bin/env bash
# Builds every preset and runs every test: the unit tests natively, the same under
# AddressSanitizer and UBSan, the fuzz targets for a fixed number of inputs each,
# then the Windows build's end-to-end tests under Wine.
# Ends with the ctest summary of each preset; exits non-zero when any step failed.
#
# Environment: TUNEBRIDGE_BUILD_ROOT puts the build folders elsewhere (default: build/).
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
build_root=${TUNEBRIDGE_BUILD_ROOT:-$repo/build}
jobs=2

bash scripts/bootstrap.sh || exit 1

declare -A summary=()
failed=0

# Runs one preset: configure, build, ctest (through the given launcher). The ctest
# output is kept so its summary can be repeated at the end.
run_preset() {
  local preset=$1
  shift
  local dir=$build_root/$preset
  local log=$build_root/$preset-ctest.log
  mkdir -p "$build_root"
  echo "==== $preset: configure and build ($dir)"
  if ! cmake --preset "$preset" -B "$dir" >"$build_root/$preset-configure.log" 2>&1; then
    cat "$build_root/$preset-configure.log"
    summary[$preset]="configure failed (see $build_root/$preset-configure.log)"
    failed=1
    return
  fi
  if ! cmake --build "$dir" -j "$jobs"; then
    summary[$preset]="build failed"
    failed=1
    return
  fi
  echo "==== $preset: tests"
  "$@" ctest --test-dir "$dir" --output-on-failure --no-tests=error --timeout 300 -j "$jobs" 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  summary[$preset]=$(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1)
  [[ -n ${summary[$preset]} ]] || summary[$preset]="ctest reported no summary"
  if ((status != 0)); then
    summary[$preset]+=" (ctest exit status $status)"
    failed=1
  fi
}

presets=(native native-sanitize fuzz windows)
run_preset native
run_preset native-sanitize
run_preset fuzz
run_preset windows bash scripts/wine-session.sh "$build_root/windows" --

echo
echo "==== ctest summaries"
for preset in "${presets[@]}"; do
  printf '%-16s %s\n' "$preset:" "${summary[$preset]:-not run}"
done
exit "$failed"
