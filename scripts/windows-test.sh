#!/usr/bin/env bash
# Builds Zelvo for Windows with its tests (scripts/windows.sh --tests) and runs
# them under Wine on this Debian machine:
#  1. every test program, with Qt's offscreen platform; the tests that need the
#     simulator reach the Linux zelvo-sim through a broker
#     (scripts/windows/sim-broker.py) on COM ports that the Wine prefix maps
#     onto its pseudo-terminals;
#  2. zelvo-cli.exe end to end against zelvo-sim on COM5, frame for frame and
#     file for file the same as the Linux zelvo-cli (scripts/windows/cli-e2e.sh);
#  3. the installer: a silent install, the installed zelvo.exe showing its main
#     window on a virtual X server, zelvo-cli from a command prompt, a silent
#     uninstall (scripts/windows/installer-check.sh).
# Ends with "windows: N passed, N failed"; exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh >/dev/null
bash scripts/install-deps.sh wine >/dev/null

bash scripts/windows.sh --tests
# The Linux simulator and command line, for the broker and the comparison.
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVO_WERROR=ON >/dev/null
cmake --build build/test -j"$(nproc)" --target zelvo-sim zelvo-cli >/dev/null

source scripts/windows/wine-env.sh
passed=0
failed=0
for part in run-suite cli-e2e installer-check; do
  log=build/windows/$part.log
  # A part that fails is counted by its own totals; the next part still runs.
  bash "scripts/windows/$part.sh" 2>&1 | tee "$log" || true
  totals=$(grep -E '^[a-z0-9-]+: [0-9]+ passed, [0-9]+ failed' "$log" | tail -n1 || true)
  if [ -z "$totals" ]; then
    echo "$part: ended without a result"
    failed=$((failed + 1))
    continue
  fi
  read -r p f < <(echo "$totals" | sed -E 's/^[a-z0-9-]+: ([0-9]+) passed, ([0-9]+) failed.*/\1 \2/')
  passed=$((passed + p))
  failed=$((failed + f))
done

echo "windows: $passed passed, $failed failed"
[ "$failed" = 0 ]
