#!/usr/bin/env bash
# Runs one command under a private Xvfb (Mesa's software renderer) and stops the
# server afterwards. The server picks a free display itself, so tests may run in
# parallel. Under load a server may announce its display and still refuse the
# first clients, or lose a race for its number, so each start is probed with
# xdpyinfo and retried.
set -euo pipefail

display_file=$(mktemp)
xvfb_pid=
# Mesa's Vulkan-based driver (zink) needs a private runtime directory.
runtime_dir=
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  runtime_dir=$(mktemp -d) # mode 700
  export XDG_RUNTIME_DIR="$runtime_dir"
fi
stop_server() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap 'stop_server; rm -f "$display_file"; [ -z "$runtime_dir" ] || rm -rf "$runtime_dir"' EXIT

start_server() {
  : >"$display_file"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$display_file" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 1 300); do # 30 s
    if [ -s "$display_file" ]; then
      export DISPLAY=":$(head -n 1 "$display_file")"
      xdpyinfo >/dev/null 2>&1 && return 0
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

started=false
for _ in 1 2 3; do
  if start_server; then
    started=true
    break
  fi
  stop_server
done
if [ "$started" != true ]; then
  echo "with-xvfb: no usable Xvfb after 3 tries" >&2
  exit 1
fi
export LIBGL_ALWAYS_SOFTWARE=1
# Mesa's driver is unloaded before LeakSanitizer runs, leaving allocations it
# cannot attribute; leak checking stays on in the tests without a display.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
"$@"
