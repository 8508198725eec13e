#!/usr/bin/env bash
# The debian/ folder as Debian's tools read it, without a chroot or the network: dpkg-source
# accepts it, a source package is built from the sources, lintian --pedantic finds no error or
# warning in it, build folders beside the sources stay out of it, and the changelog names the
# project's version and the maintainer of debian/control.
# Usage: bash debian_source.sh BUILD_DIR
set -euo pipefail

build="${1:?usage: debian_source.sh BUILD_DIR}"
src=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source-path=SCRIPTDIR source=package_common.bash
source "$(dirname "$0")/package_common.bash"
# shellcheck source-path=SCRIPTDIR source=checks.bash
source "$(dirname "$0")/checks.bash"
pkg_begin dpkg-source dpkg-buildpackage dpkg-parsechangelog dh lintian

# The sources as a checkout holds them (what git tracks, and new files not ignored), with a
# build folder of each kind that the README and dh make beside them.
tree="$tmp/vostrel"
mkdir "$tree"
if git -C "$src" rev-parse --git-dir >/dev/null 2>&1; then
    git -C "$src" ls-files -z --cached --others --exclude-standard |
        (cd "$src" && tar --null -cf - -T - --ignore-failed-read 2>/dev/null) | tar -xf - -C "$tree"
else
    tar -C "$src" --exclude='./build*' --exclude='./obj-*' -cf - . | tar -xf - -C "$tree"
fi
for dir in build build-asan obj-x86_64-linux-gnu; do
    mkdir "$tree/$dir"
    echo stale >"$tree/$dir/leftover.o"
done

(cd "$tree" && dpkg-source --before-build .) >"$tmp/before.log" 2>&1 ||
    fail "dpkg-source --before-build: $(cat "$tmp/before.log")"
(cd "$tree" && dpkg-buildpackage -S -us -uc -d) >"$tmp/source.log" 2>&1 ||
    fail "dpkg-buildpackage -S: $(tail -n 20 "$tmp/source.log")"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
changelog="$tree/debian/changelog"
[ "$(dpkg-parsechangelog -l "$changelog" -S Version)" == "$version" ] ||
    fail "debian/changelog's version is $(dpkg-parsechangelog -l "$changelog" -S Version), not $version"
maintainer=$(sed -n 's/^Maintainer: //p' "$tree/debian/control")
[ "$(dpkg-parsechangelog -l "$changelog" -S Maintainer)" == "$maintainer" ] ||
    fail "debian/changelog is signed by $(dpkg-parsechangelog -l "$changelog" -S Maintainer), not $maintainer"

dsc="$tmp/vostrel_$version.dsc"
if [ -f "$dsc" ]; then
    tar -tf "$tmp/vostrel_$version.tar."* >"$tmp/contents"
    grep -q '^vostrel/debian/rules$' "$tmp/contents" || fail "the source package has no debian/rules"
    grep -q '^vostrel/CMakeLists.txt$' "$tmp/contents" || fail "the source package has no CMakeLists.txt"
    grep -E '^vostrel/(build|build-asan|obj-[^/]*)/' "$tmp/contents" &&
        fail "build folders in the source package"
    lintian --pedantic --display-info --fail-on error,warning --tag-display-limit 0 "$dsc" \
        >"$tmp/lintian.log" 2>&1 || fail "lintian reports errors or warnings (status $?)"
    sed 's/^/lintian: /' "$tmp/lintian.log"
else
    fail "no $(basename "$dsc")"
fi

finish "ok: $(basename "$dsc"): dpkg-source, source package without build folders, lintian --fail-on error,warning"
