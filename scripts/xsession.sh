# shellcheck shell=bash disable=SC2034  # XVFB_PID and XS_STATUS are read by the caller
# Helpers for driving the game in a virtual X server, sourced by the end-to-end test and the
# screenshot script. Every wait is bounded.

# Starts Xvfb on a free display (it picks the number itself) and exports DISPLAY.
# Sets XVFB_PID.
xs_start() {
    local dispfile
    dispfile=$(mktemp)
    Xvfb -displayfd 3 -nolisten tcp -screen 0 800x600x24 3>"$dispfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    local _
    for _ in $(seq 200); do
        [ -s "$dispfile" ] && break
        sleep 0.05
    done
    if ! [ -s "$dispfile" ]; then
        rm -f "$dispfile"
        echo "Xvfb did not start" >&2
        return 1
    fi
    DISPLAY=":$(head -n 1 "$dispfile")"
    export DISPLAY
    # The test command runs the window tests offscreen; the real program needs this server.
    export QT_QPA_PLATFORM=xcb
    rm -f "$dispfile"
}

# Prints the id of the first visible window whose name matches the regular expression $1,
# waiting up to $2 seconds (default 20); fails when none appears.
xs_wait_window() {
    local id
    id=$(timeout "${2:-20}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] || {
        echo "no window named '$1' appeared" >&2
        return 1
    }
    echo "$id"
}

# Waits up to $2 seconds (default 20) until no visible window's name matches $1.
xs_wait_gone() {
    local deadline=$((SECONDS + ${2:-20}))
    while xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "window '$1' did not close" >&2
            return 1
        fi
        sleep 0.05
    done
}

# Waits up to $3 seconds (default 20) until process $1 shows exactly $2 visible windows.
xs_wait_count() {
    local deadline=$((SECONDS + ${3:-20})) n
    while true; do
        n=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l)
        [ "$n" -eq "$2" ] && return 0
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "process $1 shows $n windows, not $2" >&2
            return 1
        fi
        sleep 0.05
    done
}

# Gives window $1 the keyboard focus and types the keys that follow.
xs_keys() {
    local w=$1
    shift
    xdotool windowfocus --sync "$w" && xdotool key --clearmodifiers "$@"
}

# Clicks the left button at client pixel ($2, $3) of window $1.
xs_click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# Waits up to $2 seconds for process $1 (a child of this shell, so not to be called in a
# subshell) to end; sets XS_STATUS to its exit status.
xs_wait_exit() {
    local deadline=$((SECONDS + ${2:-20}))
    while kill -0 "$1" 2>/dev/null && ! grep -q '^Z' <(ps -o stat= -p "$1" 2>/dev/null); do
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "process $1 did not end" >&2
            return 1
        fi
        sleep 0.05
    done
    XS_STATUS=0
    wait "$1" || XS_STATUS=$?
}
