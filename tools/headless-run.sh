#!/usr/bin/env bash
# headless-run.sh PROGRAM SHOT_DIR
# Runs the demo on the display it is given (run it under tools/with-xvfb.sh),
# takes screenshots of the volcano scene during the camera flight and of the
# shadow scene after key n and after a short drag, then ends it with Escape.
# Prints the screenshot paths.
set -euo pipefail
program=$1
shot_dir=$(mkdir -p "$2" && cd "$2" && pwd)

"$program" &
program_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Die Korvath$' | head -n 1)

shoot() {
  import -window "$window" "$shot_dir/$1.png"
  echo "Saved $shot_dir/$1.png"
}
sleep 2; shoot volcano-start
sleep 4; shoot volcano-flight
# xdotool warns about the focus without a window manager; the keys still arrive.
xdotool key --window "$window" n 2>/dev/null
sleep 3; shoot shadow
# A short left drag tilts the view from near the ground up to the aircraft.
xdotool mousemove --window "$window" 400 300 mousedown 1 2>/dev/null
for y in 305 310 315 320 325; do
  xdotool mousemove --window "$window" 400 "$y" 2>/dev/null
  sleep 0.05
done
xdotool mouseup 1 2>/dev/null
sleep 1; shoot shadow-drag
xdotool key --window "$window" Escape 2>/dev/null || true
wait "$program_pid"
