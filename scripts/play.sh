#!/usr/bin/env bash
# Builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh play
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target vostrel
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Vostrel needs a graphical display; none was found (run it from a desktop session, or under a virtual one: xvfb-run -a build/vostrel)." >&2
    exit 1
fi
exec build/vostrel
