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
stage="$build/stage"
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" >/dev/null
# Symbols help no user: stripped, libstdc++ alone goes from 23.7 MB to 1.96 MB.
before=$(du -sk "$stage" | cut -f1)
find "$stage" -type f \( -name '*.dll' -o -name '*.exe' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
after=$(du -sk "$stage" | cut -f1)
echo "stripped: $((before / 1024)) MB -> $((after / 1024)) MB" >&2

# What the uninstaller removes: exactly these files, then their folders when
# they are empty (the deepest first).
files_list="$build/installed-files.nsh"
(
  cd "$stage"
  find . -type f | sed 's|^\./||' | sort | while IFS= read -r f; do
    printf 'Delete "$INSTDIR\\%s"\n' "${f//\//\\}"
  done
  find . -mindepth 1 -type d | sed 's|^\./||' | awk '{ print length($0) "\t" $0 }' | sort -rn |
    cut -f2- | while IFS= read -r d; do
    printf 'RMDir "$INSTDIR\\%s"\n' "${d//\//\\}"
  done
) >"$files_list"

# The welcome and finish pages show the program's own icon.
picture="$build/installer-picture.bmp"
convert -size 164x314 xc:white "$build/icons/128.png" -geometry +18+70 -composite \
  -type TrueColor "BMP3:$picture"

version=$(sed -n 's/^project(Zelvo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
installer="$build/Zelvo-$version-setup.exe"
rm -f "$installer"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$(pwd)/$build/stage" \
  -DICON="$(pwd)/$build/icons/zelvo.ico" -DPICTURE="$(pwd)/$picture" \
  -DFILES="$(pwd)/$files_list" -DOUTFILE="$(pwd)/$installer" packaging/windows/zelvo.nsi
ls "$installer"
