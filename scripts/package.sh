#!/usr/bin/env bash
# Builds the Debian package build-package/kavro_<version>_amd64.deb: a Release build of the
# game alone, installed by its install rules and packed by CPack.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh package
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVRO_TESTS=OFF >/dev/null
cmake --build build-package -j "$(nproc)" --target package
ls build-package/kavro_*.deb
