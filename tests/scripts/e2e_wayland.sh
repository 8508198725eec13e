#!/usr/bin/env bash
# The game on a Wayland compositor (weston, drawing into a private Xvfb, so that xdotool's
# keys and pointer reach it): the window carries the desktop entry's id as its app_id, the
# window menu and the lists work, and a key that picks from a list or closes it (Return, Esc)
# goes no further: no exit question. What the game does is read from its Wayland protocol log.
# Usage: bash e2e_wayland.sh BUILD_DIR
set -euo pipefail

build_dir=${1:-build}
binary="$build_dir/vostrel"
[ -x "$binary" ] || {
    echo "skipped: $binary is not part of this build"
    exit 77
}

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$(dirname "$0")/../../scripts/xsession.sh"
for tool in Xvfb xdotool xwd weston; do
    command -v "$tool" >/dev/null || {
        echo "FAIL: $tool is not installed (scripts/deps.sh test installs it)"
        exit 1
    }
done

stop_weston() { [ -z "${weston_pid:-}" ] || kill "$weston_pid" 2>/dev/null; }
xs_begin stop_weston
work=$XS_WORK
log="$work/game.log"
# A failed check ends the test, with the end of what the game printed and of its protocol log.
# shellcheck source-path=SCRIPTDIR source=checks.bash
source "$(dirname "$0")/checks.bash"
fail_now=1
fail_log=$log

xs_start || fail "no X server"
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
socket=vostrel-e2e
weston --backend=x11-backend.so --shell=kiosk-shell.so --use-pixman --socket="$socket" \
    --width=640 --height=480 --idle-time=0 >"$work/weston.log" 2>&1 &
weston_pid=$!
deadline=$((SECONDS + 20))
until [ -S "$XDG_RUNTIME_DIR/$socket" ] && grep -q 'window id' "$work/weston.log"; do
    kill -0 "$weston_pid" 2>/dev/null || fail "weston ended: $(cat "$work/weston.log")"
    [ "$SECONDS" -lt "$deadline" ] || fail "weston did not start: $(cat "$work/weston.log")"
    sleep 0.05
done
output=$(sed -n 's/.*x11 output .*window id \([0-9]*\).*/\1/p' "$work/weston.log" | head -n 1)
xdotool windowfocus --sync "$output" 2>/dev/null || true

# Waits up to 20 seconds until the protocol log holds at least $2 lines matching $1.
wait_log() {
    local deadline=$((SECONDS + 20))
    while [ "$(grep -c -- "$1" "$log" || true)" -lt "$2" ]; do
        kill -0 "$XS_APP_PID" 2>/dev/null || fail "the game ended while waiting for $1"
        [ "$SECONDS" -lt "$deadline" ] || fail "no $1 in the protocol log"
        sleep 0.05
    done
}
# Waits up to 20 seconds until the window last titled $1 has the keyboard: its surface is the
# one that the compositor's last keyboard enter named.
wait_focus() {
    local deadline=$((SECONDS + 20))
    wait_log "set_title(\"$1\")" 1
    until awk -v title="$1" '
        { id = "" }
        match($0, /get_xdg_surface\(new id xdg_surface@[0-9]+, wl_surface@[0-9]+/) {
            split(substr($0, RSTART, RLENGTH), f, "@"); sub(/,.*/, "", f[2]); surface[f[2]] = f[3]
        }
        match($0, /xdg_surface@[0-9]+\.get_toplevel\(new id xdg_toplevel@[0-9]+/) {
            split(substr($0, RSTART, RLENGTH), f, "@"); sub(/\..*/, "", f[2]); top[f[3]] = surface[f[2]]
        }
        match($0, /xdg_toplevel@[0-9]+\.set_title\(/) && index($0, "set_title(\"" title "\")") {
            split(substr($0, RSTART, RLENGTH), f, "@"); sub(/\..*/, "", f[2]); want = top[f[2]]
        }
        match($0, /wl_keyboard@[0-9]+\.enter\([0-9]+, wl_surface@[0-9]+/) {
            split(substr($0, RSTART, RLENGTH), f, "@"); focus = f[3]
        }
        /wl_keyboard@[0-9]+\.leave\(/ { focus = "" }
        END { exit !(want != "" && focus == want) }' "$log"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "the window '$1' did not get the keyboard"
        sleep 0.05
    done
}
no_question() {
    sleep 0.5 # a question would come at once
    ! grep -q 'set_title("終了確認")' "$log" || fail "$1 brought the exit question"
}
# A click at pixel ($1, $2) of the game window, the pointer brought there in steps so that
# the compositor sees it arrive.
click() {
    local x=$((origin_x + $1)) y=$((origin_y + $2)) step
    for step in 9 6 3 0; do
        xdotool mousemove --window "$output" $((x - step)) $((y - step))
        sleep 0.05
    done
    xdotool click "${3:-1}"
}
popups=0
open_list() {
    click "$@"
    popups=$((popups + 1))
    wait_log 'get_popup(' "$popups"
}
closed_lists=0
expect_list_closed() {
    closed_lists=$((closed_lists + 1))
    wait_log 'xdg_popup@[0-9]*\.destroy()' "$closed_lists"
}

cp "$binary" "$work/vostrel"
cd "$work"
# The game draws in shared memory; no GL integration is loaded, whose driver (Mesa's, with
# LLVM) keeps memory that the sanitizer build would report once the driver is unloaded at exit.
QT_WAYLAND_CLIENT_BUFFER_INTEGRATION=none QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket" \
    WAYLAND_DEBUG=1 ./vostrel >"$log" 2>&1 &
XS_APP_PID=$!

echo "the missing settings file's message takes Return"
wait_focus 設定ファイルエラー
xdotool key Return
wait_focus Vostrel

echo "the window's app_id is the desktop entry's id"
ids=$(sed -n 's/.*set_app_id("\([^"]*\)").*/\1/p' "$log" | sort -u)
[ "$ids" == org.vostrel.Vostrel ] || fail "app_id: $ids"

# The game window lies centred in the 640x480 output; its size is its window geometry.
toplevel=$(grep 'set_title("Vostrel")' "$log" | tail -n 1 | sed 's/.*xdg_toplevel@\([0-9]*\).*/\1/')
surface=$(grep "get_toplevel(new id xdg_toplevel@$toplevel)" "$log" | tail -n 1 |
    sed 's/.*xdg_surface@\([0-9]*\)\.get_toplevel.*/\1/')
wait_log "xdg_surface@$surface.set_window_geometry" 1
read -r w h < <(grep "xdg_surface@$surface.set_window_geometry" "$log" | tail -n 1 |
    sed 's/.*set_window_geometry([0-9]*, [0-9]*, \([0-9]*\), \([0-9]*\)).*/\1 \2/')
origin_x=$(((640 - w) / 2))
origin_y=$(((480 - h) / 2))

echo "a right click on the window opens its menu; its version entry opens the version dialog"
open_list 60 75 3
xdotool key a
wait_focus バージョン情報
expect_list_closed
xdotool key Return
# The compositor hands the keyboard back to the game window (it sends its modifiers, though
# not always an enter, once the dialog is gone). The settings message was the first to go.
wait_log 'xdg_toplevel@[0-9]*\.destroy()' 2
deadline=$((SECONDS + 20))
until awk '/xdg_toplevel@[0-9]+\.destroy\(\)/ { d = NR } /wl_keyboard@[0-9]+\.(enter|modifiers)\(/ { k = NR }
    END { exit !(d && k > d) }' "$log"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the version dialog did not close"
    sleep 0.05
done
no_question "closing the version dialog"

echo "gap label 1: Down and Return in its list choose '-', and no question comes"
gap1() { xs_region_sum "$output" $((origin_x + 80)) $((origin_y + 30)) 15 30; }
before=$(gap1)
open_list 87 45
xdotool key Down Return
expect_list_closed
no_question "Return in a list"
[ "$(gap1)" != "$before" ] || fail "the gap label still shows '+'"

echo "gap label 2: Esc closes its list, and no question comes"
open_list 137 45
xdotool key Escape
expect_list_closed
no_question "Esc in a list"

echo "keys typed at once through three lists from '=': none is lost and none reaches the window"
# The compositor refuses a list whose opening key is no longer the latest one; it drops again.
region() { xs_region_sum "$output" $((origin_x + $1)) $((origin_y + $2)) "$3" "$4"; }
power1=$(region 57 9 31 16)
power2=$(region 107 9 31 16)
gap1=$(gap1)
xdotool key --delay 0 Tab space Down Return Right space Down Down Return Down space Down Return
sleep 1
no_question "keys typed at once"
[ "$(region 57 9 31 16)" != "$power1" ] || fail "power label 1 did not change"
[ "$(region 107 9 31 16)" != "$power2" ] || fail "power label 2 did not change"
[ "$(gap1)" != "$gap1" ] || fail "gap label 1 did not change"

echo "the problem counts as touched: Esc in the window asks; Yes ends the game"
xdotool key Escape
wait_focus 終了確認
xdotool key y
xs_wait_exit "$XS_APP_PID" || fail "the game did not end"
[ "$XS_STATUS" -eq 0 ] || fail "exit status $XS_STATUS"
[ "$(wc -l <vostrel.dat)" -eq 18 ] || fail "vostrel.dat was not written"
echo "PASS: on Wayland the lists, the window menu and the exit question work, and the app_id is the desktop entry's"
