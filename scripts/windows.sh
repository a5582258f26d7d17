#!/usr/bin/env bash
# Builds Zelvo for Windows on this Debian machine and packs its installer:
# build/windows/Zelvo-<version>-setup.exe. Installs the missing Debian
# packages and builds the cross toolchain first (scripts/windows-toolchain.sh,
# cached: minutes the first time, nothing after).
#
#   bash scripts/windows.sh          the installer (a Release build)
#   bash scripts/windows.sh --tests  also the test programs, for scripts/windows-test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

tests=OFF
[ "${1:-}" = --tests ] && tests=ON

# Installs the packages it needs, ours among them.
toolchain=$(bash scripts/windows-toolchain.sh | tail -n1)

build=build/windows
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELVO_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain/toolchain.cmake" -DCMAKE_PREFIX_PATH="$toolchain" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DZELVO_WINDOWS_RUNTIME_DIR="$toolchain/runtime" \
  -DZELVO_BUILD_TESTS=$tests -DZELVO_BUILD_BENCH=$tests >/dev/null
cmake --build "$build" -j"$(nproc)"

# The installed folder, as the installer lays it out.
rm -rf "$build/stage"
cmake --install "$build" --prefix "$build/stage" >/dev/null

version=$(sed -n 's/^project(Zelvo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
installer="$build/Zelvo-$version-setup.exe"
rm -f "$installer"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$(pwd)/$build/stage" \
  -DICON="$(pwd)/$build/icons/zelvo.ico" -DOUTFILE="$(pwd)/$installer" packaging/windows/zelvo.nsi
ls "$installer"
