#!/usr/bin/env bash
# The game's command line without a desktop: --help and --version answer and exit 0, an
# unknown argument (the toolkit's own options included) is one line and status 2, and a start
# with no display is one sentence and status 1, not the toolkit's abort.
# Usage: bash game_command_line.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: game_command_line.sh BUILD_DIR}
[ -x "$build/vostrel" ] || {
    echo "skipped: $build/vostrel is not part of this build"
    exit 77
}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$build/vostrel" "$tmp/vostrel"
# shellcheck source-path=SCRIPTDIR source=checks.bash
source "$(dirname "$0")/checks.bash"

# Runs the game in the scratch folder with no display and the environment given; sets status,
# out and err.
run() {
    status=0
    (cd "$tmp" && env -i PATH=/usr/bin:/bin HOME="$tmp" ${LSAN_OPTIONS:+LSAN_OPTIONS="$LSAN_OPTIONS"} \
        timeout 20 "$@" >"$tmp/out" 2>"$tmp/err") || status=$?
    out=$(cat "$tmp/out")
    err=$(cat "$tmp/err")
}

# Standard error holds exactly one line, which matches the pattern $1.
one_line_err() {
    [ "$(wc -l <"$tmp/err")" -eq 1 ] && grep -q -- "$1" "$tmp/err"
}

for opt in --help -h; do
    run ./vostrel "$opt"
    [ "$status" -eq 0 ] || fail "$opt: status $status"
    [[ "$out" == "usage: vostrel "* ]] || fail "$opt printed: $out"
    grep -q -- --version <<<"$out" || fail "$opt does not name --version"
    [ -z "$err" ] || fail "$opt wrote to standard error: $err"
done

run ./vostrel --version
[ "$status" -eq 0 ] || fail "--version: status $status"
[ "$out" == "vostrel $version" ] || fail "--version printed '$out', not 'vostrel $version'"

# Both: --help wins, in either order.
for args in "--help --version" "--version -h"; do
    # shellcheck disable=SC2086  # the words are the arguments
    run ./vostrel $args
    [ "$status" -eq 0 ] && [[ "$out" == "usage: vostrel "* ]] || fail "'$args' printed: $out"
done

for args in --bogus "-platform offscreen" "-style fusion" file.txt "--help --bogus"; do
    # shellcheck disable=SC2086  # the words are the arguments
    run env QT_QPA_PLATFORM=offscreen ./vostrel $args
    [ "$status" -eq 2 ] || fail "'$args': status $status"
    one_line_err '^vostrel: ' || fail "'$args' wrote to standard error: $err"
    [ -z "$out" ] || fail "'$args' wrote to standard output: $out"
done

run ./vostrel
[ "$status" -eq 1 ] || fail "no display: status $status"
one_line_err 'graphical desktop' || fail "no display: standard error holds: $err"
for platform in 'wayland;xcb' wayland-egl xcb:dpi=96; do
    run env DISPLAY= WAYLAND_DISPLAY= QT_QPA_PLATFORM="$platform" ./vostrel
    [ "$status" -eq 1 ] || fail "empty DISPLAY and WAYLAND_DISPLAY, $platform: status $status"
done
[ ! -e "$tmp/vostrel.dat" ] || fail "a start without a display wrote vostrel.dat"

# A platform that needs no display server still starts the game: it waits at the missing
# settings file's message until it is ended.
run env QT_QPA_PLATFORM=offscreen timeout 3 ./vostrel
[ "$status" -eq 124 ] || fail "offscreen without DISPLAY ended with status $status: $err"

finish
