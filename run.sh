#!/usr/bin/env bash
# Installs what is missing, builds Die Korvath and starts it.
# Without a display it runs the demo under Xvfb for a few seconds instead and
# saves screenshots of what it draws.
set -euo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
tools/install-packages.sh "${RUNTIME_PACKAGES[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKORVATH_SANITIZE=OFF -DKORVATH_TESTS=OFF \
  -DKORVATH_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target korvath

# build/ holds cg/ and data/ next to the executable: it is the working directory.
cd build
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec ./korvath
fi
exec ../tools/with-xvfb.sh ../tools/headless-run.sh ./korvath ../shots
