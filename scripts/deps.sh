#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with, only those missing.
# Idempotent and quiet: prints nothing when everything is already there.
set -euo pipefail
packages=(
    cmake ninja-build g++ pkg-config
    libsdl2-dev libpng-dev libjpeg62-turbo-dev zlib1g-dev libmimalloc-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
$sudo apt-get update -qq >/dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
