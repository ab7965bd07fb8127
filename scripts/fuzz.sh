#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang and libFuzzer in build-fuzz/ and runs each one on a
# copy of its seed corpus. Any crash, sanitizer report, broken invariant, timeout or memory
# overrun fails the script; the input that caused it is kept under build-fuzz/artifacts/.
#
#   scripts/fuzz.sh                    short run: 20 s per target (FUZZ_SECONDS)
#   scripts/fuzz.sh --seconds 120      a given number of seconds per target
#   scripts/fuzz.sh --long             until 10,000,000 executions per target (FUZZ_RUNS)
#   scripts/fuzz.sh --long --runs 1000000 --max-time 1500
#   scripts/fuzz.sh --long --jobs 2    two targets at a time (one per core)
#   scripts/fuzz.sh --long --workers 2 fuzz_flag   one target in two processes sharing a corpus,
#                                      the executions split between them
#   scripts/fuzz.sh fuzz_flag          only the targets named (fuzz_config fuzz_langfile fuzz_flag)
#
# Environment: FUZZ_SECONDS, FUZZ_RUNS, FUZZ_MAX_TIME (a long run stops after this many seconds
# even short of its executions; 0 = no limit), FUZZ_LONG=1 (as --long), FUZZ_JOBS (default 1),
# FUZZ_WORKERS (processes per target in a long run, default 1),
# FUZZ_NICE (default 10), FUZZ_APP_DIR (fuzz another copy of app/, built in build-fuzz/build-alt),
# FUZZ_SCRATCH (folder for the targets' scratch files, default build-fuzz/tmp; a memory-backed
# folder such as /dev/shm/vastara spares the disk the millions of small writes of a long run).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

seconds="${FUZZ_SECONDS:-20}"
runs="${FUZZ_RUNS:-10000000}"
max_time="${FUZZ_MAX_TIME:-0}"
long="${FUZZ_LONG:-0}"
niceness="${FUZZ_NICE:-10}"
jobs="${FUZZ_JOBS:-1}"
workers="${FUZZ_WORKERS:-1}"
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --long) long=1 ;;
    --seconds) seconds="$2"; shift ;;
    --runs) runs="$2"; shift ;;
    --max-time) max_time="$2"; shift ;;
    --jobs) jobs="$2"; shift ;;
    --workers) workers="$2"; shift ;;
    -h|--help) sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
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

mkdir -p "$work/logs" "$work/summary"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

max_len() {
  case "$1" in
    fuzz_config) echo 1024 ;;
    fuzz_langfile) echo 8192 ;;
    fuzz_flag) echo 16384 ;;
  esac
}

# One target: its regression inputs, then the fuzzing. Writes its summary line to
# build-fuzz/summary/<target> and returns non-zero when it failed.
run_target() {
  local t="$1"
  local short="${t#fuzz_}"
  local bin="$build/$t"
  local artifacts="$work/artifacts/$t"
  local line="$work/summary/$t"
  rm -rf "$artifacts"
  mkdir -p "$artifacts"
  # Scratch files stay inside build-fuzz/ (or FUZZ_SCRATCH), one folder per target (targets may run at once);
  # a crash leaves its scratch folder behind, cleared here.
  export TMPDIR="${FUZZ_SCRATCH:-$work/tmp}/$t"
  rm -rf "$TMPDIR"
  mkdir -p "$TMPDIR"

  # Inputs that once broke a target must pass first.
  local regress="$root/fuzz/regressions/$t"
  if [ -d "$regress" ] && [ -n "$(ls -A "$regress")" ]; then
    if ! "$bin" -rss_limit_mb=1024 -timeout=10 "$regress"/* >"$work/logs/$t.regressions.log" 2>&1; then
      echo "$t: a saved regression input fails; see $work/logs/$t.regressions.log" >&2
      grep -E "invariant broken|ERROR:|SUMMARY:|Running:" "$work/logs/$t.regressions.log" | tail -n 6 >&2 || true
      printf '%-14s regressions FAILED\n' "$t" >"$line"
      return 1
    fi
  fi

  local corpus="$work/corpus/$short"
  rm -rf "$corpus"
  mkdir -p "$corpus"
  cp "$root/fuzz/corpus/$short/"* "$corpus/"

  local args=(-timeout=10 -max_len="$(max_len "$t")" -print_final_stats=1 -malloc_limit_mb=1024
              -report_slow_units=2 -dict="$root/fuzz/dicts/$short.dict" -artifact_prefix="$artifacts/")
  if [ "$long" = 1 ]; then
    # Over millions of inputs the process grows past what a short run needs (the sanitizer
    # keeps freed memory in quarantine, the corpus grows); one allocation stays within 1 GB.
    local split=""
    if [ "$workers" -gt 1 ]; then
      # libFuzzer's own parallel mode: each process runs its share and picks up the inputs
      # the others add to the shared corpus.
      args+=(-jobs="$workers" -workers="$workers" -runs="$(((runs + workers - 1) / workers))")
      split=" in $workers processes"
    else
      args+=(-runs="$runs")
    fi
    args+=(-rss_limit_mb=2048)
    local limit=""
    if [ "$max_time" != 0 ]; then
      args+=(-max_total_time="$max_time")
      limit=" (at most $max_time s)"
    fi
    echo "== $t: until $runs executions$split$limit"
  else
    args+=(-rss_limit_mb=1024 -max_total_time="$seconds")
    echo "== $t: $seconds s"
  fi
  local log="$work/logs/$t.log"
  # In parallel mode each process writes fuzz-<n>.log in the folder it was started from.
  local logs="$work/logs/$t.workers"
  rm -rf "$logs"
  mkdir -p "$logs"
  local status=0
  (cd "$logs" && nice -n "$niceness" "$bin" "${args[@]}" "$corpus") >"$log" 2>&1 || status=$?
  local stats=("$log")
  compgen -G "$logs/fuzz-*.log" >/dev/null && stats=("$logs"/fuzz-*.log)
  local execs rate rss slow slow_inputs result
  # Executions and their rates add up over the processes; memory and slowness are the worst.
  stat_values() { sed -n "s/^stat::$1: *//p" "${stats[@]}"; }
  execs="$(stat_values number_of_executed_units | awk '{s += $1} END {if (NR) print s}')"
  rate="$(stat_values average_exec_per_sec | awk '{s += $1} END {if (NR) print s}')"
  rss="$(stat_values peak_rss_mb | sort -n | tail -n 1)"
  slow="$(stat_values slowest_unit_time_sec | sort -n | tail -n 1)"
  # A process that failed leaves its input behind, whatever the exit status says.
  local kind
  for kind in crash leak oom timeout; do
    if [ "$status" -eq 0 ] && compgen -G "$artifacts/$kind-*" >/dev/null; then
      status=1
    fi
  done
  slow_inputs="$(find "$artifacts" -name 'slow-unit-*' | wc -l)"
  slow="${slow:-?} s"
  [ "$slow_inputs" -gt 0 ] && slow="$slow ($slow_inputs inputs over 2 s kept in $artifacts)"
  if [ "$status" -ne 0 ]; then
    result="FAILED (exit $status)"
    echo "$t failed; log: $log (and $logs/ when in several processes)" >&2
    grep -hE "invariant broken|ERROR:|SUMMARY:|Test unit written" "${stats[@]}" | tail -n 8 >&2 || true
  else
    result="ok"
  fi
  printf '%-14s %10s executions %6s exec/s  peak RSS %4s MB  slowest input %s  %s\n' \
    "$t" "${execs:-?}" "${rate:-?}" "${rss:-?}" "$slow" "$result" >"$line"
  [ "$status" -eq 0 ]
}

failed=0
running=0
for t in "${targets[@]}"; do
  rm -f "$work/summary/$t"
  if [ "$jobs" -le 1 ]; then
    run_target "$t" || failed=1
    continue
  fi
  if [ "$running" -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  run_target "$t" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done

echo
echo "Fuzzing summary:"
for t in "${targets[@]}"; do
  printf '  %s' "$(cat "$work/summary/$t" 2>/dev/null || echo "$t did not finish")"
  echo
done
exit $failed
