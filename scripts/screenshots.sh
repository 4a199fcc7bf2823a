#!/usr/bin/env bash
# Renews the README's screenshots: builds the Windows preset, runs under Wine only
# the end-to-end tests that photograph the main window, the settings dialog and the
# about box, and converts their BMP artifacts into PNG files in docs/screenshots/.
#   scripts/screenshots.sh [BUILD_DIR]   (default: build/windows, or
#                                         $TUNEBRIDGE_BUILD_ROOT/windows when that is set)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
build_dir=${1:-${TUNEBRIDGE_BUILD_ROOT:-$repo/build}/windows}
readonly shots=(main-window settings-dialog about-box)
readonly tests='^(Startup\.WithoutThePlayer|Dialogs\.)'

bash scripts/bootstrap.sh
# ImageMagick makes the PNG files; bootstrap.sh leaves it out, as only this script needs it.
if [[ ! -e /usr/bin/convert ]]; then
  if ((EUID != 0)); then
    echo "screenshots: ImageMagick is missing; run as root to install it" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends imagemagick
fi

# A build folder configured before is built as it is.
[[ -e $build_dir/CMakeCache.txt ]] || cmake --preset windows -B "$build_dir"
cmake --build "$build_dir" -j 2 --target e2e_tests

# Old pictures must not pass for new ones when a test fails before its screenshot.
artifacts=$build_dir/artifacts
for shot in "${shots[@]}"; do rm -f "$artifacts/$shot.bmp"; done
bash scripts/wine-session.sh "$build_dir" -- \
  ctest --test-dir "$build_dir" -R "$tests" --output-on-failure --no-tests=error --timeout 300

mkdir -p docs/screenshots
for shot in "${shots[@]}"; do
  # Without metadata (-strip), the same picture gives the same bytes at every run.
  /usr/bin/convert "$artifacts/$shot.bmp" -strip "docs/screenshots/$shot.png"
  echo "screenshots: docs/screenshots/$shot.png"
done
