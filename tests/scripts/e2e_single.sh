#!/usr/bin/env bash
# One game per settings file, under a virtual X display with a window manager. A second start
# over the same vostrel.dat ends at once and brings the running window forward (from behind
# another window, and from minimised), so a high score entered in the running game is in the
# file after it exits. After a kill -9 the next start opens normally and removes what a killed
# save left. A second start while the first shows the missing-file message shows no second
# message; a copy in another folder runs beside the first.
# Usage: bash e2e_single.sh BUILD_DIR
set -euo pipefail

build="${1:?usage: e2e_single.sh BUILD_DIR}"
[ -x "$build/vostrel" ] || exit 77

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$(dirname "$0")/../../scripts/xsession.sh"
xs_require Xvfb xdotool xprop xmessage cc

# Every game started here, ended at exit unless it ended before.
games=()
end_games() {
    local pid
    for pid in "${games[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
}
xs_begin end_games
tmp=$XS_WORK

# shellcheck source-path=SCRIPTDIR source=e2e_common.bash
source "$(dirname "$0")/e2e_common.bash"

# Each folder holds a copy of the game, which keeps its vostrel.dat beside it.
mkdir "$tmp/game" "$tmp/other" "$tmp/run"
cp "$build/vostrel" "$tmp/game/vostrel"
cp "$build/vostrel" "$tmp/other/vostrel"
# The lock and the socket go here; a folder only this user may enter, as a session's is.
chmod 0700 "$tmp/run"
export XDG_RUNTIME_DIR="$tmp/run"
{
    printf ':Vostrel\r\n:Ver. 2.0.2005.0117\r\n:test\r\n'
    printf 'rn:1\r\nnsd:0\r\nnsr:0\r\nrto:1\r\neu:1\r\n'
    for row in 0 1 2 3 4; do printf 'hsn%d:low\r\nhss%d:%d\r\n' $row $row $((50 - row)); done
} >"$tmp/game/vostrel.dat"

e2e_build_rand
e2e_build_bindkeys
xs_start || fail "no X server"
xs_start_wm || fail "no window manager"
keys=$("$tmp/bindkeys" kept) || fail "cannot bind the name's characters to keys"

# Starts the game in folder $1; its pid in $game.
start() {
    LD_PRELOAD="$tmp/rand.so" "$tmp/$1/vostrel" >>"$tmp/game.log" 2>&1 &
    game=$!
    games+=("$game")
}

active() {
    xprop -root _NET_ACTIVE_WINDOW | awk '{print $NF}'
}

# Waits up to 10 seconds until window $1 is the active one.
wait_active() {
    local want deadline=$((SECONDS + 10))
    want=$(printf '0x%x' "$1")
    until [ "$(active)" == "$want" ]; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

count_windows() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l
}

# Starts the game in folder $1 again and expects it to end with status 0 within 10 seconds.
second_start() {
    local t0=$SECONDS
    start "$1"
    xs_wait_exit "$game" 10 || return 1
    [ "$XS_STATUS" -eq 0 ] || fail "the second start ended with status $XS_STATUS"
    echo "the second start ended after $((SECONDS - t0)) s"
}

echo "a second start while a game runs"
start game
first=$game
main=$(xs_wait_window '^Vostrel$' "$first") || fail "no game window"
xmessage -title elsewhere 'another window' 2>/dev/null &
games+=($!)
other=$(xs_wait_window '^elsewhere$') || fail "no other window"
xdotool windowactivate --sync "$other"
wait_active "$other" || fail "the other window is not active"

lost=""
if second_start game; then
    wait_active "$main" || fail "the game window was not activated; active: $(active)"
    [ "$(count_windows '^Vostrel$')" -eq 1 ] || fail "$(count_windows '^Vostrel$') game windows"
    xdotool windowminimize --sync "$main"
    second_start game || fail "the start over a minimised game did not end"
    wait_active "$main" || fail "the minimised game window was not activated; active: $(active)"
else
    second=$game
    lost="the second start opened a second game"
fi

echo "a high score in the running game, then it exits"
e2e_grade_and_name "$first" "$main" "$keys" || fail "no high-score entry"
xs_keys "$main" Escape
xs_wait_exit "$first" 10 || fail "the game did not end"
[ "$XS_STATUS" -eq 0 ] || fail "the game ended with status $XS_STATUS"
if [ -n "$lost" ]; then
    # As a player would: the other window is closed last, and saves its own table.
    w=$(xs_wait_window '^Vostrel$' "$second") || fail "$lost, and its window is gone"
    xs_keys "$w" Escape
    xs_wait_exit "$second" 10 || fail "$lost, which does not end"
fi
if ! grep -aqx $'hsn0:kept\r' "$tmp/game/vostrel.dat" ||
    ! grep -aqx "hss0:$(e2e_start_points 0)"$'\r' "$tmp/game/vostrel.dat"; then
    lost="${lost:+$lost; }the score is not in the file: $(grep -a '^hs.0:' "$tmp/game/vostrel.dat" | tr '\r\n' '  ')"
fi
[ -z "$lost" ] || fail "$lost"

echo "killed, then started again"
start game
main=$(xs_wait_window '^Vostrel$' "$game") || fail "no game window"
kill -9 "$game"
wait "$game" 2>/dev/null || true
compgen -G "$tmp/run/vostrel-*.sock" >/dev/null || fail "the killed game left no socket to test"
# What killed saves leave, and look-alikes that are not theirs to remove.
: >"$tmp/game/vostrel.dat.tmp-4242-7"
: >"$tmp/game/vostrel.dat.tmp-4242-x"
: >"$tmp/kept"
ln -s "$tmp/kept" "$tmp/game/vostrel.dat.tmp-4243-0"
start game
main=$(xs_wait_window '^Vostrel$' "$game") || fail "no game window after the kill"
[ "$(count_windows '^設定ファイルエラー$')" -eq 0 ] || fail "a settings file error after the kill"
# The killed game's socket was replaced: a later start still finds the game.
second_start game || fail "the start after the restart did not end"
[ ! -e "$tmp/game/vostrel.dat.tmp-4242-7" ] || fail "a killed save's temporary is still there"
if ! [ -e "$tmp/game/vostrel.dat.tmp-4242-x" ] || ! [ -L "$tmp/game/vostrel.dat.tmp-4243-0" ] ||
    ! [ -e "$tmp/kept" ]; then
    fail "a file that no save left was removed"
fi

echo "a copy in another folder, twice while its missing-file message shows"
start other
beside=$game
box=$(xs_wait_window '^設定ファイルエラー$' "$beside") || fail "no missing-file message"
xdotool windowactivate --sync "$main"
second_start other || fail "the second start over the missing file did not end"
[ "$(count_windows '^設定ファイルエラー$')" -eq 1 ] || fail "a second missing-file message"
wait_active "$box" || fail "the missing-file message was not activated; active: $(active)"
xs_keys "$box" Return
xs_wait_window '^Vostrel$' "$beside" >/dev/null || fail "no game window in the other folder"
[ "$(count_windows '^Vostrel$')" -eq 2 ] || fail "not two game windows side by side"
echo "ok: one game per settings file, the running one came forward, nothing left behind"
