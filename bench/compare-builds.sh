#!/usr/bin/env bash
# compare-builds.sh BEFORE_BUILD AFTER_BUILD [ROUNDS] [benchmark options...]
# Runs the fixed-pose frame benchmark of two builds alternately (before, after,
# after, before, ...) under one private Xvfb, so both see the same machine load,
# and prints per pose the median frame time of each build over all rounds and
# the ratio after/before. Each build runs from its own directory, with its own
# cg/ and data/. Example, with the build before a change in ../before:
#   bench/compare-builds.sh ../before/build-release build-release 6
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
before=$(cd "$1" && pwd)
after=$(cd "$2" && pwd)
rounds=${3:-4}
shift $(($# < 3 ? $# : 3))
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

run_rounds() {
  for round in $(seq 1 "$rounds"); do
    # ABBA order: a drift in load over the run falls on both builds alike.
    if [ $((round % 2)) -eq 1 ]; then order="before after"; else order="after before"; fi
    for which in $order; do
      dir=$before
      [ "$which" = after ] && dir=$after
      (cd "$dir" && bench/frame/frame_pose_bench --benchmark_out="$out/$which-$round.json" \
        --benchmark_out_format=json "$@" >/dev/null)
    done
  done
}
export -f run_rounds
export before after rounds out
"$root/tools/with-xvfb.sh" bash -c 'run_rounds "$@"' run_rounds "$@"

python3 - "$out" <<'PY'
import glob, json, os, statistics, sys
def medians(which):
    times = {}
    for path in sorted(glob.glob(os.path.join(sys.argv[1], which + "-*.json"))):
        for run in json.load(open(path))["benchmarks"]:
            if run.get("aggregate_name") == "median":
                times.setdefault(run["run_name"].split("/repeats")[0], []).append(run["real_time"])
    return {name: statistics.median(values) for name, values in times.items()}
before, after = medians("before"), medians("after")
print(f"{'frame':42} {'before ms':>9} {'after ms':>9} {'after/before':>12}")
for name, ms in before.items():
    if name in after:
        print(f"{name:42} {ms:9.2f} {after[name]:9.2f} {after[name] / ms:12.3f}")
PY
