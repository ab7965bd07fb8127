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
sleep 0.5
xdotool windowfocus --sync "$wid" || true
sleep 0.3

count_wave() {
  xwd -root -silent > "$work/screen.xwd"
  python3 "$here/xwd_count.py" "$work/screen.xwd" 128 0 0
}
before=$(count_wave)
xdotool key --clearmodifiers alt+t
sleep 0.4
xdotool key p
wave=0
for _ in $(seq 1 30); do
  sleep 0.2
  wave=$(count_wave)
  [ "$wave" -gt 5000 ] && break
done
echo "rock pixels before: $before, after: $wave"
[ "$before" -lt 100 ] || { echo "rock colour on the screen before the window was opened"; exit 1; }
[ "$wave" -gt 5000 ] || { echo "the P-wave window did not appear"; exit 1; }

# Space pauses the animation (two screens a moment apart are the same) and resumes it.
moving() {
  xwd -root -silent > "$work/a.xwd"
  sleep 0.4
  xwd -root -silent > "$work/b.xwd"
  ! cmp -s "$work/a.xwd" "$work/b.xwd"
}
moving || { echo "the wave does not move"; exit 1; }
xdotool key --clearmodifiers space
sleep 0.3
if moving; then echo "Space did not pause the wave"; exit 1; fi
xdotool key --clearmodifiers space
sleep 0.3
moving || { echo "Space did not resume the wave"; exit 1; }
echo "Space paused and resumed the wave"

# F1 opens the window's help: a second window of the program.
windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
shown=$(windows)
xdotool key --clearmodifiers F1
help=0
for _ in $(seq 1 30); do
  sleep 0.2
  help=$(windows)
  [ "$help" -gt "$shown" ] && break
done
[ "$help" -gt "$shown" ] || { echo "F1 did not open the help"; exit 1; }
echo "F1 opened the help"
xdotool key --clearmodifiers Escape
sleep 0.3
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid" || true
sleep 0.3

xdotool key --clearmodifiers alt+a
sleep 0.4
xdotool key e
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then echo "the program did not end after Esci"; exit 1; fi
wait "$pid"
rc=$?
echo "program ended with $rc"
exit "$rc"
