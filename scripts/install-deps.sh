#!/usr/bin/env bash
# Installs the Debian 12 packages Zelvo needs to build, test and run; does
# nothing when they are all present. With the argument "package" also the
# tools that build the Debian package and check it as CI does.
set -euo pipefail
packages=(
  build-essential cmake librsvg2-bin
  qt6-base-dev qt6-serialport-dev qt6-5compat-dev qt6-qpa-plugins libgl1-mesa-dev
  qt6-translations-l10n fonts-dejavu-core fontconfig
<<<<<<< HEAD
  libcsv-dev
  xvfb xauth
=======
  xvfb xauth poppler-utils
>>>>>>> pkg
)
if [ "${1:-}" = package ]; then
  packages+=(dpkg-dev desktop-file-utils appstream xdotool x11-utils)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
