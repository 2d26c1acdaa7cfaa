#!/usr/bin/env bash
# frame-passes.sh [BUILD_DIR] [benchmark options...]
# Runs the fixed-pose frame benchmark under a private Xvfb and prints, per pose,
# the median frame time beside the empty frame's, the CPU time of all the
# process's threads per frame (steadier than wall time on a busy machine), and
# each pass's median wall time (the pass finished alone) with its GL timer
# figure in brackets; on llvmpipe the timer covers only part of the
# rasterizer's work, so read the wall times.
# Example: bench/frame-passes.sh build-perf --benchmark_filter=Volcano
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
shift || true
json=$(mktemp)
trap 'rm -f "$json"' EXIT
cd "$build"
"$root/tools/with-xvfb.sh" bench/frame/frame_pose_bench \
  --benchmark_out="$json" --benchmark_out_format=json "$@" >/dev/null
python3 - "$json" <<'PY'
import json, sys
runs = [b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("aggregate_name") == "median"]
order = ["ocean", "terrain", "stones", "lava", "ash", "depth", "camera"]  # the scenes' own
print(f"{'frame':42} {'ms':>6} {'fps':>6} {'cpu ms':>7}  passes: wall ms (GL timer ms)")
for run in runs:
    name = run["run_name"].split("/repeats")[0]
    ms = run["real_time"]
    passes = [p for p in order if p + "_wall_ms" in run]
    cells = "  ".join(f"{p} {run[p + '_wall_ms']:.2f} ({run[p + '_ms']:.2f})" for p in passes)
    print(f"{name:42} {ms:6.2f} {1000 / ms:6.0f} {run['cpu_time']:7.2f}  {cells}")
PY
