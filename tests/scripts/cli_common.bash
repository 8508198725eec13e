# shellcheck shell=bash disable=SC2034  # cli and tmp are read by the sourcing script
# Sourced by the CLI scripts: finds vostrel-cli in the build directory given as $1 (skipping
# when this build has none), a scratch directory, and failure counting.

cli="${1:?usage: $(basename "$0") BUILD_DIR}/tools/vostrel-cli"
[ -x "$cli" ] || exit 77

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# shellcheck source=checks.bash
source "$(dirname "$0")/checks.bash"

# A value of the point table (engine/PointRules.h) by its name: expected points are built from
# the rules, so that a changed point value moves them along.
rule() {
    sed -n "s/^inline constexpr int32_t $1 = \(-\{0,1\}[0-9]*\);.*/\1/p" \
        "$(dirname "$0")/../../engine/PointRules.h"
}
