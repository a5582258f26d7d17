#!/usr/bin/env bash
# Installs what is missing, builds Zelvo (with zelvo-cli and zelvo-sim beside it) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DZELVO_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target zelvo zelvo-cli zelvo-sim
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Zelvo on a virtual X server (xvfb-run)." >&2
  exec xvfb-run -a -s "-screen 0 1024x768x24" build/release/src/zelvo
fi
exec build/release/src/zelvo
