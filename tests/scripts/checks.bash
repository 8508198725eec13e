# shellcheck shell=bash disable=SC2034  # fail_now and fail_log are set by the sourcing script
# Sourced by every test script: the one way to fail a check. A script that plays a game sets
# fail_now=1: a failed check ends it at once with status 1, after the end of $fail_log (what
# the game printed) when it names one. Otherwise the script counts its failed checks and goes
# on, and finish tells them at the end.

fails=0
fail_now=
fail_log=
fail() {
    echo "FAIL: $*"
    if [ -n "$fail_log" ] && [ -s "$fail_log" ]; then
        tail -n 60 "$fail_log" | sed 's/^/game: /'
    fi
    fails=$((fails + 1))
    [ -z "$fail_now" ] || exit 1
}

# Ends the script: status 1 when any check failed, else the line $1 (by default that the
# script's checks passed).
finish() {
    if [ "$fails" -ne 0 ]; then
        echo "$fails check(s) failed"
        exit 1
    fi
    echo "${1:-$(basename "$0" .sh): all checks passed}"
}
