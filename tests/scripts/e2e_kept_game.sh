#!/usr/bin/env bash
# A game under way outlives its end: Alt+X answered はい, the window's close button, SIGTERM,
# SIGKILL in the middle of a save (again and again) and a session manager's logout, after which
# the game is started by the command it gave. Each next start says that the game goes on and
# shows the window as it was, pixel for pixel; vostrel.dat is never touched by any of it.
# Usage: bash e2e_kept_game.sh BUILD_DIR
set -euo pipefail

build="${1:?usage: e2e_kept_game.sh BUILD_DIR}"
[ -x "$build/vostrel" ] || exit 77

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$(dirname "$0")/../../scripts/xsession.sh"
xs_require Xvfb xdotool cc openbox mkfifo xwd xwininfo

unset SESSION_MANAGER
sm_pid=""
stop_sm() { [ -z "$sm_pid" ] || kill "$sm_pid" 2>/dev/null; }
xs_begin stop_sm
tmp=$XS_WORK

# shellcheck source-path=SCRIPTDIR source=e2e_common.bash
source "$(dirname "$0")/e2e_common.bash"

mkdir "$tmp/game"
cp "$build/vostrel" "$tmp/game/vostrel"
dat=$tmp/game/vostrel.dat
kept=$tmp/game/vostrel-game.txt

# Every problem draws other digits, so a start that drew anew would show others.
e2e_build_rand 1 2 3 4 5 6 7 8 9 0 2 4
e2e_build_slow_save

printf ':Vostrel\r\n:Ver. 2.0.2005.0117\r\n:test\r\n' >"$dat"
printf 'rn:3\r\nnsd:0\r\nnsr:0\r\nrto:1\r\neu:1\r\n' >>"$dat"
for row in 0 1 2 3 4; do printf 'hsn%d:none\r\nhss%d:0\r\n' "$row" "$row" >>"$dat"; done

# Starts the game (extra LD_PRELOAD libraries in $1); sets XS_APP_PID.
launch() {
    rm -f "$tmp/mark"
    SLOW_SAVE_MARK="$tmp/mark" SLOW_SAVE_NAME=vostrel-game.txt.tmp- LD_PRELOAD="$tmp/rand.so ${1:-}" env --default-signal=INT \
        "$tmp/game/vostrel" >>"$tmp/game.log" 2>&1 &
    XS_APP_PID=$!
}

# The pixels of the whole window $1.
window_sum() {
    local w h
    read -r w h < <(xwininfo -id "$1" | awk '/Width:/ {w = $2} /Height:/ {print w, $2}')
    xs_region_sum "$1" 0 0 "$w" "$h"
}

# A new game played into its second problem, "=" pressed there last; sets main and shown.
play() {
    rm -f "$kept"
    launch "${1:-}"
    main=$(xs_wait_window '^Vostrel$' "$XS_APP_PID") || fail "no game window"
    xs_keys "$main" alt+equal
    xs_keys "$main" alt+m
    next=$(xs_wait_window '^次計算開始$' "$XS_APP_PID") || fail "grading did not go on"
    xs_keys "$next" Return
    xs_wait_gone '^次計算開始$' || fail "the announcement stayed"
    xs_keys "$main" alt+equal
    # The file follows each action: the second problem, one try.
    for _ in $(seq 200); do
        grep -qx 'problem:1' "$kept" 2>/dev/null && grep -qx 'tries:1' "$kept" && break
        sleep 0.05
    done
    grep -qx 'tries:1' "$kept" || fail "the try on problem 2 was not kept: $(cat "$kept")"
    sleep 0.3
    shown=$(window_sum "$main")
}

# The next start: the box saying the game goes on (with the problem and its digits), then the
# same window.
goes_on() {
    local box now
    launch
    box=$(xs_wait_window '^前回のゲーム$' "$XS_APP_PID") || fail "$1: no box at the next start"
    xs_keys "$box" Return
    xs_wait_gone '^前回のゲーム$' || fail "$1: the box stayed"
    main=$(xs_wait_window '^Vostrel$' "$XS_APP_PID") || fail "$1: no game window"
    sleep 0.3
    now=$(window_sum "$main")
    [ "$now" = "$shown" ] || {
        xwd -silent -id "$main" >"$tmp/$1.xwd"
        fail "$1: the next start shows another window (dump in $tmp/$1.xwd)"
    }
    cmp -s "$dat" "$tmp/dat.copy" || fail "$1: vostrel.dat changed"
    echo "ok: $1: the next start goes on with the same window"
}

# Ends the running game through its exit question, answered はい.
quit() {
    local ask
    ask=$(xs_wait_window '^終了確認$' "$XS_APP_PID") || fail "no exit question"
    xs_keys "$ask" y
    xs_wait_exit "$XS_APP_PID" 20 || fail "the game did not end"
    [ "$XS_STATUS" -eq 0 ] || fail "the game ended with status $XS_STATUS"
}

xs_start || fail "no X server"
xs_start_wm || fail "no window manager"

# A first start and end, with nothing done, writes vostrel.dat as this version does; from then
# on it stays as it is.
launch
main=$(xs_wait_window '^Vostrel$' "$XS_APP_PID") || fail "no game window"
xs_keys "$main" alt+x
xs_wait_exit "$XS_APP_PID" 20 || fail "the game did not end"
cp "$dat" "$tmp/dat.copy"

play
xs_keys "$main" alt+x
quit
goes_on alt+x
# The resumed game ends as any other.
xs_keys "$main" alt+x
quit

play
xdotool windowactivate --sync "$main" key --clearmodifiers alt+F4
quit
goes_on "close button"
xs_keys "$main" alt+x
quit

play
kill -s TERM "$XS_APP_PID"
xs_wait_exit "$XS_APP_PID" 20 || fail "SIGTERM did not end the game"
goes_on SIGTERM
kill -s TERM "$XS_APP_PID"
xs_wait_exit "$XS_APP_PID" 20 || fail "SIGTERM did not end the game"

echo "SIGKILL in the middle of a save"
for round in $(seq 8); do
    # "=" once more: the save of that try is killed in its fsync.
    launch "$tmp/slow.so"
    box=$(xs_wait_window '^前回のゲーム$' "$XS_APP_PID") || fail "round $round: no box"
    xs_keys "$box" Return
    main=$(xs_wait_window '^Vostrel$' "$XS_APP_PID") || fail "round $round: no game window"
    before=$(cat "$kept")
    xs_keys "$main" alt+equal
    for _ in $(seq 200); do
        [ -e "$tmp/mark" ] && break
        sleep 0.05
    done
    [ -e "$tmp/mark" ] || fail "round $round: the save did not begin"
    kill -s KILL "$XS_APP_PID"
    xs_wait_exit "$XS_APP_PID" 20 2>/dev/null || true
    # The old file whole: the kill came before the rename.
    [ "$(cat "$kept")" = "$before" ] || fail "round $round: the kept game changed: $(cat "$kept")"
done
echo "ok: $round kills in the middle of a save, the old file each time"
# The next start goes on and removes what the killed saves left.
launch
box=$(xs_wait_window '^前回のゲーム$' "$XS_APP_PID") || fail "no box after the kills"
xs_keys "$box" Return
main=$(xs_wait_window '^Vostrel$' "$XS_APP_PID") || fail "no game window"
! compgen -G "$kept.tmp-*" >/dev/null || fail "a temporary file was left: $(ls "$tmp/game")"
xs_keys "$main" alt+x
quit
echo "ok: no temporary left"

echo "the session manager's logout, and the command it was given"
e2e_start_session_manager
export SESSION_MANAGER=$sm_address
play
sm_said registered || fail "the game did not join the session"
echo logout >&5
sm_said "done 1" || fail "the game did not save for the logout"
sm_said "hint 0" || fail "the game does not ask to come back with the session"
command=$(grep -m 1 '^restart ' "$tmp/sm.out" | cut -d' ' -f2-)
[ "$command" = "$tmp/game/vostrel" ] || fail "the restart command is '$command'"
echo die >&5
xs_wait_exit "$XS_APP_PID" 20 || fail "the game did not end with the session"
exec 5>&-
wait "$sm_pid" || true
sm_pid=""
unset SESSION_MANAGER
goes_on logout
xs_keys "$main" alt+x
quit
echo "PASS"
