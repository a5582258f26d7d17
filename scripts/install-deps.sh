#!/usr/bin/env bash
# Installs the Debian 12 packages Zelvo needs to build, test and run; does
# nothing when they are all present. With the argument "package" also the
# tools that build the Debian package and check it as CI does; with "fuzz"
# the ones the fuzz targets need (scripts/fuzz.sh): clang and its runtime
# libraries, which hold libFuzzer and the sanitizers' runtimes for clang; with
# "windows" the cross compilers and tools that build Zelvo for Windows and its
# installer (scripts/windows-toolchain.sh, scripts/windows.sh); with "wine"
# what runs and looks at it (scripts/windows-test.sh).
set -euo pipefail
packages=(
  build-essential cmake librsvg2-bin
  qt6-base-dev qt6-serialport-dev qt6-5compat-dev qt6-qpa-plugins libgl1-mesa-dev
  qt6-translations-l10n fonts-dejavu-core fontconfig
  libcsv-dev ser2net
  xvfb xauth poppler-utils
)
if [ "${1:-}" = package ]; then
  packages+=(dpkg-dev desktop-file-utils appstream xdotool x11-utils)
fi
if [ "${1:-}" = fuzz ]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi
if [ "${1:-}" = windows ]; then
  packages+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    ninja-build dpkg-dev qt6-base-dev-tools qt6-tools-dev-tools perl python3 nsis icoutils
    imagemagick)
fi
if [ "${1:-}" = wine ]; then
  packages+=(wine wine64 x11-utils python3 imagemagick)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# Another script of the README (or the system's own updates) may hold the
# package manager's lock: wait for it rather than fail.
lock_wait=${ZELVO_APT_LOCK_WAIT:-900}
lock_busy() {
  command -v lslocks >/dev/null 2>&1 || return 1
  lslocks -n -o PATH 2>/dev/null |
    grep -qE '^/var/lib/(dpkg/lock(-frontend)?|apt/lists/lock)$|^/var/cache/apt/archives/lock$'
}
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  apt_options=(-o "DPkg::Lock::Timeout=$lock_wait")
  if lock_busy; then
    echo "install-deps: another package manager is running; waiting for it (up to ${lock_wait} s)..." >&2
  fi
  $SUDO apt-get "${apt_options[@]}" update -qq
  if lock_busy; then
    echo "install-deps: another package manager is running; waiting for it (up to ${lock_wait} s)..." >&2
  fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get "${apt_options[@]}" install -y -qq "${missing[@]}"
fi
