#!/usr/bin/env bash
# Plays the real game under a virtual X server with a window manager, as a person would: the
# first start without a settings file, the chooser lists under a real pointer, problems worked
# and graded, then exit; the settings file must hold its 18 lines. Usage: e2e_game.sh BUILD_DIR
set -euo pipefail

build_dir=${1:-build}
binary="$build_dir/vostrel"
[ -x "$binary" ] || {
    echo "skipped: $binary is not part of this build"
    exit 77
}

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$(dirname "$0")/../../scripts/xsession.sh"
xs_require Xvfb xdotool xwininfo xwd openbox

xs_begin
work=$XS_WORK

# shellcheck source-path=SCRIPTDIR source=checks.bash
source "$(dirname "$0")/checks.bash"
fail_now=1

cp "$binary" "$work/vostrel"
xs_start || fail "no X server"
xs_start_wm || fail "no window manager"
cd "$work"
./vostrel >"$work/out.log" 2>&1 &
XS_APP_PID=$!

echo "missing settings file: the message comes first, before any settings are written"
box=$(xs_wait_window '^設定ファイルエラー$') || fail "no settings file message"
# The one-game lock lives on the file, so it may stand there already, empty.
[ ! -s vostrel.dat ] || fail "vostrel.dat written before the message was closed"
xs_keys "$box" Return
game=$(xs_wait_window '^Vostrel$') || fail "no game window"
[ "$(wc -l <vostrel.dat)" -eq 18 ] || fail "defaults not written at start"

echo "keys typed at once through three lists: each acts where the one before left the focus"
# From "=": power label 1 gets the square, power label 2 the cube, gap label 1 '-'.
# A key that came before a closed list was taken reopened it or went to a hidden list.
region() { xs_region_sum "$game" "$@"; }
power1=$(region 57 9 31 16)
power2=$(region 107 9 31 16)
gap1=$(region 82 32 11 26)
result=$(region 84 104 160 22)
xdotool windowfocus --sync "$game"
xdotool key --clearmodifiers --delay 0 Tab space Down Down Down Return Right space Down Down \
    Down Down Return Down space Down Return
xs_wait_count "$XS_APP_PID" 1 || fail "a list stayed open"
sleep 0.5
[ "$(region 57 9 31 16)" != "$power1" ] || fail "power label 1 did not change"
[ "$(region 107 9 31 16)" != "$power2" ] || fail "power label 2 did not change"
[ "$(region 82 32 11 26)" != "$gap1" ] || fail "gap label 1 did not change"
[ "$(region 84 104 160 22)" = "$result" ] || fail "a key reached '=' and evaluated"
! xdotool search --onlyvisible --name '^終了確認$' >/dev/null || fail "a key reached the window"

# Waits until the app's one popup is another window than $1 and prints its id.
next_list() {
    local deadline=$((SECONDS + 10)) id
    while true; do
        id=$(xs_popups "$XS_APP_PID" "$game")
        if [ -n "$id" ] && [ "$id" != "$1" ] && [ "$(wc -l <<<"$id")" -eq 1 ]; then
            echo "$id"
            return 0
        fi
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# Fails unless list $1 lies at the field's left edge $2, its top below the field's top $3 and
# above $4; $5 names it.
expect_list_under() {
    local x y
    read -r x y < <(xs_offset "$game" "$1")
    if ! [ "$x" -eq "$2" ] || ! [ "$y" -gt "$3" ] || ! [ "$y" -lt "$4" ]; then
        fail "$5 at ($x, $y), not under its field at ($2, $3)"
    fi
}

echo "gap label 2: its list drops under its field at (130, 63), below the label"
result_before=$(xs_region_sum "$game" 84 104 160 22)
xs_click "$game" 137 45
list=$(next_list "") || fail "the operator list did not drop down"
expect_list_under "$list" 130 63 100 "operator list"

echo "power label 1 while that list is open: the power list drops at once under (105, 7)"
xs_click "$game" 122 17
list=$(next_list "$list") || fail "the click on power label 1 opened no list"
expect_list_under "$list" 105 7 63 "power list"

echo "'=' while the power list is open: the list closes and a result shows"
xs_click "$game" 66 113
xs_wait_count "$XS_APP_PID" 1 || fail "the power list did not close"
xs_wait_region_change "$game" 84 104 160 22 "$result_before" 5 ||
    fail "'=' pressed while a list was open showed no result"

echo "'採点(&M)' while the list of gap 3 is open: the problem is graded"
xs_click "$game" 187 45
next_list "" >/dev/null || fail "the operator list of gap 3 did not drop down"
xs_click "$game" 224 165
next=$(xs_wait_window '^次計算開始$') || fail "a press on the grade button with a list open graded nothing"
xs_keys "$next" Return
xs_wait_gone '^次計算開始$' || fail "the announcement stayed"

echo "the Menu key, and Shift+F10 without one, open the window menu; Escape closes it"
for key in Menu shift+F10; do
    xs_keys "$game" "$key"
    xs_wait_count "$XS_APP_PID" 2 || fail "$key opened no window menu"
    xdotool key --clearmodifiers Escape
    xs_wait_count "$XS_APP_PID" 1 || fail "the window menu stayed"
done

# Waits up to 10 seconds until the window manager names the game window active; the keys
# that follow go where the keyboard is, as a player's do.
wait_active() {
    local deadline=$((SECONDS + 10))
    until [ "$(($(xprop -root _NET_ACTIVE_WINDOW | awk '{print $NF}')))" = "$1" ]; do
        [ "$SECONDS" -lt "$deadline" ] || fail "$2: the keyboard did not come back to $3"
        sleep 0.05
    done
}
wait_game_active() { wait_active "$game" "$1" "the game window"; }

echo "gap label 1: its list drops down; Down and Return choose '-'"
xs_click "$game" 87 45
xs_wait_count "$XS_APP_PID" 2 || fail "the operator list did not drop down"
xdotool key --clearmodifiers Down Return
xs_wait_count "$XS_APP_PID" 1 || fail "the operator list did not close"

echo "the problem counts as touched: Esc asks before leaving; Enter keeps the game (No)"
xs_keys "$game" Escape
ask=$(xs_wait_window '^終了確認$') || fail "no exit question after a choice"
xs_keys "$ask" Return
xs_wait_gone '^終了確認$' || fail "exit question stayed"
kill -0 "$XS_APP_PID" || fail "No at the exit question ended the game"
wait_game_active "after the exit question"

echo "a box over the settings dialog over the game: as it closes, the settings dialog has the keyboard"
xdotool key --clearmodifiers alt+s
settings=$(xs_wait_window '^設定$') || fail "no settings dialog"
xdotool key --clearmodifiers ctrl+a 0 alt+g
xs_wait_window '^入力値不正$' >/dev/null || fail "no box for the count 0"
xdotool key --clearmodifiers Return
xs_wait_gone '^入力値不正$' || fail "the box stayed"
wait_active "$settings" "after the box" "the settings dialog"
# Its keys reach it: Esc closes it unchanged, and the game window is next.
xdotool key --clearmodifiers Escape
xs_wait_gone '^設定$' || fail "Esc did not reach the settings dialog"
kill -0 "$XS_APP_PID" || fail "Esc reached the game window instead"
wait_game_active "after the settings dialog"

echo "設定, 変更, はい (a new game): the keyboard is back in the game window, Alt+= evaluates"
# A window manager may leave the keyboard nowhere as a question and its dialog close at once.
blank=$(xs_region_sum "$game" 84 104 160 22) # nothing evaluated in this problem yet
for round in 1 2 3; do
    xdotool key --clearmodifiers alt+equal # touched, so 変更 asks
    xdotool key --clearmodifiers alt+s
    xs_wait_window '^設定$' >/dev/null || fail "round $round: no settings dialog"
    xdotool key --clearmodifiers alt+g
    xs_wait_window '^変更確認$' >/dev/null || fail "round $round: no question before a new game"
    xdotool key --clearmodifiers y
    xs_wait_gone '^設定$' || fail "round $round: the settings dialog stayed"
    wait_game_active "round $round"
    deadline=$((SECONDS + 10))
    until [ "$(xs_region_sum "$game" 84 104 160 22)" = "$blank" ]; do
        [ "$SECONDS" -lt "$deadline" ] || fail "round $round: the new game shows an old result"
        sleep 0.1
    done
    xdotool key --clearmodifiers alt+equal
    xs_wait_region_change "$game" 84 104 160 22 "$blank" ||
        fail "round $round: Alt+= after the settings did nothing"
done

echo "evaluate with '=', then grade with its access key"
xs_click "$game" 66 113
xs_keys "$game" alt+m
next=$(xs_wait_window '^次計算開始$') || fail "grading did not announce the next problem"
xs_keys "$next" Return
xs_wait_gone '^次計算開始$' || fail "the announcement stayed"

echo "exit through the exit question"
xs_keys "$game" alt+x
ask=$(xs_wait_window '^終了確認$') || fail "no exit question during a game"
xs_keys "$ask" y
xs_wait_exit "$XS_APP_PID" || fail "the game did not end"
[ "$XS_STATUS" -eq 0 ] || fail "exit status $XS_STATUS"

lines=$(wc -l <vostrel.dat)
[ "$lines" -eq 18 ] || fail "vostrel.dat holds $lines lines"
grep -q $'^rn:3\r$' vostrel.dat || fail "repeat count line missing"
echo "ok: played two problems and exited; vostrel.dat holds 18 lines"

echo "an unreadable settings file: the read-failure message, then the program ends with 1"
printf ':Vostrel\rrn:3\r\n' >vostrel.dat
cp vostrel.dat broken.copy
./vostrel >"$work/out2.log" 2>&1 &
XS_APP_PID=$!
box=$(xs_wait_window '^設定ファイルエラー$') || fail "no read-failure message"
xs_keys "$box" Return
xs_wait_exit "$XS_APP_PID" || fail "the program did not end after the read failure"
[ "$XS_STATUS" -eq 1 ] || fail "exit status $XS_STATUS after the read failure"
cmp -s vostrel.dat broken.copy || fail "the unreadable file was changed"
echo "PASS: read failure ends the program with status 1 and leaves the file alone"
