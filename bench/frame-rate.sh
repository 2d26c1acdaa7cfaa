#!/usr/bin/env bash
# frame-rate.sh [BUILD_DIR] [SECONDS]
# Frames per second under Xvfb, read from Mesa's HUD without touching the
# programs: the empty-frame baseline, the volcano scene (during its camera
# flight, then with the flight stopped) and the shadow scene after key n.
set -euo pipefail
# The measurement runs again as the command of a private X server.
if [ "${1:-}" != --on-private-display ]; then
  exec "$(dirname "$0")/../tools/with-xvfb.sh" "$0" --on-private-display "$@"
fi
shift
build=$(cd "${1:-build}" && pwd)
seconds=${2:-10}

hud=$(mktemp -d)
trap 'rm -rf "$hud"' EXIT
export GALLIUM_HUD=fps GALLIUM_HUD_VISIBLE=false GALLIUM_HUD_DUMP_DIR="$hud"

# Median of the HUD samples written since the given line count.
median_since() {
  tail -n +"$(($1 + 1))" "$hud/fps" | sort -n | awk '{v[NR]=$1} END {if (NR) printf "%.0f", v[int((NR+1)/2)]; else print "n/a"}'
}
samples() { [ -f "$hud/fps" ] && wc -l <"$hud/fps" || echo 0; }
measure() { # label seconds
  local start; start=$(samples)
  sleep "$2"
  printf '%-28s %s fps\n' "$1" "$(median_since "$start")"
}

"$build/bench/frame/empty_frame" &
pid=$!
sleep 1
measure "empty frame (clear, swap)" "$seconds"
kill "$pid"; wait "$pid" 2>/dev/null || true
rm -f "$hud/fps"

cd "$build"
./korvath >/dev/null &
pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Die Korvath$' | head -n 1)
sleep 1
measure "volcano scene, flight" "$seconds"
xdotool key --window "$window" space 2>/dev/null
measure "volcano scene, flight stopped" "$seconds"
xdotool key --window "$window" n 2>/dev/null
sleep 1
measure "shadow scene" "$seconds"
xdotool key --window "$window" Escape 2>/dev/null || true
wait "$pid" 2>/dev/null || true
