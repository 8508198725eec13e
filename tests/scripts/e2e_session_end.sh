#!/usr/bin/env bash
# The desktop ends the game: SIGTERM, SIGHUP, SIGINT and SIGUSR1, each with the player's high
# score (and a dialog or a question open), and a settings change; an X11 session manager's
# logout; the X server going away. Each time vostrel.dat must be whole and hold what the player did. A save
# that cannot be written is told once, and the game still ends. A burst of signals during and
# after the save leaves the new file and status 0; SIGKILL in its middle, the old file.
# Usage: bash e2e_session_end.sh BUILD_DIR
set -euo pipefail

build="${1:?usage: e2e_session_end.sh BUILD_DIR}"
[ -x "$build/vostrel" ] || exit 77

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$(dirname "$0")/../../scripts/xsession.sh"
xs_require Xvfb xdotool cc openbox mkfifo

# Only the section that runs a session manager joins one.
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

e2e_build_rand
e2e_build_bindkeys
e2e_build_slow_save

base() {
    printf ':Vostrel\r\n:Ver. 2.0.2005.0117\r\n:test\r\n'
    printf 'rn:1\r\nnsd:0\r\nnsr:0\r\nrto:1\r\neu:1\r\n'
    printf 'hsn0:ABC\r\nhss0:50\r\nhsn1:XYZ\r\nhss1:40\r\nhsn2:PYR\r\nhss2:30\r\n'
    printf 'hsn3:owns\r\nhss3:20\r\nhsn4:last\r\nhss4:10\r\n'
}

# Starts the game over a fresh copy of the base file (extra LD_PRELOAD libraries in $1) and
# sets main to its window. SIGINT as from a terminal: a background job of a script would
# start with it ignored, and an ignored signal stays ignored.
start() {
    base >"$dat"
    # Each scene starts a new game; the kept one has a script of its own.
    rm -f "$tmp/game/vostrel-game.txt"
    rm -f "$tmp/mark"
    SLOW_SAVE_MARK="$tmp/mark" SLOW_SAVE_NAME=vostrel.dat.tmp- LD_PRELOAD="$tmp/rand.so ${1:-}" env --default-signal=INT \
        "$tmp/game/vostrel" >"$tmp/game.log" 2>&1 &
    XS_APP_PID=$!
    main=$(xs_wait_window '^Vostrel$' "$XS_APP_PID") || fail "no game window"
}

# The file: 18 lines, a line end last, row 0 is $1 with the graded points, rn is $2.
check_file() {
    local ended last
    ended=$(grep -c $'\r$' "$dat") || true
    last=$(tail -c 2 "$dat" | od -An -tx1 | tr -d ' ')
    if [ "$ended" -ne 18 ] || [ "$(wc -l <"$dat")" -ne 18 ] || [ "$last" != 0d0a ]; then
        fail "vostrel.dat is not whole: $(od -c "$dat" | tail -n 5)"
    fi
    grep -aqx "hsn0:$1"$'\r' "$dat" || fail "row 0 is not $1: $(grep -a '^hsn0:' "$dat")"
    grep -aqx "hss0:$(e2e_start_points 0)"$'\r' "$dat" || fail "row 0 does not hold the graded points"
    grep -aqx "rn:$2"$'\r' "$dat" || fail "rn is not $2: $(grep -a '^rn:' "$dat")"
    grep -aqx $'hsn1:ABC\r' "$dat" || fail "the old row 0 did not move down"
}

# Sends signal $1 and waits for the end; status $2 expected.
end_with() {
    kill -s "$1" "$XS_APP_PID"
    xs_wait_exit "$XS_APP_PID" 10 || fail "SIG$1: the game did not end"
    [ "$XS_STATUS" -eq "$2" ] || fail "SIG$1: the game ended with status $XS_STATUS"
}

no_leftovers() {
    ! compgen -G "$dat.tmp-*" >/dev/null || fail "a temporary file was left: $(ls "$tmp/game")"
}

xs_start || fail "no X server"
xs_start_wm || fail "no window manager"

# Each name is typed, confirmed with Enter; then the signal comes over a different scene.
for sig in TERM HUP INT USR1; do
    name="sig${sig,,}"
    keys=$("$tmp/bindkeys" "$name") || fail "cannot bind the name's characters to keys"
    start
    e2e_grade_and_name "$XS_APP_PID" "$main" "$keys" || fail "no high-score entry"
    case $sig in
    TERM)
        # The settings dialog is open.
        xs_keys "$main" alt+s
        xs_wait_window '^設定$' "$XS_APP_PID" >/dev/null || fail "no settings dialog"
        ;;
    HUP)
        # A game under way: the exit question is open.
        # "=" (its mnemonic clicks a moment later), then the window's close.
        xs_keys "$main" alt+equal
        sleep 0.5
        xs_keys "$main" Escape
        xs_wait_window '^終了確認$' "$XS_APP_PID" >/dev/null || fail "no exit question"
        ;;
    INT | USR1) ;;
    esac
    end_with "$sig" 0
    check_file "$name" 1
    no_leftovers
    echo "ok: SIG$sig saved the confirmed high score (status 0)"
done

echo "a name typed in every language and not confirmed, then SIGTERM: the name as typed"
# In lower case: the keys are pressed without Shift.
name="jürgen größe 山田"
keys=$("$tmp/bindkeys" "$name") || fail "cannot bind the name's characters to keys"
start
xs_keys "$main" alt+m
table=$(xs_wait_window '^ハイスコア$' "$XS_APP_PID") || fail "no high-score entry"
xdotool windowfocus --sync "$table"
# shellcheck disable=SC2086
xdotool key --delay 40 $keys F1
# The help is there once the game has taken every key before F1.
xs_wait_window '^Vostrel のヘルプ$' "$XS_APP_PID" >/dev/null || fail "F1 opened no help"
end_with TERM 0
# The lines every version reads hold the code page 932 form; the name itself follows them.
grep -aqx $'hsn0:j?rgen gr??e \x8eR\x93c\r' "$dat" ||
    fail "row 0 is not the typed name's code page 932 form: $(grep -a '^hsn0:' "$dat" | od -c)"
grep -aqx $'hsu0:j%C3%BCrgen gr%C3%B6%C3%9Fe %E5%B1%B1%E7%94%B0\r' "$dat" ||
    fail "the typed name is not kept whole: $(grep -a '^hsu0:' "$dat")"
[ "$(head -n 18 "$dat" | grep -c $'\r$')" -eq 18 ] && [ "$(wc -l <"$dat")" -eq 19 ] ||
    fail "vostrel.dat is not the 18 lines and the name: $(cat -A "$dat")"
echo "ok: SIGTERM kept the typed name, whole"

# Sets the repeat count to $1 in the settings dialog, taken with 変更.
set_repeat_count() {
    local dlg
    xs_keys "$main" alt+s
    dlg=$(xs_wait_window '^設定$' "$XS_APP_PID") || fail "no settings dialog"
    xs_keys "$dlg" ctrl+a "$1" alt+g
    xs_wait_gone '^設定$' 10 || fail "the settings dialog stayed open"
}

echo "a settings change taken with 変更, then SIGTERM"
start
set_repeat_count 4
end_with TERM 0
grep -aqx $'rn:4\r' "$dat" || fail "rn is not 4: $(grep -a '^rn:' "$dat")"
[ "$(wc -l <"$dat")" -eq 18 ] || fail "vostrel.dat is not whole"
echo "ok: SIGTERM saved the repeat count"

echo "a save that cannot be written: told once, and the game ends"
start
rm "$dat"
mkdir "$dat"
xs_keys "$main" Escape
box=$(xs_wait_window '^設定ファイルエラー$' "$XS_APP_PID") || fail "no save-failure message"
xs_keys "$box" Return
xs_wait_exit "$XS_APP_PID" 10 || fail "the game did not end after the message"
[ "$XS_STATUS" -eq 1 ] || fail "a failed save ended with status $XS_STATUS"
rmdir "$dat"
echo "ok: one message, status 1"

echo "the same at a session's end: no message, one line on standard error"
start
set_repeat_count 2
rm "$dat"
mkdir "$dat"
end_with TERM 1
[ "$(grep -c 'could not be saved' "$tmp/game.log")" -eq 1 ] ||
    fail "no single line: $(cat "$tmp/game.log")"
rmdir "$dat"
echo "ok: $(grep 'could not be saved' "$tmp/game.log")"

echo "the session manager's logout, with a game under way"
e2e_start_session_manager
sm_id=$sm_address
keys=$("$tmp/bindkeys" "logout") || fail "cannot bind the name's characters to keys"
SESSION_MANAGER=$sm_id start
sm_said registered || fail "the game did not join the session"
e2e_grade_and_name "$XS_APP_PID" "$main" "$keys" || fail "no high-score entry"
xs_keys "$main" alt+equal
sleep 0.5
echo logout >&5
sm_said "done 1" || fail "the game did not save for the logout"
check_file logout 1
sm_said "hint 0" || fail "the game does not ask to be restarted with the session"
echo die >&5
xs_wait_exit "$XS_APP_PID" 10 || fail "the game did not end when the session did"
[ "$XS_STATUS" -eq 0 ] || fail "the game ended with status $XS_STATUS"
sm_said closed || fail "the game did not leave the session"
! grep -qx 'interact\|cancel' "$tmp/sm.out" ||
    fail "the game held up the logout: $(cat "$tmp/sm.out")"
exec 5>&-
wait "$sm_pid" || fail "the session manager failed: $(cat "$tmp/sm.out")"
sm_pid=""
check_file logout 1
echo "ok: saved at the logout's request, ended at the session's end, never asked the player"

# SIGTERM to the game with the slowed save, and the wait until that save holds its fsync.
term_into_the_save() {
    kill -s TERM "$XS_APP_PID"
    for _ in $(seq 200); do
        [ -e "$tmp/mark" ] && return 0
        sleep 0.05
    done
    fail "the save did not begin"
}

echo "signals in the middle of the save"
keys=$("$tmp/bindkeys" "slow") || fail "cannot bind the name's characters to keys"
start "$tmp/slow.so"
e2e_grade_and_name "$XS_APP_PID" "$main" "$keys" || fail "no high-score entry"
term_into_the_save
# A burst during the save and after it, until the game is gone: a logout's repeated TERM,
# a terminal's HUP and INT, a stray USR1. None may change the status of a saved game.
(
    sigs=(TERM INT HUP USR1 PIPE)
    n=0
    while kill -s "${sigs[n % 5]}" "$XS_APP_PID" 2>/dev/null; do
        n=$((n + 1))
        sleep 0.001
    done
) &
burst=$!
xs_wait_exit "$XS_APP_PID" 10 || fail "the game did not end"
wait "$burst" || true
[ "$XS_STATUS" -eq 0 ] || fail "the game ended with status $XS_STATUS"
check_file slow 1
no_leftovers
echo "ok: further signals during and after the save: the new file, status 0"

start "$tmp/slow.so"
e2e_grade_and_name "$XS_APP_PID" "$main" "$keys" || fail "no high-score entry"
term_into_the_save
kill -s KILL "$XS_APP_PID"
xs_wait_exit "$XS_APP_PID" 10 2>/dev/null || true
cmp -s "$dat" <(base) || fail "SIGKILL during the save broke the old file"
echo "ok: SIGKILL during the save: the old file"

echo "the X server goes away"
keys=$("$tmp/bindkeys" "xgone") || fail "cannot bind the name's characters to keys"
start
e2e_grade_and_name "$XS_APP_PID" "$main" "$keys" || fail "no high-score entry"
kill "$XVFB_PID"
xs_wait_exit "$XS_APP_PID" 10 || fail "the game did not end without its display"
check_file xgone 1
echo "ok: saved when the display went away (status $XS_STATUS)"
