#!/usr/bin/env bash
# Installs what is missing, builds Die Korvath twice (optimised in build-test/,
# and with AddressSanitizer + UndefinedBehaviorSanitizer in build-sanitize/) and
# runs every test in both, with bounded fuzz runs of our file parsers and a
# compile check for a second architecture between them. run.sh's build/ is
# never touched, so the two scripts can be run in any order.
set -euo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
tools/install-packages.sh "${RUNTIME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
jobs=$(nproc)

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVATH_SANITIZE=OFF \
  -DKORVATH_TESTS=ON -DKORVATH_BENCH=ON >/dev/null
cmake --build build-test -j"$jobs"
(cd build-test && ctest --output-on-failure -j"$jobs")

tools/fuzz/run-fuzzers.sh 60
tools/cross-compile-check.sh

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DKORVATH_SANITIZE=ON \
  -DKORVATH_TESTS=ON -DKORVATH_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && ctest --output-on-failure -j"$jobs")
