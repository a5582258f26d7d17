#!/usr/bin/env bash
# Runs every Windows test program under Wine with Qt's offscreen platform,
# from one folder laid out as the installed program is (build/windows/run),
# while the simulator broker serves zelvo-sim to the tests that need it.
# Prints each program's totals and ends with "suite: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source scripts/windows/wine-env.sh
toolchain=$(bash scripts/windows-toolchain.sh | tail -n1)

run=build/windows/run
rm -rf "$run"
mkdir -p "$run/logs" "$run/plugins/platforms"
cp -r build/windows/stage/. "$run/"
find build/windows -path "$run" -prune -o \( -name 'tst_*.exe' -o -name 'bench_*.exe' \) -print |
  xargs -r cp -t "$run/"
cp "$toolchain/plugins/platforms/qoffscreen.dll" "$run/plugins/platforms/"
cp "$toolchain"/bin/Qt6*.dll "$run/"
# Qt's offscreen platform on Windows reads its fonts from lib/fonts beside the
# programs: the DejaVu fonts the Linux tests see through fontconfig.
mkdir -p "$run/lib/fonts"
cp /usr/share/fonts/truetype/dejavu/*.ttf "$run/lib/fonts/"

start_sim_broker

passed=0
failed=0
skipped=0
broken=0
for exe in "$run"/tst_*.exe; do
  name=$(basename "$exe" .exe)
  # Wine keeps QT_* variables from Windows programs, so the platform goes on
  # the command line; a test without windows (QCoreApplication) refuses it.
  (cd "$run" && wine_run 900 "./$name.exe" -platform offscreen -o "logs/$name.txt,txt" \
    >"logs/$name.stdout" 2>&1)
  code=$?
  if grep -q "Unknown option: '-platform'" "$run/logs/$name.stdout"; then
    (cd "$run" && wine_run 900 "./$name.exe" -o "logs/$name.txt,txt" >"logs/$name.stdout" 2>&1)
    code=$?
  fi
  totals=$(grep -a '^Totals:' "$run/logs/$name.txt" 2>/dev/null | tail -n1)
  if [ -z "$totals" ]; then
    echo "$name: no result (exit $code)"
    broken=$((broken + 1))
    continue
  fi
  read -r p f s < <(echo "$totals" | sed -E 's/Totals: ([0-9]+) passed, ([0-9]+) failed, ([0-9]+) skipped.*/\1 \2 \3/')
  passed=$((passed + p))
  failed=$((failed + f))
  skipped=$((skipped + s))
  echo "$name: $p passed, $f failed, $s skipped"
  if [ "$f" != 0 ] || [ "$code" != 0 ]; then
    grep -a -B2 -A6 '^FAIL!' "$run/logs/$name.txt" | head -60
    [ "$f" = 0 ] && failed=$((failed + 1))
  fi
done
failed=$((failed + broken))
echo "suite: $passed passed, $failed failed, $skipped skipped"
[ "$failed" = 0 ]
