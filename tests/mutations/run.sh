#!/bin/bash
# Applies each mutation patch (default: all here) to one scratch copy of the
# tracked files, rebuilds, runs the tests its "# tests:" line names, prints
# caught or missed and takes it out. Fails if any was missed or did not apply.
set -u
repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
if [ $# -gt 0 ]; then
  mapfile -t patches < <(realpath "$@")
else
  patches=("$repo"/tests/mutations/*.patch)
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$repo" && git ls-files -z | tar --null --ignore-failed-read -T - -cf - 2>/dev/null) |
  tar -xf - -C "$scratch"
mkdir "$scratch/build" && cd "$scratch/build" || exit 2
cmake -S .. -B . -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVATH_TESTS=ON -DKORVATH_BENCH=OFF \
  >/dev/null && cmake --build . -j2 >../build.log 2>&1 ||
  { tail -20 ../build.log; echo "unpatched build failed"; exit 2; }
# What the tests matching $1 run: their executables, or the program itself.
targets() {
  ctest -R "$1" --show-only=json-v1 | python3 -c '
import json, os, sys
targets = set()
for test in json.load(sys.stdin)["tests"]:
    built = [arg for arg in test["command"] if arg.startswith(os.getcwd() + "/")]
    targets.add(os.path.basename(built[0]) if built else "korvath")
print(" ".join(targets))'
}
caught=0 missed=0 broken=0
for patch in "${patches[@]}"; do
  name=$(basename "$patch") fault=$(sed -n 's/^# fault: //p' "$patch")
  tests=$(sed -n 's/^# tests: //p' "$patch")
  if ! git -C .. apply "$patch" 2>/dev/null; then
    echo "unapplied $name: $fault"; broken=$((broken + 1)); continue
  fi
  # shellcheck disable=SC2046
  if ! cmake --build . -j2 --target $(targets "$tests") >../build.log 2>&1; then
    echo "unbuilt   $name: $fault"; broken=$((broken + 1))
  elif ctest -R "$tests" >../ctest.log 2>&1; then
    echo "missed    $name: $fault"; missed=$((missed + 1))
  else
    failed=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (.*)$/\1/p' ../ctest.log | paste -sd' ')
    echo "caught    $name: $fault ($failed)"; caught=$((caught + 1))
  fi
  git -C .. apply -R "$patch"
done
echo "summary: ${#patches[@]} patches, $caught caught, $missed missed, $broken unapplied or unbuilt"
[ $((missed + broken)) -eq 0 ]
