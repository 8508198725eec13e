#!/usr/bin/env bash
# cmake --install into a prefix with awkward characters: the files land where the desktop
# expects them, the desktop entry starts the installed game by its absolute path, and the
# installed game keeps vostrel.dat beside itself whatever the working directory.
# Usage: bash install_layout.sh BUILD_DIR
set -euo pipefail

build="${1:?usage: install_layout.sh BUILD_DIR}"
[ -x "$build/vostrel" ] || exit 77
build=$(cd "$build" && pwd)

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$(dirname "$0")/../../scripts/xsession.sh"

# The player's own install_manifest.txt in the build directory survives this test.
restore_manifest() {
    if [ -f "$tmp/manifest.keep" ]; then
        cp "$tmp/manifest.keep" "$build/install_manifest.txt"
    else
        rm -f "$build/install_manifest.txt"
    fi
}
xs_begin restore_manifest
tmp=$XS_WORK
[ -f "$build/install_manifest.txt" ] && cp "$build/install_manifest.txt" "$tmp/manifest.keep"

# shellcheck source-path=SCRIPTDIR source=checks.bash
source "$(dirname "$0")/checks.bash"
fail_now=1

# A space, a dollar sign, a percent sign and quotes: each needs escaping in Exec.
prefix="$tmp/Player's \$games 100% \"x\"/vostrel"
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || fail "$(cat "$tmp/install.log")"

id=org.vostrel.Vostrel
expected=(
    "bin/vostrel"
    "bin/vostrel-cli"
    "share/applications/$id.desktop"
    "share/icons/hicolor/128x128/apps/$id.png"
    "share/icons/hicolor/16x16/apps/$id.png"
    "share/icons/hicolor/24x24/apps/$id.png"
    "share/icons/hicolor/256x256/apps/$id.png"
    "share/icons/hicolor/32x32/apps/$id.png"
    "share/icons/hicolor/48x48/apps/$id.png"
    "share/icons/hicolor/64x64/apps/$id.png"
    "share/icons/hicolor/scalable/apps/$id.svg"
    "share/man/man6/vostrel-cli.6"
    "share/man/man6/vostrel.6"
    "share/metainfo/$id.metainfo.xml"
)
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" == "$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)" ] ||
    fail "installed files:"$'\n'"$actual"
[ -x "$prefix/bin/vostrel" ] || fail "the game is not executable"
if ldd "$prefix/bin/vostrel" | grep -q 'not found'; then
    fail "the installed game misses libraries: $(ldd "$prefix/bin/vostrel" | grep 'not found')"
fi
for size in 16 24 32 48 64 128 256; do
    # A PNG's width and height: big-endian 32-bit numbers at byte 16 of its header chunk.
    dims=$(od -An -v -tu1 -j16 -N8 "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" |
        awk '{ printf "%d %d", $3 * 256 + $4, $7 * 256 + $8 }')
    [ "$dims" == "$size $size" ] || fail "the ${size}x${size} icon measures $dims"
done

entry="$prefix/share/applications/$id.desktop"
# Inside the quotes \ " ` $ take a backslash, then every backslash is doubled as the value is
# a string; a percent sign is doubled.
quoted=$(printf '%s' "$prefix/bin/vostrel" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g' -e 's/%/%%/g')
grep -qxF "Exec=\"$quoted\"" "$entry" || fail "Exec line: $(grep '^Exec=' "$entry")"
grep -qx "Icon=$id" "$entry" || fail "Icon line: $(grep '^Icon=' "$entry")"
grep -qx "StartupWMClass=$id" "$entry" || fail "StartupWMClass: $(grep '^StartupWMClass=' "$entry")"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "desktop-file-validate"
else
    echo "note: desktop-file-validate is missing; the entry is not validated"
fi

# The installed game, started from elsewhere, with no settings file yet.
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
    echo "note: Xvfb or xdotool is missing; the installed game is not started"
    exit 0
fi
xs_start || fail "no X server"
mkdir "$tmp/elsewhere"
cd "$tmp/elsewhere"
"$prefix/bin/vostrel" >"$tmp/game.log" 2>&1 &
XS_APP_PID=$!
# "設定ファイルが見つからないので初期化します。": the defaults are written once it is closed.
box=$(xs_wait_window '^設定ファイルエラー$' "$XS_APP_PID") || fail "no settings file message"
# The program's icon on each window, as docks and window switchers show it; it may come just
# after the window.
has_icon() {
    local _
    for _ in $(seq 100); do
        xprop -id "$1" _NET_WM_ICON 2>/dev/null | grep -q 'Icon (48 x 48)' && return 0
        sleep 0.05
    done
    return 1
}
has_icon "$box" || fail "the settings file message has no icon"
xdotool windowfocus --sync "$box"
xdotool key Return
game=$(xs_wait_window '^Vostrel$' "$XS_APP_PID") || fail "no game window"
# Docks tie the window to its launcher by the class part of WM_CLASS.
wm_class=$(xprop -id "$game" WM_CLASS)
[[ "$wm_class" == *", \"$id\"" ]] || fail "the game window's $wm_class"
has_icon "$game" || fail "the game window has no icon"
[ -f "$prefix/bin/vostrel.dat" ] || fail "no vostrel.dat beside the installed game"
xdotool windowfocus --sync "$game"
xdotool key Escape
xs_wait_exit "$XS_APP_PID" 10 || fail "the game did not end"
[ "$XS_STATUS" -eq 0 ] || fail "the game ended with status $XS_STATUS"
[ -z "$(ls -A "$tmp/elsewhere")" ] || fail "files in the working directory: $(ls -A)"
head -n 1 "$prefix/bin/vostrel.dat" | grep -q '^:Vostrel' || fail "vostrel.dat is not a settings file"
grep -aqx $'rn:3\r' "$prefix/bin/vostrel.dat" || fail "vostrel.dat does not hold the defaults"
echo "ok: installed layout, desktop entry, settings file beside the installed game"
