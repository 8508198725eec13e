# shellcheck shell=bash
# Sourced by the package scripts.

# Makes the Debian package of the build directory $1 with cpack in the folder $2 and prints its
# path. cpack's install writes install_manifest.txt in the build directory; the player's own
# is put back afterwards.
pkg_build() {
    local build=$1 out=$2 status=0
    [ -f "$build/install_manifest.txt" ] && cp "$build/install_manifest.txt" "$out/manifest.keep"
    cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 ||
        status=$?
    if [ -f "$out/manifest.keep" ]; then
        mv "$out/manifest.keep" "$build/install_manifest.txt"
    else
        rm -f "$build/install_manifest.txt"
    fi
    if [ "$status" -ne 0 ]; then
        cat "$out/cpack.log" >&2
        return 1
    fi
    local debs=("$out"/vostrel_*.deb)
    [ -f "${debs[0]}" ] || return 1
    echo "${debs[0]}"
}
