#!/usr/bin/env bash
# Runs the plain test suite several times while another process keeps one core busy, and names
# every test that failed at least once, with its failure lines. A test that fails only now and
# then under load is a fault to mend, not a run to repeat.
#   scripts/stress.sh [RUNS]      (default 3; not part of the test command)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-3}"
build="$root/build"
logs="$(mktemp -d)"

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVASTARA_SIMS= -DVASTARA_SANITIZE=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

# One core kept busy for the whole run.
( while :; do :; done ) &
busy=$!
trap 'kill "$busy" 2>/dev/null || true' EXIT

for i in $(seq 1 "$runs"); do
  echo "== Run $i of $runs =="
  (cd "$build" && ctest --output-on-failure -j"$(nproc)") > "$logs/run$i.log" 2>&1 || true
  tail -n 3 "$logs/run$i.log" | sed -n '/tests passed/p'
done

# ctest's list of failed tests in each run: "  12 - test_gravi (Failed)".
failed=$(sed -n '/The following tests FAILED:/,$p' "$logs"/run*.log | sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) .*/\1/p' | sort | uniq -c)
if [ -z "$failed" ]; then
  echo "stress: every test passed in all $runs runs"
  exit 0
fi
echo "stress: tests that failed (runs failed out of $runs):"
echo "$failed"
for t in $(echo "$failed" | awk '{print $2}'); do
  echo "-- $t"
  # The output ctest prints under a failed test, down to the next test's line: QtTest's FAIL!
  # and Loc: lines, and the reason a shell test gives as it exits.
  for f in "$logs"/run*.log; do
    awk -v t="$t" -v run="$(basename "$f" .log)" '
      /Test +#[0-9]+: / { on = ($0 ~ ("Test +#[0-9]+: " t " ") && $0 !~ /Passed/); next }
      /^ +Start +[0-9]+: / { on = 0; next }
      on && NF { print run ": " $0 }
    ' "$f" | grep -E "FAIL!|Loc:|did not|never|does not|Timeout|rror|Abort|Segmentation" | head -n 8
  done
done
echo "logs in $logs"
exit 1
