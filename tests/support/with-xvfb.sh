#!/usr/bin/env bash
# Runs one command under a private Xvfb (Mesa's software renderer) and stops the
# server afterwards. The server picks a free display itself, so tests may run in
# parallel.
set -euo pipefail

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; rm -f "$display_file"' EXIT

for _ in $(seq 1 100); do
  [ -s "$display_file" ] && break
  sleep 0.05
done
if [ ! -s "$display_file" ]; then
  echo "with-xvfb: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$(head -n 1 "$display_file")"
export LIBGL_ALWAYS_SOFTWARE=1
# Mesa's driver is unloaded before LeakSanitizer runs, leaving allocations it
# cannot attribute; leak checking stays on in the tests without a display.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
"$@"
