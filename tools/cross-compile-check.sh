#!/usr/bin/env bash
# Compiles the sources that choose CPU variants (the ocean's vector loops) and
# the maths under them with Debian's aarch64 cross compiler, warnings as errors,
# so the program keeps building on architectures other than x86-64.
set -euo pipefail
cd "$(dirname "$0")/.."
compiler=aarch64-linux-gnu-g++
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for source in src/ocean/SinCos.cpp src/ocean/StripStream.cpp src/ocean/WaveSum.cpp \
              src/ocean/Wave.cpp src/ocean/OceanGrid.cpp src/ocean/PlainOcean.cpp \
              src/math/Vector.cpp src/math/Matrix4.cpp; do
  "$compiler" -std=c++17 -O3 -Wall -Wextra -Wshadow -Werror -Isrc -c "$source" \
    -o "$out/$(basename "$source").o"
done
echo "cross-compile-check: the vector sources build for aarch64 with $compiler"
