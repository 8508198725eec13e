#!/usr/bin/env bash
# The AppStream metainfo passes appstreamcli's validation without network access, and names
# the desktop entry that the install writes.
# Usage: bash metainfo.sh BUILD_DIR
set -euo pipefail

command -v appstreamcli >/dev/null || exit 77
resources="$(cd "$(dirname "$0")/../../resources" && pwd)"
metainfo="$resources/org.vostrel.Vostrel.metainfo.xml"

appstreamcli validate --no-net "$metainfo"
grep -q '<launchable type="desktop-id">org.vostrel.Vostrel.desktop</launchable>' "$metainfo" ||
    { echo "FAIL: the launchable is not org.vostrel.Vostrel.desktop"; exit 1; }
[ -f "$resources/org.vostrel.Vostrel.desktop.in" ] ||
    { echo "FAIL: no desktop entry org.vostrel.Vostrel.desktop.in"; exit 1; }
