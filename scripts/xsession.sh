# shellcheck shell=bash disable=SC2034  # XS_WORK, XS_STATUS and XVFB_PID are read by the caller
# Helpers for driving the game in a private virtual X server, sourced by the end-to-end tests
# and the screenshot script. Every wait is bounded.
#
#   xs_require Xvfb xdotool   # skip (exit 77) without the tools
#   xs_begin                  # scratch directory XS_WORK; clean-up at exit
#   xs_start                  # Xvfb, DISPLAY
#   xs_start_wm               # a window manager on it, as on a desktop
#   ./vostrel & XS_APP_PID=$! # the clean-up ends it unless xs_wait_exit saw it end

# Ends the script as skipped (status 77) unless every named command is installed.
xs_require() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || {
            echo "skipped: $tool is not installed (scripts/deps.sh test installs it)"
            exit 77
        }
    done
}

# Skips (status 77) without the accessibility bus and its Python bindings; sets py (the system's
# interpreter, which holds the Debian package's bindings, whatever else is on PATH) for the
# caller.
XS_BUS_LAUNCHER=/usr/libexec/at-spi-bus-launcher
xs_require_atspi() {
    py=/usr/bin/python3
    if ! [ -x "$XS_BUS_LAUNCHER" ] || ! "$py" -c 'import pyatspi' 2>/dev/null; then
        echo "skipped: no AT-SPI bus or pyatspi (scripts/deps.sh test installs them)"
        exit 77
    fi
}

# Runs the calling script again inside a session bus of its own, ended with it, for at most $1
# seconds: xs_own_bus SECONDS "$0" "$@". Inside that bus it returns at once.
xs_own_bus() {
    local limit=$1
    shift
    if [ -z "${VOSTREL_E2E_BUS:-}" ]; then
        exec env VOSTREL_E2E_BUS=1 timeout "$limit" dbus-run-session -- bash "$@"
    fi
}

# Makes the scratch directory XS_WORK and registers the clean-up at exit: it runs the command
# $1 when given, ends the app whose pid is in XS_APP_PID, the accessibility bus and the X
# server, and removes XS_WORK.
# shellcheck disable=SC2120  # the command is optional
xs_begin() {
    XS_WORK=$(mktemp -d)
    XS_APP_PID=""
    XVFB_PID=""
    XS_WM_PID=""
    XS_BUS_PID=""
    XS_ON_END=${1:-}
    trap xs_end EXIT
}

xs_end() {
    if [ -n "$XS_ON_END" ]; then "$XS_ON_END" || true; fi
    if [ -n "$XS_APP_PID" ]; then kill "$XS_APP_PID" 2>/dev/null || true; fi
    if [ -n "$XS_BUS_PID" ]; then kill "$XS_BUS_PID" 2>/dev/null || true; fi
    if [ -n "$XS_WM_PID" ]; then kill "$XS_WM_PID" 2>/dev/null || true; fi
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
    wait 2>/dev/null || true
    rm -rf "$XS_WORK"
}

# Starts Xvfb on a free display (it picks the number itself), exports DISPLAY and sets
# XVFB_PID. Needs xs_begin first.
# -noreset: keymap changes stay, and no client slips in while the server resets after the
# last client has left (the game would then fail to connect and abort).
xs_start() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
        3>"$XS_WORK/display" 2>"$XS_WORK/xvfb.log" &
    XVFB_PID=$!
    local _
    for _ in $(seq 200); do
        [ -s "$XS_WORK/display" ] && break
        sleep 0.05
    done
    if ! [ -s "$XS_WORK/display" ]; then
        echo "Xvfb did not start: $(cat "$XS_WORK/xvfb.log")" >&2
        return 1
    fi
    DISPLAY=":$(head -n 1 "$XS_WORK/display")"
    export DISPLAY
    # The test command runs the window tests offscreen; the real program needs this server.
    export QT_QPA_PLATFORM=xcb
}

# Starts openbox on the server of xs_start and waits up to 10 seconds until it manages the
# screen, so windows get frames, focus and stacking as on a desktop.
xs_start_wm() {
    openbox --sm-disable >"$XS_WORK/wm.log" 2>&1 &
    XS_WM_PID=$!
    local _
    for _ in $(seq 200); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.05
    done
    echo "the window manager did not start: $(cat "$XS_WORK/wm.log")" >&2
    return 1
}

# Starts the accessibility bus for the server of xs_start (after xs_require_atspi, inside
# xs_own_bus's session bus) and sets XS_BUS_PID; the games started after it join the bus.
xs_start_atspi() {
    "$XS_BUS_LAUNCHER" --launch-immediately >"$XS_WORK/bus.log" 2>&1 &
    XS_BUS_PID=$!
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
}

# Prints the window-relative position "X Y" of window $2's top-left in window $1.
xs_offset() {
    local ax ay bx by
    read -r ax ay < <(xs_origin "$1")
    read -r bx by < <(xs_origin "$2")
    echo "$((bx - ax)) $((by - ay))"
}

# Prints the screen position "X Y" of window $1's top-left.
xs_origin() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {print x, $4}'
}

# Prints the ids of process $1's visible windows other than window $2 (its popups).
xs_popups() {
    xdotool search --onlyvisible --pid "$1" 2>/dev/null | grep -vx "$2" || true
}

# Prints a checksum of the pixels of the rectangle X Y W H ($2..$5) of window $1, from a
# 32-bit xwd dump, to tell whether that part of the window changed.
xs_region_sum() {
    local f="$XS_WORK/region.xwd" header bpl ncolors offset row
    xwd -silent -id "$1" >"$f" || return 1
    header=$(od -An -j0 -N4 -t u4 --endian=big "$f" | tr -d ' ')
    bpl=$(od -An -j48 -N4 -t u4 --endian=big "$f" | tr -d ' ')
    ncolors=$(od -An -j76 -N4 -t u4 --endian=big "$f" | tr -d ' ')
    offset=$((header + ncolors * 12))
    for ((row = $3; row < $3 + $5; row++)); do
        dd if="$f" bs=4096 iflag=skip_bytes,count_bytes skip=$((offset + row * bpl + $2 * 4)) \
            count=$(($4 * 4)) status=none
    done | md5sum | cut -d' ' -f1
}

# Waits up to $7 seconds (default 10) until the pixels of the rectangle X Y W H ($2..$5) of
# window $1 differ from the checksum $6 that xs_region_sum gave; fails when they do not.
xs_wait_region_change() {
    local deadline=$((SECONDS + ${7:-10}))
    while [ "$(xs_region_sum "$1" "$2" "$3" "$4" "$5")" = "$6" ]; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# How long process $1 has wanted the processor so far, in nanoseconds: the time its threads ran
# and the time they waited to run on a busy machine; nothing when it has ended.
xs_wanted() {
    local f t total=0
    for f in /proc/"$1"/task/*/schedstat; do
        read -r -a t 2>/dev/null <"$f" || continue
        total=$((total + t[0] + t[1]))
    done
    [ -d "/proc/$1" ] && echo "$total"
}

# Waits with process $1 for what the caller checks: call xs_working_begin PID IDLE before the
# wait and xs_working PID while it lasts. It holds while the process is alive and either works
# or waits for a processor (a busy machine only slows it) at least a twentieth of the time; it
# fails (a message in XS_WHY) once the process has ended, has stayed idle for IDLE seconds (what
# it waits for does not come: a hang), or has worked for ten minutes without it (a loop).
XS_WORK_LIMIT=600
xs_working_begin() {
    XS_WORK_SINCE=$SECONDS
    XS_WORK_BUSY=$SECONDS
    XS_WORK_IDLE=$2
    XS_WORK_NS=$(xs_wanted "$1") || XS_WORK_NS=0
    XS_WORK_AT=$(date +%s%N)
}
xs_working() {
    local ns now
    if ! ns=$(xs_wanted "$1"); then
        XS_WHY="process $1 ended"
        return 1
    fi
    now=$(date +%s%N)
    if [ $((now - XS_WORK_AT)) -ge 1000000000 ]; then
        if [ $(((ns - XS_WORK_NS) * 20)) -ge $((now - XS_WORK_AT)) ]; then
            XS_WORK_BUSY=$SECONDS
        fi
        XS_WORK_NS=$ns
        XS_WORK_AT=$now
    fi
    if [ $((SECONDS - XS_WORK_BUSY)) -ge "$XS_WORK_IDLE" ]; then
        XS_WHY="process $1 has been idle for $XS_WORK_IDLE s"
        return 1
    fi
    if [ $((SECONDS - XS_WORK_SINCE)) -ge "$XS_WORK_LIMIT" ]; then
        XS_WHY="process $1 has worked for $XS_WORK_LIMIT s"
        return 1
    fi
}

# Prints the id of the first visible window whose name matches the regular expression $1; fails
# when none appears. With a process id $2, only that process's windows count, and the wait
# lasts while the process works towards it (xs_working: a sanitizer build on a busy machine
# may take minutes to show a window); without one, up to 60 seconds.
xs_wait_window() {
    local deadline=$((SECONDS + 60)) id
    local -a which=(--name "$1")
    if [ -n "${2:-}" ]; then
        which=(--all --pid "$2" --name "$1")
        xs_working_begin "$2" 30
    fi
    while true; do
        id=$(xdotool search --onlyvisible "${which[@]}" 2>/dev/null | head -n 1) || true
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        if [ -n "${2:-}" ]; then
            if ! xs_working "$2"; then
                echo "no window named '$1' appeared: $XS_WHY" >&2
                return 1
            fi
        elif [ "$SECONDS" -ge "$deadline" ]; then
            echo "no window named '$1' appeared" >&2
            return 1
        fi
        sleep 0.05
    done
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

# Waits until process $1 shows exactly $2 visible windows, while it works towards it
# (xs_working, idle for at most $3 seconds, default 20).
xs_wait_count() {
    local n
    xs_working_begin "$1" "${3:-20}"
    while true; do
        n=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l)
        [ "$n" -eq "$2" ] && return 0
        if ! xs_working "$1"; then
            echo "process $1 shows $n windows, not $2: $XS_WHY" >&2
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

# Waits for process $1 (a child of this shell, so not to be called in a subshell) to end, while
# it works towards it (xs_working, idle for at most $2 seconds, default 20); sets XS_STATUS to
# its exit status. An ended XS_APP_PID is cleared.
xs_wait_exit() {
    xs_working_begin "$1" "${2:-20}"
    while kill -0 "$1" 2>/dev/null && ! grep -q '^Z' <(ps -o stat= -p "$1" 2>/dev/null); do
        if ! xs_working "$1"; then
            kill -0 "$1" 2>/dev/null || break # it ended meanwhile
            echo "process $1 did not end: $XS_WHY" >&2
            return 1
        fi
        sleep 0.05
    done
    XS_STATUS=0
    wait "$1" || XS_STATUS=$?
    if [ "$1" = "$XS_APP_PID" ]; then XS_APP_PID=""; fi
}
