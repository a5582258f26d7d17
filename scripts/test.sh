#!/usr/bin/env bash
# Installs what is missing, builds Zelvo with warnings as errors and runs every
# test. ZELVO_SANITIZE=1 builds and runs the suite with AddressSanitizer and
# UndefinedBehaviorSanitizer in a build folder of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if [ "${ZELVO_SANITIZE:-0}" = "1" ]; then
  dir=build/asan; type=Debug; sanitize=ON
else
  dir=build/test; type=RelWithDebInfo; sanitize=OFF
fi
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE="$type" -DZELVO_WERROR=ON -DZELVO_SANITIZE="$sanitize" >/dev/null
cmake --build "$dir" -j"$(nproc)"
cd "$dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
