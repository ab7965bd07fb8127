#!/usr/bin/env bash
# The real program on a real X server, driven from the keyboard as a user would: start it,
# wait for the frame, open the P-wave window through the menu ("Terremoti", "Onde primarie P"),
# check the wave is on the screen, pause and resume it with Space, open its help with F1, then
# leave through "Archivio", "Esci".
# Run inside xvfb-run; argument: the program file.
set -euo pipefail
program="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
export LANG=it_IT.UTF-8 QT_QPA_PLATFORM=xcb
"$program" &
pid=$!

# The frame is the program's window once it is wider than the 445-pixel start screen.
wid=""
for _ in $(seq 1 200); do
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
    width=$(xdotool getwindowgeometry --shell "$w" | sed -n 's/^WIDTH=//p')
    if [ "${width:-0}" -gt 600 ]; then wid="$w"; break; fi
  done
  [ -n "$wid" ] && break
  sleep 0.1
done
[ -n "$wid" ] || { echo "the frame never appeared"; exit 1; }
echo "frame window $wid"

# Every wait below is for a state, polled until a deadline: a loaded machine may take its time.
# waitfor SECONDS COMMAND...: true as soon as the command succeeds, false at the deadline.
waitfor() {
  local end=$((SECONDS + $1)); shift
  while :; do
    "$@" && return 0
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep 0.1
  done
}
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$wid" ]; }
xdotool windowfocus "$wid" 2>/dev/null || true
waitfor 10 focused || { echo "the frame never took the keyboard focus"; exit 1; }

# The screen's pixels: a digest of them, and the count of the P waves' rock colour.
digest() {
  xwd -root -silent > "$work/screen.xwd"
  python3 "$here/xwd_count.py" "$work/screen.xwd" --digest
}
count_wave() {
  xwd -root -silent > "$work/screen.xwd"
  python3 "$here/xwd_count.py" "$work/screen.xwd" 128 0 0
}
before=$(count_wave)
[ "$before" -lt 100 ] || { echo "rock colour on the screen before the window was opened"; exit 1; }
xdotool key --clearmodifiers alt+t p
wave_shown() { wave=$(count_wave); [ "$wave" -gt 5000 ]; }
waitfor 15 wave_shown || { echo "the P-wave window did not appear (rock pixels: $wave)"; exit 1; }
echo "rock pixels before: $before, after: $wave"

# The picture moves: some later screen differs from this one.
moves() {
  local first; first=$(digest)
  local end=$((SECONDS + 5))
  while [ "$SECONDS" -lt "$end" ]; do
    [ "$(digest)" != "$first" ] && return 0
    sleep 0.1
  done
  return 1
}
# The picture stands still: two screens half a second apart are the same, polled until the
# deadline (a tick already under way when the key came may still show).
still() {
  local a b
  a=$(digest); sleep 0.5; b=$(digest)
  [ "$a" = "$b" ]
}
moves || { echo "the wave does not move"; exit 1; }
xdotool key --clearmodifiers space
waitfor 10 still || { echo "Space did not pause the wave"; exit 1; }
xdotool key --clearmodifiers space
moves || { echo "Space did not resume the wave"; exit 1; }
echo "Space paused and resumed the wave"

# F1 opens the window's help: a second window of the program.
windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
shown=$(windows)
xdotool key --clearmodifiers F1
help_shown() { [ "$(windows)" -gt "$shown" ]; }
waitfor 10 help_shown || { echo "F1 did not open the help"; exit 1; }
echo "F1 opened the help"
xdotool key --clearmodifiers Escape
help_gone() { [ "$(windows)" -le "$shown" ]; }
waitfor 10 help_gone || { echo "Escape did not close the help"; exit 1; }
xdotool windowactivate "$wid" 2>/dev/null || xdotool windowfocus "$wid" 2>/dev/null || true
waitfor 10 focused || { echo "the frame did not take the focus back"; exit 1; }

xdotool key --clearmodifiers alt+a e
ended() { ! kill -0 "$pid" 2>/dev/null; }
waitfor 10 ended || { echo "the program did not end after Esci"; exit 1; }
rc=0
wait "$pid" || rc=$?
echo "program ended with $rc"
exit "$rc"
