#!/usr/bin/env bash
# Builds the game and starts it in build/run/; the program paces itself to 60 frames a second.
#   scripts/play.sh [--dx7] [ARGUMENTS...]   kavro-dx9, or kavro-dx7 with --dx7
# Installs only what building and playing need; the tests are built as well where their
# packages are installed (scripts/test.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
program=kavro-dx9
if [ "${1:-}" = --dx7 ]; then
    program=kavro-dx7
    shift
elif [ "${1:-}" = --dx9 ]; then
    shift
fi
scripts/deps.sh play
tests=OFF
if scripts/deps.sh test --check; then tests=ON; fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVRO_TESTS=$tests >/dev/null
cmake --build build -j "$(nproc)" --target kavro-dx9 kavro-dx7
cd build/run
exec "./$program" "$@"
