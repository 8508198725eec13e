# shellcheck shell=bash
# Sourced by the scripts that count their failed checks and tell them at the end.

fails=0
fail() {
    echo "FAIL: $*"
    fails=$((fails + 1))
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
