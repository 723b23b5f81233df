#!/usr/bin/env bash
# The installation as a player meets it: installs the build into a temporary DESTDIR (prefix
# /usr), checks the installed files, plays both launchers headless from another folder (one
# through a symbolic link) with relative setting paths, and runs the validators of the desktop
# entries, the AppStream metainfo and the manual page.
# Usage: install_test.sh BUILD_DIR APP_ID ICON_SIZE...
set -euo pipefail
build=$1 app_id=$2
shift 2
icon_sizes=("$@")
work=$(mktemp -d /tmp/kavro-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR=$work/root cmake --install "$build" --prefix /usr >/dev/null
usr=$work/root/usr

# Exactly these files: the data folder's tilesets are those of the build's run folder.
expected=(bin/kavro bin/kavro-dx7 libexec/kavro/kavro-dx9 libexec/kavro/kavro-dx7
    share/kavro/Kavro.Map "share/applications/$app_id.desktop"
    "share/applications/$app_id.dx7.desktop" "share/metainfo/$app_id.metainfo.xml"
    share/man/man6/kavro.6.gz share/man/man6/kavro-dx7.6.gz)
for size in "${icon_sizes[@]}"; do
    expected+=("share/icons/hicolor/${size}x$size/apps/$app_id.png")
done
for tileset in "$build"/run/GFX/*; do expected+=("share/kavro/GFX/${tileset##*/}"); done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$usr" && find . ! -type d | cut -c3- | sort) ||
    fail "the installed files differ from the list above (< expected, > installed)"
for program in bin/kavro bin/kavro-dx7 libexec/kavro/kavro-dx9 libexec/kavro/kavro-dx7; do
    [ -x "$usr/$program" ] || fail "$program is not executable"
done

# Started from a player's own folder, with the keyboard script and the trace named relative to
# it: the game finds its level, lands on the start and stands there (feet on ground, attribute
# 1) until Escape in frame 40.
player=$work/player
mkdir "$player"
printf '40 Escape\n' >"$player/play.keys"
ln -s "$usr/bin/kavro-dx7" "$player/kavro-dx7-link"
for launcher in "$usr/bin/kavro" "$player/kavro-dx7-link"; do
    rm -f "$player/play.trace"
    (cd "$player" && KAVRO_HEADLESS=1 KAVRO_KEYS=play.keys KAVRO_TRACE=play.trace "$launcher") ||
        fail "$launcher ended with exit code $?"
    [ -f "$player/play.trace" ] || fail "$launcher: no trace in the folder it was started from"
    last_frame=$(sed -n '/^present 39$/,/^present 40$/p' "$player/play.trace")
    grep -q '^present 40$' <<<"$last_frame" || fail "$launcher: 40 frames were not presented"
    for line in 'text 10 10 SCORE 0' 'text 10 50 2 drunter1' 'text 10 100 --> -1'; do
        grep -qx "$line" <<<"$last_frame" || fail "$launcher: no \"$line\" in frame 40"
    done
    ! grep -q '^message' "$player/play.trace" || fail "$launcher: $(grep '^message' "$player/play.trace")"
done

desktop-file-validate "$usr/share/applications/"*.desktop || fail "desktop entries"
appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    appstreamcli validate --no-net --explain "$usr/share/metainfo/$app_id.metainfo.xml" >&2 ||
    fail "metainfo"
for page in kavro kavro-dx7; do
    warnings=$(MANWIDTH=80 man -M "$usr/share/man" "$page" 2>&1 >/dev/null) || fail "man $page"
    [ -z "$warnings" ] || fail "man $page: $warnings"
done
warnings=$(MANWIDTH=80 man -l "$usr/share/man/man6/kavro.6.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man -l kavro.6.gz: $warnings"
echo "installed, played from $player and validated"
