#!/usr/bin/env bash
# Builds tunebridge.exe and packs what a player needs into
# dist/tunebridge-<version>.zip (the exe, a README for players, the licence),
# with a SHA-256 checksum file beside it. The version is the one in
# CMakeLists.txt, which the exe's version resource carries too.
# Environment: TUNEBRIDGE_BUILD_ROOT puts the build folder elsewhere (default: build/).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
build=${TUNEBRIDGE_BUILD_ROOT:-$repo/build}/package

bash scripts/bootstrap.sh
if [[ ! -x /usr/bin/zip ]]; then
  if ((EUID != 0)); then
    echo "package: zip is missing; run as root to install it (apt-get install zip)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q && apt-get install -y -q zip
fi

version=$(sed -n 's/^project(Tunebridge VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n $version ]] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }

cmake --preset windows -B "$build" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j 2 --target tunebridge

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
name=tunebridge-$version
mkdir "$stage/$name"
cp "$build/bin/tunebridge.exe" "$stage/$name/"
# Players open these with Notepad: CRLF line ends.
sed "s/@VERSION@/$version/" docs/player-readme.txt | sed 's/$/\r/' >"$stage/$name/README.txt"
sed 's/$/\r/' LICENSE >"$stage/$name/LICENSE.txt"

mkdir -p dist
rm -f "dist/$name.zip" "dist/$name.zip.sha256"
(cd "$stage" && zip -q -X -r "$repo/dist/$name.zip" "$name")
(cd dist && sha256sum "$name.zip" >"$name.zip.sha256")
echo "package: dist/$name.zip"
cat "dist/$name.zip.sha256"
