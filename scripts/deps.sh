#!/usr/bin/env bash
# Installs the Debian packages a purpose needs, only those missing. Idempotent and quiet:
# prints nothing when everything is already there.
#   scripts/deps.sh play      building the game and playing it
#   scripts/deps.sh package   that, and building the Debian package
#   scripts/deps.sh test      that, and the tests: GoogleTest, Google Benchmark, the fuzzing
#                             compiler and the formatter, a virtual display, the desktop-file, AppStream and
#                             manual-page checkers (the default)
# With --check as a second word it installs nothing and exits 1 when something is missing.
set -euo pipefail
purpose=${1:-test}
play=(
    cmake ninja-build g++ pkg-config
    libsdl2-dev libpng-dev libjpeg62-turbo-dev zlib1g-dev libmimalloc-dev
)
package=(dpkg-dev file)
tests=(
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    xvfb xauth
    desktop-file-utils appstream man-db groff-base
)
case $purpose in
    play) packages=("${play[@]}") ;;
    package) packages=("${play[@]}" "${package[@]}") ;;
    test) packages=("${play[@]}" "${package[@]}" "${tests[@]}") ;;
    *)
        echo "usage: scripts/deps.sh [play|package|test] [--check]" >&2
        exit 2
        ;;
esac
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
[ "${2:-}" = --check ] && exit 1
echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
$sudo apt-get update -qq >/dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
