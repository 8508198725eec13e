#!/usr/bin/env bash
# Renders the icon's PNG sizes from resources/icons/vostrel.svg; the PNGs are committed, so
# only a changed SVG needs this (rsvg-convert: scripts/deps.sh docs).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh docs
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" resources/icons/vostrel.svg \
        -o "resources/icons/vostrel-$size.png"
done
