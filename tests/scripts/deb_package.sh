#!/usr/bin/env bash
# cpack -G DEB from the build: the package's name, files, control fields, dependencies and
# hardening, and lintian --pedantic finds nothing in it.
# Usage: bash deb_package.sh BUILD_DIR
set -euo pipefail

build="${1:?usage: deb_package.sh BUILD_DIR}"
[ -x "$build/vostrel" ] || exit 77
build=$(cd "$build" && pwd)
# shellcheck source-path=SCRIPTDIR source=package_common.bash
source "$(dirname "$0")/package_common.bash"
# shellcheck source-path=SCRIPTDIR source=checks.bash
source "$(dirname "$0")/checks.bash"
pkg_begin cpack dpkg-deb dpkg-shlibdeps lintian file readelf

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "FAIL: no project version in CMakeCache.txt"; exit 1; }
arch=$(dpkg --print-architecture)
deb=$(pkg_build "$build" "$tmp") || { echo "FAIL: cpack -G DEB"; exit 1; }
[ "$(basename "$deb")" == "vostrel_${version}_${arch}.deb" ] || fail "package file $(basename "$deb")"

id=org.vostrel.Vostrel
expected=(
    "./usr/games/vostrel"
    "./usr/games/vostrel-cli"
    "./usr/share/applications/$id.desktop"
    "./usr/share/doc/vostrel/changelog.gz"
    "./usr/share/doc/vostrel/copyright"
    "./usr/share/icons/hicolor/128x128/apps/$id.png"
    "./usr/share/icons/hicolor/16x16/apps/$id.png"
    "./usr/share/icons/hicolor/24x24/apps/$id.png"
    "./usr/share/icons/hicolor/256x256/apps/$id.png"
    "./usr/share/icons/hicolor/32x32/apps/$id.png"
    "./usr/share/icons/hicolor/48x48/apps/$id.png"
    "./usr/share/icons/hicolor/64x64/apps/$id.png"
    "./usr/share/icons/hicolor/scalable/apps/$id.svg"
    "./usr/share/man/man6/vostrel-cli.6.gz"
    "./usr/share/man/man6/vostrel.6.gz"
    "./usr/share/metainfo/$id.metainfo.xml"
)
dpkg-deb -c "$deb" >"$tmp/contents"
# Files only: permissions, owner and path of every entry that is not a directory.
actual=$(awk '$1 !~ /^d/ { print $6 }' "$tmp/contents" | LC_ALL=C sort)
[ "$actual" == "$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)" ] ||
    fail "files in the package:"$'\n'"$actual"
awk '$2 != "root/root" { print }' "$tmp/contents" | grep . && fail "entries not owned by root"
grep -q '^-rwxr-xr-x .* \./usr/games/vostrel$' "$tmp/contents" || fail "the game is not 0755"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" == vostrel ] || fail "Package: $(field Package)"
[ "$(field Version)" == "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Architecture)" == "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" == games ] || fail "Section: $(field Section)"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@]+@[^\>]+\>$ ]] || fail "Maintainer: $(field Maintainer)"
# Dependencies: the font the windows ask for, and the libraries the binary links, with versions
# computed from the binary.
depends=$(field Depends)
for dep in fonts-ipafont-gothic 'libc6 (>= ' 'libqt6widgets6 (>= ' 'libqt6gui6 (>= ' \
    'libqt6core6 (>= ' 'libstdc++6 (>= '; do
    [[ ", $depends" == *", $dep"* ]] || fail "Depends lacks $dep: $depends"
done
# Nothing of QtNetwork, which would load Kerberos and proxy libraries at every start.
[[ "$depends" != *libqt6network* ]] || fail "Depends on QtNetwork: $depends"

# The installed files: the desktop entry starts /usr/games/vostrel, the metainfo's release is
# the package's version, and the binary carries no debugging symbols.
mkdir "$tmp/root"
dpkg-deb -x "$deb" "$tmp/root"
grep -qx 'Exec="/usr/games/vostrel"' "$tmp/root/usr/share/applications/$id.desktop" ||
    fail "$(grep '^Exec=' "$tmp/root/usr/share/applications/$id.desktop")"
grep -q "<release version=\"$version\"" "$tmp/root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo's release is not $version"
file "$tmp/root/usr/games/vostrel" | grep -q ', stripped' || fail "the game is not stripped"
# The copyright file is machine-readable, and its Expat paragraph is LICENSE's terms.
copyright="$tmp/root/usr/share/doc/vostrel/copyright"
head -n 1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file has no machine-readable Format line"
[ "$(sed -n '/^License: Expat$/,/^$/s/^ \.\{0,1\}//p' "$copyright")" == \
    "$(sed -n '/^Permission/,$p' "$(dirname "$0")/../../LICENSE")" ] ||
    fail "the copyright file's Expat terms differ from LICENSE"
zcat "$tmp/root/usr/share/doc/vostrel/changelog.gz" | head -n 1 | grep -q "^vostrel ($version) " ||
    fail "the changelog's first entry is not $version"

# Hardening, read from the packaged programs: position-independent, relocations read-only and
# bound at start, stack canaries, and checked string and memory calls in an optimised build
# (a sanitizer checks those calls itself).
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
release=0
if [[ "$(cache VOSTREL_SANITIZE)" != ON && "$(cache CMAKE_BUILD_TYPE)" =~ ^(Release|RelWithDebInfo|MinSizeRel)$ ]]; then
    release=1
fi
for prog in vostrel vostrel-cli; do
    bin="$tmp/root/usr/games/$prog"
    readelf -hW "$bin" | grep -Eq '^ *Type: +DYN ' || fail "$prog is not position-independent"
    readelf -lW "$bin" | grep -q ' GNU_RELRO ' || fail "$prog has no read-only relocations"
    readelf -dW "$bin" | grep -Eq '\(BIND_NOW\)|\(FLAGS_1\) .*[: ]NOW( |$)' ||
        fail "$prog binds its symbols lazily"
    readelf --dyn-syms -W "$bin" >"$tmp/syms"
    grep -q ' __stack_chk_fail' "$tmp/syms" || fail "$prog has no stack protector"
    if [ "$release" -eq 1 ] && ! grep -Eq ' __[a-z0-9_]+_chk(@| |$)' "$tmp/syms"; then
        fail "$prog calls no checked string or memory function"
    fi
done

# A release build's package is clean to lintian --pedantic (it carries no overrides); any
# other build's is free of errors.
fail_on=error
[ "$release" -eq 0 ] || fail_on=error,warning,info,pedantic
lintian --pedantic --fail-on "$fail_on" --tag-display-limit 0 "$deb" >"$tmp/lintian.log" 2>&1 ||
    fail "lintian reports $fail_on tags (status $?)"
sed 's/^/lintian: /' "$tmp/lintian.log"

finish "ok: $(basename "$deb"): files, control fields, dependencies, hardening; lintian --fail-on $fail_on"
