#!/usr/bin/env bash
# Builds the game and starts kavro-dx9 in build/run/, paced to the display's refresh rate.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target kavro-dx9 kavro-dx7
cd build/run
# The game moves a fixed distance per frame: pace it to the display instead of running flat out.
KAVRO_VSYNC=${KAVRO_VSYNC:-1} exec ./kavro-dx9 "$@"
