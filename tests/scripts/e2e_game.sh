#!/usr/bin/env bash
# Plays the real game under a virtual X server as a person would: the first start without a
# settings file, one problem worked and graded, then exit; the settings file must hold its 18
# lines. Usage: e2e_game.sh BUILD_DIR
set -euo pipefail

build_dir=${1:-build}
binary="$build_dir/vostrel"
[ -x "$binary" ] || {
    echo "skipped: $binary is not part of this build"
    exit 77
}

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$(dirname "$0")/../../scripts/xsession.sh"
xs_require Xvfb xdotool

xs_begin
work=$XS_WORK

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cp "$binary" "$work/vostrel"
xs_start || fail "no X server"
cd "$work"
./vostrel >"$work/out.log" 2>&1 &
XS_APP_PID=$!

echo "missing settings file: the message comes first, before any file is written"
box=$(xs_wait_window '^設定ファイルエラー$') || fail "no settings file message"
[ ! -e vostrel.dat ] || fail "vostrel.dat written before the message was closed"
xs_keys "$box" Return
game=$(xs_wait_window '^Vostrel$') || fail "no game window"
[ "$(wc -l <vostrel.dat)" -eq 18 ] || fail "defaults not written at start"

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

echo "evaluate with '=', then grade with its access key"
xs_click "$game" 66 122
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
echo "ok: played one problem and exited; vostrel.dat holds 18 lines"

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
