#!/usr/bin/env bash
# Builds the Debian package as Debian does and runs Debian's quality tools on it, printing one
# line per tool (the full logs stay in the output folder):
#   build       the source package from the committed tree (HEAD), built in a clean Debian 12
#               chroot by pbuilder, with its unit tests
#   lintian     on the source and binary packages, --pedantic --display-info
#   autopkgtest debian/tests on the built package, installed in a throwaway Debian 12 root
#   piuparts    install and purge in a minimal Debian 12 root, and the upgrade from the
#               previous run's package when one is kept
#   reprotest   two builds with varied time, locale, umask, build path and more, compared by
#               diffoscope
#   blhc        the chroot build's log, for compiler calls without the hardening flags
# Runs as root (chroots), under nice, on Debian 12 with the mirror reachable; the roots and
# tarballs are made on the first run and kept in the cache folder.
# Usage: bash scripts/debian-check.sh [OUTPUT_DIR]
#   OUTPUT_DIR               logs and packages (default: $VOSTREL_DEBIAN_CACHE/check)
#   VOSTREL_DEBIAN_CACHE     base tarballs and the previous package (/var/cache/vostrel-debian)
#   VOSTREL_DEBIAN_MIRROR    the Debian mirror (the one in /etc/apt/sources.list*)
set -uo pipefail

[ "$(id -u)" -eq 0 ] || exec sudo -E bash "$0" "$@"
src=$(cd "$(dirname "$0")/.." && pwd)
bash "$src/scripts/deps.sh" debian >/dev/null || {
    echo "cannot install Debian's tools (scripts/deps.sh debian)" >&2
    exit 1
}

cache=${VOSTREL_DEBIAN_CACHE:-/var/cache/vostrel-debian}
out=${1:-$cache/check}
mirror=${VOSTREL_DEBIAN_MIRROR:-$(grep -rhoE '^(URIs:|deb) +https?://[^ ]*/debian/?( |$)' \
    /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null | head -n 1 | awk '{print $2}')}
mirror=${mirror:-http://deb.debian.org/debian}
dist=bookworm
run=(nice -n 10)
mkdir -p "$cache" "$out"
rm -rf "${out:?}"/*
status=0
# One line per tool: its name, then what it found.
report() {
    printf '%-12s %s\n' "$1:" "$2"
    [[ "$2" == ok* ]] || status=1
}

# The base roots: pbuilder's for building (buildd variant), a minimal one for piuparts and
# autopkgtest, which install what the package needs on top.
base="$cache/pbuilder-base.tgz"
if [ ! -f "$base" ]; then
    "${run[@]}" pbuilder create --basetgz "$base" --distribution "$dist" --mirror "$mirror" \
        --debootstrapopts --variant=buildd >"$cache/pbuilder-create.log" 2>&1 || {
        rm -f "$base"
        echo "pbuilder create failed: see $cache/pbuilder-create.log" >&2
        exit 1
    }
else
    "${run[@]}" pbuilder update --basetgz "$base" --mirror "$mirror" \
        >"$cache/pbuilder-update.log" 2>&1 || true
fi
minbase="$cache/minbase.tgz"
if [ ! -f "$minbase" ]; then
    root=$(mktemp -d "$cache/minbase.XXXXXX")
    if "${run[@]}" debootstrap --variant=minbase "$dist" "$root" "$mirror" \
        >"$cache/minbase.log" 2>&1; then
        tar -C "$root" -czf "$minbase" .
    fi
    rm -rf "$root"
    [ -f "$minbase" ] || {
        echo "debootstrap failed: see $cache/minbase.log" >&2
        exit 1
    }
fi

# The source package, from a clean export of what is committed.
work=$(mktemp -d "$cache/work.XXXXXX")
# The testbed's mounts go first; nothing is removed while one is left (it would reach /dev).
release_testbed() {
    [ -d "${testbed:-}" ] || return 0
    # What the tests left running in it holds the mounts.
    local proc
    for proc in /proc/[0-9]*; do
        [ "$(readlink "$proc/root" 2>/dev/null)" != "$testbed" ] || kill "${proc#/proc/}" 2>/dev/null
    done
    sleep 1
    umount -R "$testbed/dev" 2>/dev/null
    umount "$testbed/proc" "$testbed/sys" 2>/dev/null
    if grep -q " $testbed/" /proc/self/mounts; then
        echo "left mounted, not removed: $testbed" >&2
        return 1
    fi
    rm -rf --one-file-system "$testbed"
}
trap 'release_testbed && rm -rf --one-file-system "$work"' EXIT
git -C "$src" archive --format=tar --prefix=vostrel/ HEAD | tar -xf - -C "$work"
(cd "$work/vostrel" && dpkg-buildpackage -S -us -uc -d) >"$out/source.log" 2>&1 || {
    report build "failed to make the source package: see $out/source.log"
    exit 1
}
dsc=$(ls "$work"/vostrel_*.dsc)
cp "$work"/vostrel_*.dsc "$work"/vostrel_*.tar.* "$out/"
dsc="$out/$(basename "$dsc")"

# reprotest, beside the chroot build: two builds of the source package on this machine (its
# build dependencies are installed), without the unit tests, which leave the package as it is.
# Varied: everything reprotest varies but the user (no second build user here) and the file
# order (needs FUSE).
vary=-user_group,-fileordering
("${run[@]}" env DEB_BUILD_OPTIONS="nocheck parallel=2" reprotest --min-cpus 1 \
    --vary="$vary" --store-dir "$out/reprotest" "$dsc" -- null >"$out/reprotest.log" 2>&1
    echo $? >"$out/reprotest.status") &
reprotest_pid=$!

# build
if "${run[@]}" pbuilder build --basetgz "$base" --mirror "$mirror" --buildresult "$out" \
    --logfile "$out/build.log" --debbuildopts "-j2" "$dsc" >/dev/null 2>&1; then
    debs=("$out"/vostrel_*.deb)
    tests=$(grep -Eo '[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$out/build.log" | tail -n 1)
    report build "ok: $(basename "${debs[0]}") in a clean $dist chroot (pbuilder); dh_auto_test: $tests"
else
    report build "failed: see $out/build.log"
    echo "Stopped: nothing else can be checked without the package; reprotest ends first." >&2
    wait "$reprotest_pid"
    exit 1
fi

# lintian
"${run[@]}" lintian --pedantic --display-info --tag-display-limit 0 "$dsc" "${debs[@]}" \
    >"$out/lintian.log" 2>&1
counts=""
for level in E W I P; do
    counts+="${counts:+, }$(grep -c "^$level: " "$out/lintian.log") $level"
done
if grep -Eq '^[EW]: ' "$out/lintian.log"; then
    report lintian "failed: $counts (source and binary, --pedantic): see $out/lintian.log"
else
    report lintian "ok: $counts (source and binary, --pedantic; E error, W warning, I info, P pedantic)"
fi

# piuparts, beside autopkgtest: the previous run's package, when kept, is offered from a local
# repository so that piuparts installs it first and upgrades to this one.
prev="$cache/previous"
upgrade=()
if ls "$prev"/vostrel_*.deb >/dev/null 2>&1; then
    (cd "$prev" && dpkg-scanpackages . >Packages 2>/dev/null)
    upgrade=(--bindmount="$prev" --extra-repo="deb [trusted=yes] file://$prev ./")
fi
"${run[@]}" piuparts --basetgz "$minbase" --mirror "$mirror" --distribution "$dist" \
    "${upgrade[@]}" "${debs[0]}" >"$out/piuparts.log" 2>&1 &
piuparts_pid=$!

# autopkgtest, in a minimal root unpacked for the run (with the kernel's file systems mounted
# for the game, Xvfb and ps) and removed after it
testbed="$work/testbed"
mkdir "$testbed"
tar -C "$testbed" -xzf "$minbase"
cp /etc/resolv.conf "$testbed/etc/"
mount -t proc proc "$testbed/proc" && mount -t sysfs sysfs "$testbed/sys" &&
    mount --rbind /dev "$testbed/dev" && mount --make-rslave "$testbed/dev"
if "${run[@]}" autopkgtest --output-dir "$out/autopkgtest" "${debs[@]}" "$dsc" -- \
    chroot "$testbed" >"$out/autopkgtest.log" 2>&1; then
    report autopkgtest "ok: $(awk '$2 == "PASS" {print $1}' "$out/autopkgtest/summary" | paste -sd' ') passed"
else
    report autopkgtest "failed: $(tr -s ' \n' ' ' <"$out/autopkgtest/summary" 2>/dev/null) see $out/autopkgtest.log"
fi
release_testbed

if wait "$piuparts_pid"; then
    what="install, purge"
    [ ${#upgrade[@]} -eq 0 ] || what+=", upgrade from $(basename "$(ls "$prev"/vostrel_*.deb)")"
    report piuparts "ok: $what; nothing left behind ($(grep -Eo 'PASS: .*' "$out/piuparts.log" |
        paste -sd' '))"
    rm -rf "$prev"
    mkdir -p "$prev"
    cp "${debs[0]}" "$prev/"
else
    report piuparts "failed: $(grep -E '^[0-9ms.]+ (ERROR|FAIL):' "$out/piuparts.log" | head -n 3 | tr '\n' ' ') see $out/piuparts.log"
fi

if wait "$reprotest_pid" && [ "$(cat "$out/reprotest.status")" -eq 0 ] &&
    grep -q '^Reproduction successful' "$out/reprotest.log"; then
    report reprotest "ok: two builds bit-identical ($(grep -o 'No differences in .*' "$out/reprotest.log" |
        head -n 1)); varied: all of reprotest's variations, $vary"
else
    report reprotest "failed: see $out/reprotest.log and $out/reprotest/"
fi

# blhc
if blhc --all --line-numbers "$out/build.log" >"$out/blhc.log" 2>&1; then
    report blhc "ok: no compiler or linker call without the hardening flags ($(grep -Ec '^\[[0-9]+/[0-9]+\] /usr/bin/c\+\+' "$out/build.log") calls read)"
else
    report blhc "failed: $(wc -l <"$out/blhc.log") lines: see $out/blhc.log"
fi
exit "$status"
