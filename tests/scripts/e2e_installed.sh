#!/usr/bin/env bash
# The Debian package's files in a root of their own, the games folder closed to the player, and
# the installed game played under a virtual X server by a player who cannot write there: the
# first start reports the missing file, a settings change and a high-score name are kept in
# the player's data folder, and the second start finds them without a message.
# Run by root, the game runs as nobody with a home of its own.
# Usage: bash e2e_installed.sh BUILD_DIR
set -euo pipefail

build="${1:?usage: e2e_installed.sh BUILD_DIR}"
[ -x "$build/vostrel" ] || exit 77
build=$(cd "$build" && pwd)

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$(dirname "$0")/../../scripts/xsession.sh"
xs_require Xvfb xdotool cc iconv cpack dpkg-deb dpkg-shlibdeps file setpriv

xs_begin
tmp=$XS_WORK

# shellcheck source-path=SCRIPTDIR source=e2e_common.bash
source "$(dirname "$0")/e2e_common.bash"

# The player: nobody when this runs as root (root writes everywhere), else whoever runs it.
as_player=()
if [ "$(id -u)" -eq 0 ]; then
    if ! id nobody >/dev/null 2>&1 || ! getent group nogroup >/dev/null; then
        echo "skipped: running as root without the user nobody or the group nogroup"
        exit 77
    fi
    as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    # The player reaches the scratch folder (the package root, rand.so) but writes only home.
    chmod 0755 "$tmp"
fi

# shellcheck source-path=SCRIPTDIR source=package_common.bash
source "$(dirname "$0")/package_common.bash"
mkdir "$tmp/pkg"
deb=$(pkg_build "$build" "$tmp/pkg") || fail "cpack -G DEB"
root="$tmp/root"
mkdir "$root"
dpkg-deb -x "$deb" "$root"
chmod a-w "$root/usr/games"
game="$root/usr/games/vostrel"

home="$tmp/home"
mkdir "$home" "$tmp/run"
chmod 0700 "$tmp/run"
[ ${#as_player[@]} -eq 0 ] || chown nobody:nogroup "$home" "$tmp/run"
"${as_player[@]}" test -w "$root/usr/games" && fail "the player may write the installed games folder"
data="$home/.local/share/vostrel"

e2e_build_rand
e2e_build_bindkeys
xs_start || fail "no X server"
# Lower case: a keycode bound to a capital alone still types the small letter.
name='hanako 花子'
keys=$("$tmp/bindkeys" "$name") || fail "cannot bind the name's characters to keys"

# The installed game as the player, with nothing of this shell's environment but the display
# and, in the sanitizer build, the sanitizers' options (the system libraries' leak suppressions).
# The suppressions file goes to the scratch folder: the player may not reach the checkout.
sanitizer_env=()
if [[ "${LSAN_OPTIONS:-}" =~ (^|:)suppressions=([^:]*) ]]; then
    cp "${BASH_REMATCH[2]}" "$tmp/lsan.supp"
    chmod 0644 "$tmp/lsan.supp"
    LSAN_OPTIONS=${LSAN_OPTIONS/suppressions=${BASH_REMATCH[2]}/suppressions=$tmp/lsan.supp}
fi
for var in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
    [ -n "${!var:-}" ] && sanitizer_env+=("$var=${!var}")
done
start_game() {
    "${as_player[@]}" env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" \
        XDG_RUNTIME_DIR="$tmp/run" QT_QPA_PLATFORM=xcb LD_PRELOAD="$tmp/rand.so" \
        "${sanitizer_env[@]}" "$game" >"$tmp/game.log" 2>&1 &
    XS_APP_PID=$!
}

echo "first start: no settings file yet"
start_game
box=$(xs_wait_window '^設定ファイルエラー$' "$XS_APP_PID") || fail "no missing-file message"
xs_keys "$box" Return
main=$(xs_wait_window '^Vostrel$' "$XS_APP_PID") || fail "no game window"
[ -f "$data/vostrel.dat" ] || fail "the defaults are not in $data"

echo "one problem per game, set in the settings dialog"
xs_keys "$main" alt+s
dlg=$(xs_wait_window '^設定$' "$XS_APP_PID") || fail "no settings dialog"
xs_keys "$dlg" ctrl+a 1 alt+g
xs_wait_gone '^設定$' 10 || fail "the settings dialog stayed open"
e2e_grade_and_name "$XS_APP_PID" "$main" "$keys" || fail "no high-score entry"
xs_keys "$main" Escape
xs_wait_exit "$XS_APP_PID" 10 || fail "the game did not end"
[ "$XS_STATUS" -eq 0 ] || fail "the game ended with status $XS_STATUS"

cp932_name=$(printf '%s' "$name" | iconv -f UTF-8 -t CP932)
check_file() {
    local f="$data/vostrel.dat"
    grep -aqx $'rn:1\r' "$f" || fail "$1: rn is not 1: $(grep -a '^rn:' "$f")"
    grep -aqxF "hsn0:$cp932_name"$'\r' "$f" || fail "$1: row 0 is not the name: $(grep -a '^hsn0:' "$f")"
    grep -aqx "hss0:$(e2e_start_points 0)"$'\r' "$f" || fail "$1: row 0 is not the score: $(grep -a '^hss0:' "$f")"
}
check_file "after the first game"
[ ! -e "$root/usr/games/vostrel.dat" ] || fail "a vostrel.dat beside the installed game"
[ "$(stat -c %a "$data")" == 700 ] || fail "$data has mode $(stat -c %a "$data")"
[ "$(stat -c %U "$data/vostrel.dat")" == "$(${as_player[@]+"${as_player[@]}"} id -un)" ] ||
    fail "vostrel.dat belongs to $(stat -c %U "$data/vostrel.dat")"

echo "second start: the file is found"
start_game
main=$(xs_wait_window '^Vostrel$' "$XS_APP_PID") || fail "no game window"
! xdotool search --name '^設定ファイルエラー$' >/dev/null 2>&1 ||
    fail "the settings file error was shown at the second start"
xs_keys "$main" Escape
xs_wait_exit "$XS_APP_PID" 10 || fail "the game did not end"
[ "$XS_STATUS" -eq 0 ] || fail "the game ended with status $XS_STATUS"
check_file "after the second start"
echo "ok: settings and the high-score name kept in the player's data folder ($(
    [ ${#as_player[@]} -eq 0 ] && echo "as $(id -un)" || echo "as nobody"))"
