#!/usr/bin/env bash
# zelvo-cli.exe under Wine against zelvo-sim on COM5 (the Wine prefix's com5
# links to the simulator's pseudo-terminal), beside the Linux zelvo-cli on the
# same simulator: the same frames on the line, the same files, the same exit
# codes. Also --json, and Ctrl+C during a paced read (exit 130, no file).
# Ends with "cli-e2e: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source scripts/windows/wine-env.sh

linux_cli="$PWD/build/test/src/zelvo-cli"
windows_cli="build/windows/stage/zelvo-cli.exe"
sim="$PWD/build/test/src/zelvo-sim"
work=$(mktemp -d /tmp/zelvo-e2e.XXXXXX)
com5="$WINEPREFIX/dosdevices/com5"
sim_pid=
stop_sim() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  sim_pid=
}
trap 'stop_sim; [ -n "${KEEP_E2E:-}" ] || rm -rf "$work"' EXIT

start_sim() { # options...
  stop_sim
  rm -f "$com5"
  : >"$work/sim.out"
  "$sim" --log --link "$com5" "$@" </dev/null >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  for _ in $(seq 200); do
    pty=$(sed -n 's/^PTY //p' "$work/sim.out")
    [ -n "$pty" ] && return 0
    sleep 0.05
  done
  echo "zelvo-sim did not start: $(cat "$work/sim.err")"
  return 1
}


# The frames logged since line $1 of the simulator's output.
frames_since() { tail -n +"$(($1 + 1))" "$work/sim.out" | grep -E '^(REQ|RSP)' || true; }
frames_of() { grep -E "^$1" || true; }
lines() { wc -l <"$work/sim.out"; }

# One command through both programs: $1 a name, the rest zelvo-cli's words
# with @DIR standing for the work folder.
run_both() {
  local name=$1
  shift
  local linux_args=() windows_args=() a
  for a in "$@"; do
    linux_args+=("${a//@DIR/$work/linux}")
    windows_args+=("${a//@DIR/$(windows_path "$work/windows")}")
  done
  mkdir -p "$work/linux" "$work/windows"
  local before
  before=$(lines)
  "$linux_cli" "${linux_args[@]}" --port "$pty" >"$work/$name.linux.out" 2>"$work/$name.linux.err"
  echo $? >"$work/$name.linux.code"
  frames_since "$before" >"$work/$name.linux.frames"
  before=$(lines)
  wine_run 300 "$windows_cli" "${windows_args[@]}" --port COM5 \
    >"$work/$name.windows.out" 2>"$work/$name.windows.err"
  echo $? >"$work/$name.windows.code"
  frames_since "$before" >"$work/$name.windows.frames"
}
same_code() { cmp -s "$work/$1.linux.code" "$work/$1.windows.code" && [ "$(cat "$work/$1.windows.code")" = "${2:-0}" ]; }
same_frames() { cmp -s "$work/$1.linux.frames" "$work/$1.windows.frames" && [ -s "$work/$1.windows.frames" ]; }
same_requests() {
  cmp -s <(frames_of REQ <"$work/$1.linux.frames") <(frames_of REQ <"$work/$1.windows.frames")
}
same_file() { cmp -s "$work/linux/$1" "$work/windows/$1"; }
json_ok() { python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); sys.exit(0 if d.get("exit", d.get("exitCode", 0)) == 0 else 1)' "$1"; }

start_sim || exit 1

run_both state state
check "state: exit code 0 on both" same_code state
check "state: the same requests" same_requests state

run_both state-json state --json
check "state --json: exit code 0" same_code state-json
check "state --json: a JSON document on a pipe" json_ok "$work/state-json.windows.out"

# A configuration: the device's own, read by Linux, written by both.
"$linux_cli" config read "$work/device.cfg" --port "$pty" >/dev/null 2>&1
cp "$work/device.cfg" "$work/source.cfg"
mkdir -p "$work/linux" "$work/windows"
cp "$work/source.cfg" "$work/linux/source.cfg"
cp "$work/source.cfg" "$work/windows/source.cfg"
run_both config-write config write @DIR/source.cfg
check "config write: exit code 0" same_code config-write
check "config write: the same frames" same_frames config-write
run_both config-read config read @DIR/read.cfg
check "config read: the same frames" same_frames config-read
check "config read: the same file" same_file read.cfg

# 1001 goods records from a CSV, written by both, read back as .base and .csv.
python3 - "$work/goods.csv" <<'PY'
import sys
rows = ["Код товара;Наименование;Шрифт;Штрих-код;Секция;Цена"]
for code in range(0, 1001):
    rows.append(f"{code};ТОВАР {code};узкий;{4600000000000 + code};{code % 16};{code}.{code % 100:02d}")
open(sys.argv[1], "w", encoding="utf-8").write("\r\n".join(rows) + "\r\n")
PY
cp "$work/goods.csv" "$work/linux/goods.csv"
cp "$work/goods.csv" "$work/windows/goods.csv"
run_both goods-write goods write @DIR/goods.csv
check "goods write of 1001 records: exit code 0" same_code goods-write
check "goods write of 1001 records: the same frames" same_frames goods-write
run_both goods-read goods read @DIR/goods.base
check "goods read: the same frames" same_frames goods-read
check "goods read: the same .base file" same_file goods.base
run_both goods-read-csv goods read @DIR/back.csv
check "goods read: the same .csv file" same_file back.csv

# Exit codes without a device: wrong usage (2, nothing sent) and a port that
# is not there (1).
run_both usage goods write
check "wrong usage: exit code 2 on both" same_code usage 2
rm -f "$WINEPREFIX/dosdevices/com6"
"$linux_cli" state --port /dev/zelvo-no-such-port >/dev/null 2>&1
linux_code=$?
wine_run 120 "$windows_cli" state --port COM6 >/dev/null 2>"$work/missing.err"
windows_code=$?
check "missing port: exit code 1 on both" test "$linux_code$windows_code" = 11
check "missing port: the reason in Russian" grep -q "COM6" "$work/missing.err"

# Ctrl+C during a paced read: stops after the exchange in flight, exit 130,
# and the file is not written at all.
start_sim --pace 115200 || exit 1
rm -f "$work/windows/stopped.base"
wine "$windows_cli" goods read "$(windows_path "$work/windows")\\stopped.base" --port COM5 \
  >/dev/null 2>"$work/ctrl-c.err" &
cli_pid=$!
for _ in $(seq 200); do
  [ "$(grep -c '^REQ' "$work/sim.out")" -ge 50 ] && break
  sleep 0.05
done
pkill -INT -f 'zelvo-cli.exe' || true
wait "$cli_pid"
code=$?
check "Ctrl+C: exit code 130" [ "$code" = 130 ]
check "Ctrl+C: says how far it got" grep -q "Ctrl+C" "$work/ctrl-c.err"
check "Ctrl+C: no file written" [ ! -e "$work/windows/stopped.base" ]
check "Ctrl+C: stopped before the end" [ "$(grep -c '^REQ' "$work/sim.out")" -lt 1001 ]

echo "cli-e2e: $passed passed, $failed failed"
[ "$failed" = 0 ]
