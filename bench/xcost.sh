#!/usr/bin/env bash
# What people pay on a real X server: for each screen size, a private Xvfb; the time from
# starting the program to its frame on the screen (median of several starts); then
# vastara_xcost's processor shares of the program and of the X server, window by window.
#   bench/xcost.sh [BUILD] [SECONDS] [ROUNDS] [ITEMS]   (default: build, 3, 3, every window;
#   ITEMS names menu items, e.g. H3,H4)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(readlink -f "${1:-$root/build}")"
seconds="${2:-3}"
rounds="${3:-3}"
items="${4:-}"
for t in Xvfb xdotool; do command -v "$t" >/dev/null || { echo "missing $t (scripts/deps.sh installs it)"; exit 2; }; done
work="$(mktemp -d)"
xpid=""
trap 'kill $xpid 2>/dev/null || true; rm -rf "$work"' EXIT

# Milliseconds from starting the program to its frame (a window wider than the start screen)
# on the screen, polled every 5 ms.
to_frame() {
  local t0 pid w width ms=""
  t0=$(date +%s%N)
  (cd "$work" && LANG=it_IT.UTF-8 QT_QPA_PLATFORM=xcb exec "$build/bin/vastara") >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 1 2000); do
    for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
      width=$(xdotool getwindowgeometry --shell "$w" 2>/dev/null | sed -n 's/^WIDTH=//p')
      if [ "${width:-0}" -gt 600 ]; then ms=$((($(date +%s%N) - t0) / 1000000)); break 2; fi
    done
    sleep 0.005
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "${ms:-timeout}"
}

for size in 1920x1080 1024x768; do
  disp=":$((150 + RANDOM % 100))"
  # -noreset: an X server resets when its last client leaves and refuses connections meanwhile;
  # a program started in that moment could not open the display and the start timed out.
  Xvfb "$disp" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  xpid=$!
  export DISPLAY="$disp"
  for _ in $(seq 1 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
  starts=()
  for _ in $(seq 1 5); do starts+=("$(to_frame)"); done
  median=$(printf '%s\n' "${starts[@]}" | sort -n | sed -n 3p)
  echo "== $size: start to the frame on the screen: median $median ms (${starts[*]}) =="
  echo
  (cd "$work" && LANG=it_IT.UTF-8 QT_QPA_PLATFORM=xcb "$build/bin/vastara_xcost" "$xpid" "$seconds" "$rounds" "$items")
  echo
  kill "$xpid" 2>/dev/null || true
  wait "$xpid" 2>/dev/null || true
  xpid=""
done
