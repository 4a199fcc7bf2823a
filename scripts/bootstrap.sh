#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the demo need.
# Does nothing (and touches no package list) when everything is already there.
set -euo pipefail

# package name, then a file that proves it is installed
readonly REQUIRED=(
  "cmake:/usr/bin/cmake"
  "ninja-build:/usr/bin/ninja"
  "g++:/usr/bin/g++"
  "g++-mingw-w64-x86-64-posix:/usr/bin/x86_64-w64-mingw32-g++-posix"
  "gcc-mingw-w64-x86-64-posix:/usr/bin/x86_64-w64-mingw32-gcc-posix"
  "binutils-mingw-w64-x86-64:/usr/bin/x86_64-w64-mingw32-windres"
  "wine64:/usr/lib/wine/wine64"
  "wine:/usr/bin/wine"
  "xvfb:/usr/bin/Xvfb"
  "xdotool:/usr/bin/xdotool"
  "googletest:/usr/src/googletest/CMakeLists.txt"
  "libgtest-dev:/usr/include/gtest/gtest.h"
  "libgmock-dev:/usr/include/gmock/gmock.h"
  "clang:/usr/bin/clang++"
  "libclang-rt-14-dev:/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a"
)

missing=()
for entry in "${REQUIRED[@]}"; do
  package=${entry%%:*}
  marker=${entry#*:}
  [[ -e $marker ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

if ((EUID != 0)); then
  echo "bootstrap: missing packages: ${missing[*]}; run as root to install them" >&2
  exit 1
fi

echo "bootstrap: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q "${missing[@]}"
