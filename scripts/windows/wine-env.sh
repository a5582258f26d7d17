# Sourced by the Windows test scripts: the Wine prefix they share
# (build/windows/wine, made once), quiet Wine, and the helpers below.
# Expects to be sourced from the repository's root.
export WINEPREFIX="$PWD/build/windows/wine"
export WINEDEBUG=-all
# No Mono or Gecko installer prompts: Zelvo needs neither.
export WINEDLLOVERRIDES="mscoree=;mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1
fi

# The Windows form of a Linux path, as Wine's Z: drive shows it.
windows_path() {
  local p
  p=$(readlink -f "$1")
  echo "Z:${p//\//\\}"
}

# Runs a Windows program, bounded; its exit code is the command's.
wine_run() {
  local seconds=$1
  shift
  timeout --kill-after=10 "$seconds" wine "$@"
}

# Serves zelvo-sim to the Windows programs (scripts/windows/sim-broker.py) on
# COM10..COM99 until the calling script ends.
start_sim_broker() {
  sim_broker=$(mktemp -d /tmp/zelvo-broker.XXXXXX)
  python3 scripts/windows/sim-broker.py "$sim_broker" "$PWD/build/test/src/zelvo-sim" \
    "$WINEPREFIX/dosdevices" 10 99 &
  sim_broker_pid=$!
  trap 'touch "$sim_broker/quit"; wait $sim_broker_pid 2>/dev/null; rm -rf "$sim_broker"' EXIT
  export ZELVO_SIM_BROKER
  ZELVO_SIM_BROKER=$(windows_path "$sim_broker")
}

# Counts the checks of a script: check DESCRIPTION COMMAND... runs the command
# and says FAIL with the description when it fails.
passed=0
failed=0
check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $what"
  fi
}
