#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang and libFuzzer in build-fuzz/ and runs each one on a
# copy of its seed corpus. Any crash, sanitizer report, broken invariant, timeout or memory
# overrun fails the script; the input that caused it is kept under build-fuzz/artifacts/.
#
#   scripts/fuzz.sh                    short run: 20 s per target (FUZZ_SECONDS)
#   scripts/fuzz.sh --seconds 120      a given number of seconds per target
#   scripts/fuzz.sh --long             until 10,000,000 executions per target (FUZZ_RUNS)
#   scripts/fuzz.sh --long --runs 1000000 --max-time 1500
#   scripts/fuzz.sh fuzz_flag          only the targets named (fuzz_config fuzz_langfile fuzz_flag)
#
# Environment: FUZZ_SECONDS, FUZZ_RUNS, FUZZ_MAX_TIME (a long run stops after this many seconds
# even short of its executions; 0 = no limit), FUZZ_LONG=1 (as --long), FUZZ_NICE (default 10),
# FUZZ_APP_DIR (fuzz another copy of app/, built in build-fuzz/build-alt).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

seconds="${FUZZ_SECONDS:-20}"
runs="${FUZZ_RUNS:-10000000}"
max_time="${FUZZ_MAX_TIME:-0}"
long="${FUZZ_LONG:-0}"
niceness="${FUZZ_NICE:-10}"
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --long) long=1 ;;
    --seconds) seconds="$2"; shift ;;
    --runs) runs="$2"; shift ;;
    --max-time) max_time="$2"; shift ;;
    -h|--help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    fuzz_config|fuzz_langfile|fuzz_flag) targets+=("$1") ;;
    *) echo "unknown argument: $1" >&2; exit 2 ;;
  esac
  shift
done
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_config fuzz_langfile fuzz_flag)

# Tools: Qt and CMake as for the program, clang and the libFuzzer runtime besides.
"$root/scripts/deps.sh"
need=()
command -v clang++ >/dev/null || need+=(clang)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-14-dev)
if [ ${#need[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${need[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

work="$root/build-fuzz"
build="$work/build"
cmake_args=(-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ -n "${FUZZ_APP_DIR:-}" ]; then
  build="$work/build-alt"
  cmake_args+=(-DVASTARA_APP_DIR="$(cd "$FUZZ_APP_DIR" && pwd)")
else
  cmake_args+=(-DVASTARA_APP_DIR="$root/app")
fi
cmake -S "$root/fuzz" -B "$build" "${cmake_args[@]}" >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}" make_corpus

# Scratch files of the targets stay inside build-fuzz/.
mkdir -p "$work/tmp" "$work/logs"
rm -rf "$work/tmp"/vastara-fuzz-*  # left by an earlier run that crashed
export TMPDIR="$work/tmp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

max_len() {
  case "$1" in
    fuzz_config) echo 1024 ;;
    fuzz_langfile) echo 8192 ;;
    fuzz_flag) echo 16384 ;;
  esac
}

failed=0
summary=()
for t in "${targets[@]}"; do
  short="${t#fuzz_}"
  bin="$build/$t"
  artifacts="$work/artifacts/$t"
  rm -rf "$artifacts"
  mkdir -p "$artifacts"

  # Inputs that once broke a target must pass first.
  regress="$root/fuzz/regressions/$t"
  if [ -d "$regress" ] && [ -n "$(ls -A "$regress")" ]; then
    if ! "$bin" -rss_limit_mb=1024 -timeout=10 "$regress"/* >"$work/logs/$t.regressions.log" 2>&1; then
      echo "$t: a saved regression input fails; see $work/logs/$t.regressions.log" >&2
      grep -E "invariant broken|ERROR:|SUMMARY:|Running:" "$work/logs/$t.regressions.log" | tail -n 6 >&2 || true
      failed=1
      summary+=("$(printf '%-14s regressions FAILED' "$t")")
      continue
    fi
  fi

  corpus="$work/corpus/$short"
  rm -rf "$corpus"
  mkdir -p "$corpus"
  cp "$root/fuzz/corpus/$short/"* "$corpus/"

  args=(-rss_limit_mb=1024 -timeout=10 -max_len="$(max_len "$t")" -print_final_stats=1
        -report_slow_units=2 -dict="$root/fuzz/dicts/$short.dict" -artifact_prefix="$artifacts/")
  if [ "$long" = 1 ]; then
    args+=(-runs="$runs")
    limit=""
    if [ "$max_time" != 0 ]; then
      args+=(-max_total_time="$max_time")
      limit=" (at most $max_time s)"
    fi
    echo "== $t: until $runs executions$limit"
  else
    args+=(-max_total_time="$seconds")
    echo "== $t: $seconds s"
  fi
  log="$work/logs/$t.log"
  status=0
  nice -n "$niceness" "$bin" "${args[@]}" "$corpus" >"$log" 2>&1 || status=$?
  execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)"
  rss="$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | tail -n 1)"
  slow="$(sed -n 's/^stat::slowest_unit_time_sec: *//p' "$log" | tail -n 1)"
  slow_inputs="$(find "$artifacts" -name 'slow-unit-*' | wc -l)"
  [ "$slow_inputs" -gt 0 ] && slow="$slow ($slow_inputs inputs over 2 s kept in $artifacts)"
  if [ "$status" -ne 0 ]; then
    failed=1
    result="FAILED (exit $status)"
    echo "$t failed; log: $log" >&2
    grep -E "invariant broken|ERROR:|SUMMARY:|Test unit written" "$log" | tail -n 8 >&2 || true
  else
    result="ok"
  fi
  summary+=("$(printf '%-14s %10s executions %6s exec/s  peak RSS %4s MB  slowest input %s s  %s' \
    "$t" "${execs:-?}" "${rate:-?}" "${rss:-?}" "${slow:-?}" "$result")")
done

echo
echo "Fuzzing summary:"
printf '  %s\n' "${summary[@]}"
exit $failed
