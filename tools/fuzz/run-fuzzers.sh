#!/usr/bin/env bash
# Bounded fuzz runs of every parser that reads our data files (clang, libFuzzer +
# ASan + UBSan), in build-fuzz/. Any finding makes libFuzzer exit non-zero, which
# fails this script. Seconds per fuzzer: the first argument, 60 by default.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-60}
jobs=$(nproc)

cmake -S . -B build-fuzz -DKORVATH_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
  -DKORVATH_TESTS=OFF -DKORVATH_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target korvath_mesh_fuzzer korvath_fuzz_seeds \
  korvath_image_fuzzer korvath_image_seeds korvath_source_fuzzer

# The 3DS loader. Seeds: small files from korvath_fuzz_seeds and the generated
# meshes. stderr is closed for the loader's own notes on cut files; sanitizer
# reports still reach the terminal.
rm -rf build-fuzz/mesh-seeds build-fuzz/mesh-corpus
mkdir -p build-fuzz/mesh-seeds build-fuzz/mesh-corpus
build-fuzz/tools/fuzz/korvath_fuzz_seeds build-fuzz/mesh-seeds
cp data/model/*.3ds build-fuzz/mesh-seeds/
(cd build-fuzz && tools/fuzz/korvath_mesh_fuzzer -max_total_time="$seconds" -close_fd_mask=2 \
  -print_final_stats=1 -artifact_prefix=./mesh-fuzz- mesh-corpus mesh-seeds)

# The image path (header check, image library decode, verification). Seeds:
# small files from korvath_image_seeds and the shipped textures and sprites. An
# input that runs 20 s is a hang and a finding: one decode of the largest frame
# the check allows takes about 4 s under the sanitizers.
rm -rf build-fuzz/image-seeds build-fuzz/image-corpus
mkdir -p build-fuzz/image-seeds build-fuzz/image-corpus
build-fuzz/tools/fuzz/korvath_image_seeds build-fuzz/image-seeds
cp data/model/*.jpg data/particle/*.bmp build-fuzz/image-seeds/
(cd build-fuzz && tools/fuzz/korvath_image_fuzzer -max_total_time="$seconds" -timeout=20 \
  -close_fd_mask=2 -print_final_stats=1 -artifact_prefix=./image-fuzz- image-corpus image-seeds)

# The shading-program declaration scan and its preprocessor. Seeds: the shipped
# programs and sources that lean on directives, macros and the version's rules;
# each seed's first byte picks the stage and the driver's extensions.
rm -rf build-fuzz/source-seeds build-fuzz/source-corpus
mkdir -p build-fuzz/source-seeds build-fuzz/source-corpus
for program in cg/*.cg; do
  { printf '\0'; cat "$program"; } >"build-fuzz/source-seeds/$(basename "$program")"
done
seed() { printf "$2" >"build-fuzz/source-seeds/$1.glsl"; }
seed conditionals '\2#define N 2\n#if N > 1 && defined(N)\nuniform vec3 a, b[N];\n#elif 0\n{\n#else\nin vec2 c;\n#endif\n'
seed macros '\0#define T vec4\nuniform T \\\n  continued; /* c *\\\n/ in float d; // e\n#undef T\n#ifndef T\nuniform int f;\n#endif\n'
seed functions '\1#define D(t, n) uniform t n;\n#define P(a, b) a ## b\n#define I(x) P(x, 1)\nD(vec2,\n I(u))\nvarying vec3 P(v, __LINE__);\n'
seed structs '\1#version 150 compatibility\nuniform struct S { float x; } s, t[2];\nin struct { vec2 y; } w;\nuniform S z;\n'
seed versions '\3#version 300 es\n#if defined(GL_ES) && __VERSION__ >= 300 && GL_FRAGMENT_PRECISION_HIGH\nattribute vec4 a;\n#endif\n#ifdef GL_ARB_gpu_shader5\nuniform float g;\n#endif\n'
(cd build-fuzz && tools/fuzz/korvath_source_fuzzer -max_total_time="$seconds" -timeout=20 \
  -print_final_stats=1 -artifact_prefix=./source-fuzz- source-corpus source-seeds)
