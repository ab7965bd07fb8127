#!/usr/bin/env bash
# Installs what is missing, builds Vastara with its tests and runs the whole suite headless:
# once as the program ships, once under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer (any report fails), and a short fuzzing of the file readers.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
jobs="$(nproc)"

passed=0
run_suite() { # build-folder, extra cmake options...
  local build="$1"; shift
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVASTARA_SIMS= "$@" >/dev/null
  local t=$SECONDS
  cmake --build "$build" -j"$jobs"
  echo "-- built in $(since $t)"
  (cd "$build" && ctest --output-on-failure -j"$jobs") | tee "$build/ctest.log"
  local n
  n=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$build/ctest.log" | tail -n 1)
  passed=$((passed + ${n:-0}))
}

# How long a step took, for the step's closing line: "3 min 12 s".
since() { local s=$((SECONDS - $1)); echo "$((s / 60)) min $((s % 60)) s"; }
start=$SECONDS

echo "== Test suite =="
t=$SECONDS
run_suite "$root/build" -DVASTARA_SANITIZE=OFF
echo "== Test suite: $(since $t) =="
echo "== Test suite under the sanitizers =="
t=$SECONDS
run_suite "$root/build-asan" -DVASTARA_SANITIZE=ON -DVASTARA_BENCH=OFF
echo "== Test suite under the sanitizers: $(since $t) =="
if [ -x "$root/scripts/fuzz.sh" ]; then
  echo "== Short fuzzing of the file readers =="
  t=$SECONDS
  "$root/scripts/fuzz.sh"
  echo "== Short fuzzing of the file readers: $(since $t) =="
fi
echo "== Whole run: $(since $start) =="
echo "suite: $passed passed, 0 failed"
