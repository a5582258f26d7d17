#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in build/fuzz, then runs each for a fixed number
# of executions, starting from its seeds in fuzz/corpus/<target>/. Any finding
# (a crash, a sanitizer report, a leak, a failed check or a run over its time
# limit) fails the script; the input that caused it is kept in
# build/fuzz/findings/ and replays with `build/fuzz/fuzz/fuzz_<target> FILE`.
#
# ZELVO_FUZZ_SCALE=N runs N times as many executions (a longer session by
# hand); ZELVO_FUZZ_SEED=N takes another random sequence (1 by default, so
# that a CI run does the same executions as the last).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh fuzz

dir=build/fuzz
cmake -S . -B "$dir" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DZELVO_WERROR=ON -DZELVO_SANITIZE=ON -DZELVO_FUZZ=ON \
  -DZELVO_BUILD_TESTS=OFF -DZELVO_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target zelvo_fuzz

# Executions per target: five to twenty seconds each on one core of this
# machine, about a minute in all on its two cores.
declare -A runs=(
  [device_answers]=1000000
  [transfer_loops]=15000
  [configuration_file]=30000
  [goods_file]=5000
  [goods_csv]=100000
  [state_decoding]=500000
  [device_text]=300000
  [price]=750000
)
scale=${ZELVO_FUZZ_SCALE:-1}
seed=${ZELVO_FUZZ_SEED:-1}

rm -rf "$dir/findings" "$dir/work" "$dir/logs"
mkdir -p "$dir/findings" "$dir/work" "$dir/logs"
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

fuzz_one() {
  local name=$1 count=$2
  mkdir -p "$dir/work/$name"
  # New inputs go to the work folder; the seeds in the repository are only read.
  if "$dir/fuzz/fuzz_$name" -runs="$count" -seed="$seed" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$dir/findings/$name-" "$dir/work/$name" "fuzz/corpus/$name" \
      >"$dir/logs/$name.log" 2>&1; then
    echo "fuzz_$name: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$dir/logs/$name.log" | tail -1)"
    touch "$dir/logs/$name.passed"
  else
    echo "fuzz_$name: FAILED"
    tail -n 60 "$dir/logs/$name.log"
  fi
}

names=$(printf '%s\n' "${!runs[@]}" | sort)
for name in $names; do
  [ -x "$dir/fuzz/fuzz_$name" ] || { echo "fuzz_$name was not built"; exit 1; }
done
# One target per core at a time; every target runs even when one fails.
for name in $names; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
  fuzz_one "$name" $((${runs[$name]} * scale)) &
done
wait

passed=0
failed=0
for name in $names; do
  if [ -e "$dir/logs/$name.passed" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done
echo "fuzzing: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || { echo "the inputs of the findings are in $dir/findings"; exit 1; }
