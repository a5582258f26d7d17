#!/usr/bin/env bash
# The paced write and read of all 1001 goods records by the Windows build,
# through Wine's COM port onto zelvo-sim answering at 115200 bit/s, set against
# the line's own time for the same bytes. Run after scripts/windows-test.sh
# (it uses the folder build/windows/run that the suite ran from).
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/windows/wine-env.sh
start_sim_broker
# Wine's own diagnostics go to standard error; the figures are on standard output.
(cd build/windows/run && wine_run 600 ./bench_goods.exe -platform offscreen --paced-transfers 2>/dev/null)
