# shellcheck shell=bash
# Sourced by the package scripts.

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xsession.sh"

# Skips the script (status 77) unless every named command is installed; then makes the scratch
# folder tmp, removed at exit.
pkg_begin() {
    xs_require "$@"
    tmp=$(mktemp -d)
    # shellcheck disable=SC2064  # the folder is known now
    trap "rm -rf '$tmp'" EXIT
}

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
