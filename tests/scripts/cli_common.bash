# shellcheck shell=bash disable=SC2034  # cli and tmp are read by the sourcing script
# Sourced by the CLI scripts: finds vostrel-cli in the build directory given as $1 (skipping
# when this build has none), a scratch directory, and failure counting.

cli="${1:?usage: $(basename "$0") BUILD_DIR}/tools/vostrel-cli"
[ -x "$cli" ] || exit 77

fails=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() {
    echo "FAIL: $*"
    fails=$((fails + 1))
}

# Ends the script: status 1 when any check failed.
finish() {
    if [ "$fails" -ne 0 ]; then
        echo "$fails check(s) failed"
        exit 1
    fi
    echo "$(basename "$0" .sh): all checks passed"
}
