#!/usr/bin/env bash
# Builds and runs every test twice: a normal Release build, then a build with AddressSanitizer
# and UndefinedBehaviorSanitizer; in between, every fuzz target runs for 60 seconds under both
# sanitizers (scripts/fuzz.sh). Every build treats compiler warnings as errors (KAVRO_WERROR).
# Any failure or finding fails the command.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
jobs=$(nproc)

echo "== Release build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVRO_TESTS=ON -DKAVRO_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build -j "$jobs" --output-on-failure

scripts/fuzz.sh

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVRO_SANITIZE=ON \
    -DKAVRO_TESTS=ON -DKAVRO_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan -j "$jobs" --output-on-failure
