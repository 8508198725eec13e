#!/usr/bin/env bash
# Runs the real game under a virtual X server with a window manager, works one expression,
# drops a gap's operator list and saves the window, list included, to docs/screenshot.png.
# Usage: scripts/screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh docs
build_dir=${1:-build}
if ! [ -f "$build_dir/build.ninja" ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build_dir" --target vostrel >/dev/null

# shellcheck source-path=SCRIPTDIR source=xsession.sh
source scripts/xsession.sh
xs_begin
work=$XS_WORK
out="$PWD/docs/screenshot.png"

cp "$build_dir/vostrel" "$work/"
xs_start
xs_start_wm
(cd "$work" && exec ./vostrel >/dev/null 2>&1) &
XS_APP_PID=$!
box=$(xs_wait_window '^設定ファイルエラー$')
xs_keys "$box" Return
game=$(xs_wait_window '^Vostrel$')

# Gap 2 becomes "*", then "=" shows a result and its points.
xs_click "$game" 137 45
xs_wait_count "$XS_APP_PID" 2
xdotool key --clearmodifiers Down Down Return
xs_wait_count "$XS_APP_PID" 1
xs_click "$game" 66 113
# The list of gap 3 dropped down, as a player meets it.
xs_click "$game" 187 45
xs_wait_count "$XS_APP_PID" 2
sleep 0.5 # let the window finish painting
mkdir -p docs
# The list is a window of its own: the picture is cut from the screen, the window's client
# area.
geometry=$(xwininfo -id "$game" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
    /Width:/ {w = $2} /Height:/ {h = $2} END {printf "%dx%d+%d+%d", w, h, x, y}')
import -window root -crop "$geometry" +repage "$out"
echo "wrote $out"
