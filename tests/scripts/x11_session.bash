# shellcheck shell=bash disable=SC2154,SC2034 # tmp comes from, and xvfb_pid goes to, the sourcing script
# Sourced by the end-to-end scripts: a private virtual X display and waiting for the game's
# windows. Needs $tmp (a scratch directory) and a fail function; sets DISPLAY.

# start_xvfb: starts Xvfb on a free display; its pid goes to xvfb_pid.
# -noreset: keymap changes stay, and no client slips in while the server resets after the
# last client has left (the game would then fail to connect and abort).
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
        3>"$tmp/display" 2>"$tmp/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$tmp/display" ] && break
        sleep 0.1
    done
    [ -s "$tmp/display" ] || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
    DISPLAY=":$(cat "$tmp/display")"
    export DISPLAY
    export QT_QPA_PLATFORM=xcb
}

# wait_window PID REGEX: sets `found` to the visible window of process PID whose title matches,
# within ten seconds.
found=""
wait_window() {
    for _ in $(seq 100); do
        found=$(xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null |
            head -n 1) || true
        [ -n "$found" ] && return 0
        kill -0 "$1" 2>/dev/null || fail "the game ended while waiting for '$2'"
        sleep 0.1
    done
    fail "no window '$2'"
}

# wait_exit PID: waits up to ten seconds for the process to end; fails unless it ends with 0.
wait_exit() {
    for _ in $(seq 100); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$1" 2>/dev/null && fail "the game did not end"
    local status=0
    wait "$1" || status=$?
    [ "$status" -eq 0 ] || fail "the game ended with status $status"
}
