#!/usr/bin/env bash
# A name typed through a real Japanese input method, fcitx5 with mozc, under a virtual X server:
# "hanako" stands in the name box as an open conversion, はなこ. A click on 確定 stores it as it
# stands; from the keyboard, Enter ends the conversion (the input method takes every key while
# it is open, Alt+D too) and Alt+D then stores it. mozc refuses to run as root: as root, the
# game, the input method and the keys run as a throwaway user.
# Usage: bash e2e_input_method.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$here/../../scripts/xsession.sh"

# The player's side, inside a session bus of its own: e2e_input_method.sh --player DIR HOW.
if [ "${1:-}" = --player ]; then
    tmp=$2
    XS_WORK=$tmp # for xs_region_sum
    # shellcheck source-path=SCRIPTDIR source=checks.bash
    source "$here/checks.bash"
    fail_now=1
    mkdir -p "$XDG_CONFIG_HOME/fcitx5"
    printf '%s\n' '[Groups/0]' 'Name=Default' 'Default Layout=us' 'DefaultIM=mozc' '' \
        '[Groups/0/Items/0]' 'Name=keyboard-us' 'Layout=' '' '[Groups/0/Items/1]' 'Name=mozc' \
        'Layout=' '' '[GroupOrder]' '0=Default' >"$XDG_CONFIG_HOME/fcitx5/profile"
    fcitx5 --replace --disable=wayland,waylandim,kimpanel,notificationitem >"$tmp/fcitx.log" 2>&1 &
    deadline=$((SECONDS + 20))
    until dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 2>/dev/null | grep -q true; do
        [ "$SECONDS" -lt "$deadline" ] || fail "fcitx5 did not start: $(tail -n 5 "$tmp/fcitx.log")"
        sleep 0.1
    done
    cd "$tmp/game"
    QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx LD_PRELOAD="$tmp/rand.so" ./vostrel >"$tmp/game.log" 2>&1 &
    game=$!
    main=$(xs_wait_window '^Vostrel$' "$game") || fail "no game window"
    xdotool windowfocus --sync "$main"
    xdotool key --clearmodifiers alt+m
    table=$(xs_wait_window '^ハイスコア$' "$game") || fail "no high-score entry"
    xdotool windowfocus --sync "$table"
    deadline=$((SECONDS + 20))
    until [ "$(fcitx5-remote)" = 2 ]; do
        [ "$SECONDS" -lt "$deadline" ] || fail "the input method did not switch on"
        fcitx5-remote -o
        sleep 0.1
    done
    # The name box is the new row 0: client pixels 28, 28, 160 x 18. It shows the conversion
    # once the last key's kana has come.
    box=$(xs_region_sum "$table" 30 30 156 14)
    xdotool type --delay 150 hanako
    xs_wait_region_change "$table" 30 30 156 14 "$box" || fail "nothing typed shows"
    last=""
    until [ "$last" = "$(xs_region_sum "$table" 30 30 156 14)" ]; do
        last=$(xs_region_sum "$table" 30 30 156 14)
        sleep 0.5
    done
    case $3 in
    click)
        read -r w h < <(xwininfo -id "$table" | awk '/Width:/ {w = $2} /Height:/ {print w, $2}')
        # 確定 stands at the dialog's bottom right (template units 106, 127, 37 x 16 of 155 x 150).
        xs_click "$table" $((w * 124 / 155)) $((h * 135 / 150))
        ;;
    keys)
        xdotool key Return
        xs_wait_region_change "$table" 30 30 156 14 "$last" || fail "Enter did not end the conversion"
        xdotool key alt+d
        ;;
    esac
    xs_wait_gone '^ハイスコア$' 20 || fail "$3: the high-score entry stayed open"
    xdotool windowfocus --sync "$main"
    xdotool key --clearmodifiers Escape
    deadline=$((SECONDS + 20))
    while kill -0 "$game" 2>/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || fail "the game did not end"
        sleep 0.1
    done
    wait "$game" || fail "the game ended with status $?: $(tail -n 20 "$tmp/game.log")"
    exit 0
fi

build="${1:?usage: e2e_input_method.sh BUILD_DIR}"
[ -x "$build/vostrel" ] || exit 77
xs_require Xvfb xdotool xwininfo xwd cc iconv dbus-run-session dbus-send fcitx5 fcitx5-remote
if ! [ -x /usr/lib/mozc/mozc_server ] ||
    ! compgen -G '/usr/lib/*/qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so' \
        >/dev/null; then
    echo "skipped: no fcitx5-mozc or fcitx5-frontend-qt6"
    exit 77
fi
if ! locale -a 2>/dev/null | grep -qx ja_JP.utf8; then
    echo "skipped: no ja_JP.UTF-8 locale (scripts/deps.sh test makes it)"
    exit 77
fi

player=""
# The throwaway user's processes (the input method's server outlives its session), then the user.
remove_player() {
    [ -n "$player" ] || return 0
    local p _
    for p in $(ps -u "$player" -o pid= 2>/dev/null); do kill "$p" 2>/dev/null || true; done
    for _ in $(seq 100); do
        [ -n "$(ps -u "$player" -o pid= 2>/dev/null)" ] || break
        sleep 0.1
    done
    userdel -r "$player" >/dev/null 2>&1 || echo "the throwaway user $player is left behind" >&2
}
xs_begin remove_player
tmp=$XS_WORK
# shellcheck source-path=SCRIPTDIR source=e2e_common.bash
source "$here/e2e_common.bash"
e2e_build_rand
mkdir "$tmp/game" "$tmp/home"
mkdir -m 0700 "$tmp/run"
cp "$build/vostrel" "$tmp/game/vostrel"
# The player's side runs from a copy here: the checkout may be a private folder (mktemp -d)
# that the throwaway player cannot enter.
mkdir -p "$tmp/src/tests/scripts" "$tmp/src/scripts"
cp "$here/e2e_input_method.sh" "$here/checks.bash" "$tmp/src/tests/scripts/"
cp "$here/../../scripts/xsession.sh" "$tmp/src/scripts/"
run=()
if [ "$(id -u)" -eq 0 ]; then
    player="vostrel-ime-$$"
    useradd -m "$player" || fail "cannot add a throwaway user"
    chown -R "$player" "$tmp"
    chmod 0755 "$tmp"
    run=(runuser -u "$player" --)
fi
xs_start || fail "no X server"

expected="hsn0:$(printf 'はなこ' | iconv -f UTF-8 -t CP932)"
for how in click keys; do
    {
        printf ':Vostrel\r\n:Ver. 2.0.2005.0117\r\n:test\r\n'
        printf 'rn:1\r\nnsd:0\r\nnsr:0\r\nrto:1\r\neu:1\r\n'
        for k in 0 1 2 3 4; do printf 'hsn%d:x\r\nhss%d:1\r\n' "$k" "$k"; done
    } >"$tmp/game/vostrel.dat"
    [ -z "$player" ] || chown "$player" "$tmp/game/vostrel.dat"
    # The sanitizers' settings (the test command's) go through to the game.
    "${run[@]}" env -i PATH=/usr/bin:/bin LANG=ja_JP.UTF-8 DISPLAY="$DISPLAY" \
        HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_RUNTIME_DIR="$tmp/run" \
        ${LSAN_OPTIONS:+"LSAN_OPTIONS=$LSAN_OPTIONS"} ${ASAN_OPTIONS:+"ASAN_OPTIONS=$ASAN_OPTIONS"} \
        timeout 120 dbus-run-session -- bash "$tmp/src/tests/scripts/e2e_input_method.sh" --player "$tmp" "$how" ||
        fail "$how: the player's side failed"
    stored=$(grep -a '^hsn0:' "$tmp/game/vostrel.dat" | tr -d '\r')
    [ "$stored" = "$expected" ] ||
        fail "$how: the name stored is '$(printf '%s' "$stored" | iconv -f CP932 -t UTF-8)', not はなこ"
    # Code page 932 holds it: its bytes alone, the file's 18 lines as they always were.
    [ "$(wc -l <"$tmp/game/vostrel.dat")" -eq 18 ] ||
        fail "$how: more than the 18 lines for a code page 932 name: $(grep -av '^hs[ns]' "$tmp/game/vostrel.dat")"
    echo "ok: $how stores the open conversion はなこ"
done
