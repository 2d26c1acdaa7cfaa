#!/usr/bin/env bash
# Installs what is missing, builds Die Korvath twice (optimised, and with
# AddressSanitizer + UndefinedBehaviorSanitizer) and runs every test in both,
# with a bounded fuzz run of the 3DS loader between them.
set -euo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
tools/install-packages.sh "${RUNTIME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

# ---- Bounded fuzz run of the 3DS loader (clang, libFuzzer + ASan + UBSan) ----
# Seeds: small files from korvath_fuzz_seeds and the generated meshes. Any
# finding makes libFuzzer exit non-zero, which fails this script.
cmake -S . -B build-fuzz -DKORVATH_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
  -DKORVATH_TESTS=OFF -DKORVATH_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target korvath_mesh_fuzzer korvath_fuzz_seeds
rm -rf build-fuzz/seeds build-fuzz/corpus
mkdir -p build-fuzz/seeds build-fuzz/corpus
build-fuzz/tools/fuzz/korvath_fuzz_seeds build-fuzz/seeds
cp data/model/*.3ds build-fuzz/seeds/
# stderr closed for the loader's own notes on cut files; sanitizer reports
# still reach the terminal.
(cd build-fuzz && tools/fuzz/korvath_mesh_fuzzer -max_total_time=60 -close_fd_mask=2 \
  -artifact_prefix=./fuzz- corpus seeds)
# ---- end of fuzz run ----

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DKORVATH_SANITIZE=ON -DKORVATH_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && ctest --output-on-failure -j"$jobs")

