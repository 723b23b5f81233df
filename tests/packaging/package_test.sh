#!/usr/bin/env bash
# The Debian package: built by CPack from the install rules into a temporary folder, named
# kavro_<version>_amd64.deb, depending on the SDL2, libpng and libjpeg runtime packages that
# dpkg-shlibdeps found in the programs, and holding what an installation holds.
# Usage: package_test.sh BUILD_DIR VERSION APP_ID
set -euo pipefail
build=$1 version=$2 app_id=$3
work=$(mktemp -d /tmp/kavro-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
deb=$work/kavro_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb: $(ls "$work")"

depends=$(dpkg-deb --field "$deb" Depends)
for package in libsdl2-2.0-0 libpng16-16 libjpeg62-turbo; do
    grep -q "\(^\|, \)$package\( \|,\|$\)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
for path in usr/bin/kavro usr/bin/kavro-dx7 usr/libexec/kavro/kavro-dx9 \
    usr/libexec/kavro/kavro-dx7 usr/share/kavro/Kavro.Map usr/share/kavro/GFX/ \
    usr/share/man/man6/kavro.6.gz "usr/share/applications/$app_id.desktop" \
    "usr/share/applications/$app_id.dx7.desktop" "usr/share/metainfo/$app_id.metainfo.xml" \
    "usr/share/icons/hicolor/256x256/apps/$app_id.png"; do
    grep -qx "./$path" <<<"$contents" || fail "the package lacks /$path"
done
echo "$(basename "$deb"): Depends: $depends"
