#!/usr/bin/env bash
# Builds the Debian package build/package/zelvo_<version>_<arch>.deb (a Release
# build without tests, then CPack). Installs the missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh package
cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release -DZELVO_WERROR=ON \
  -DZELVO_BUILD_TESTS=OFF -DZELVO_BUILD_BENCH=OFF >/dev/null
cmake --build build/package -j"$(nproc)"
rm -f build/package/zelvo_*.deb
(cd build/package && cpack -G DEB >/dev/null)
ls build/package/zelvo_*.deb
