#!/usr/bin/env bash
# The AppStream metainfo, as the build writes it, passes appstreamcli's pedantic validation
# without network access, and names the desktop entry that the install writes.
# Usage: bash metainfo.sh BUILD_DIR
set -euo pipefail

build="${1:?usage: metainfo.sh BUILD_DIR}"
[ -x "$build/vostrel" ] || exit 77
command -v appstreamcli >/dev/null || exit 77
resources="$(cd "$(dirname "$0")/../../resources" && pwd)"
metainfo="$build/resources/org.vostrel.Vostrel.metainfo.xml"

# shellcheck source-path=SCRIPTDIR source=checks.bash
source "$(dirname "$0")/checks.bash"
fail_now=1
[ -f "$metainfo" ] || fail "the build wrote no $metainfo"
log=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) || fail "$log"
echo "$log"
# Nothing but the hint on the capital in the id, which is the desktop entry's and the window's
# (org.vostrel.Vostrel, in the reverse-domain form the desktop uses for application ids).
if grep -E '^[EWIP]: ' <<<"$log" | grep -qv '^P: org\.vostrel\.Vostrel:[0-9]*: cid-contains-uppercase-letter '; then
    fail "appstreamcli validate --pedantic finds more than the capital in the id"
fi
grep -q '<launchable type="desktop-id">org.vostrel.Vostrel.desktop</launchable>' "$metainfo" ||
    fail "the launchable is not org.vostrel.Vostrel.desktop"
[ -f "$resources/org.vostrel.Vostrel.desktop.in" ] ||
    fail "no desktop entry org.vostrel.Vostrel.desktop.in"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "the project's licence is not MIT"
# The project's web address as the build has it, and none while it has none.
homepage=$(sed -n 's/.*kHomepage\[\] = "\(.*\)";/\1/p' "$build/generated/app/Version.h")
page="$build/resources/man/vostrel.6"
if [ -z "$homepage" ]; then
    ! grep -q '<url' "$metainfo" || fail "the metainfo names an address the project does not have"
    ! grep -q '^\.UR' "$page" || fail "the manual page names an address the project does not have"
else
    grep -qF "<url type=\"homepage\">$homepage</url>" "$metainfo" || fail "no homepage $homepage"
    grep -qF ".UR $homepage" "$page" || fail "the manual page does not name $homepage"
fi
