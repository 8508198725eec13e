#!/usr/bin/env bash
# Installs the Debian packages that the given set needs, only when some are missing.
# Usage: scripts/deps.sh play|test|docs|bench|debian
set -euo pipefail

# qt6-tools-dev and qt6-l10n-tools: lupdate and lrelease turn the translation sources into the
# program's resources. qt6-translations-l10n: Qt's own texts (context menus) in Japanese.
play_pkgs=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev
    fonts-ipafont-gothic libgtest-dev libgmock-dev libbenchmark-dev qt6-tools-dev qt6-l10n-tools
    qt6-translations-l10n)
# libx11-dev: the end-to-end test binds the name's characters to keys through Xlib.
# openbox: a window manager, so the end-to-end test meets the window as on a desktop;
# x11-apps: xwd, to see a part of the window change.
# dpkg-dev and file: cpack's dependency list (dpkg-shlibdeps); lintian checks the package.
# at-spi2-core, python3-pyatspi and dbus (dbus-run-session): the game's tree as a screen reader
# reads it. weston and qt6-wayland: the game played on a Wayland compositor. libsm-dev: a small
# X11 session manager that logs the game out. orca, speech-dispatcher and espeak-ng: the game
# played with a real screen reader, speaking into libao's null driver
# (speech-dispatcher-espeak-ng: the module that speaks with it). fcitx5, fcitx5-mozc,
# mozc-server and fcitx5-frontend-qt6: a name typed through a real Japanese input method.
# debhelper (dh) with dpkg-dev and lintian: the debian/ folder checked as a source package.
test_pkgs=("${play_pkgs[@]}" clang libclang-rt-14-dev xvfb xauth xdotool x11-utils appstream
    libx11-dev desktop-file-utils openbox x11-apps dpkg-dev file lintian at-spi2-core
    python3-pyatspi dbus weston qt6-wayland libsm-dev locales orca speech-dispatcher espeak-ng
    speech-dispatcher-espeak-ng fcitx5 fcitx5-mozc mozc-server fcitx5-frontend-qt6 debhelper)
# The screenshot and the icon's PNG sizes (scripts/screenshot.sh, scripts/render_icon.sh);
# the atlas plot (scripts/atlas_plot.sh).
docs_pkgs=(xvfb xauth xdotool x11-utils openbox imagemagick librsvg2-bin gnuplot-nox
    "${play_pkgs[@]}")
# The start-up benchmark (bench/startup.sh): a virtual X server, Xlib for its probe, and valgrind
# for its count of instructions.
bench_pkgs=("${play_pkgs[@]}" xvfb xauth libx11-dev valgrind)
# Debian's quality tools (scripts/debian-check.sh): chroot builds, tests of the installed
# package, install and purge, reproducibility (faketime varies the clock) and hardening.
debian_pkgs=("${play_pkgs[@]}" dpkg-dev debhelper devscripts lintian pbuilder debootstrap
    autopkgtest piuparts reprotest diffoscope-minimal faketime blhc git)

case "${1:-}" in
play) pkgs=("${play_pkgs[@]}") ;;
test) pkgs=("${test_pkgs[@]}") ;;
docs) pkgs=("${docs_pkgs[@]}") ;;
bench) pkgs=("${bench_pkgs[@]}") ;;
debian) pkgs=("${debian_pkgs[@]}") ;;
*)
    echo "usage: $0 play|test|docs|bench|debian" >&2
    exit 2
    ;;
esac

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# The end-to-end test plays under these (de_DE and fr_FR: languages the game may have no
# translation for, so that one is left when the other gets one); a locale that is not generated
# makes Qt ignore Return in a message box.
gen_locales() {
    local l
    for l in ja_JP en_US de_DE fr_FR; do
        if ! locale -a 2>/dev/null | grep -qx "$l.utf8"; then
            $SUDO localedef -i "$l" -c -f UTF-8 -A /usr/share/locale/locale.alias "$l.UTF-8"
        fi
    done
}

missing=()
for p in "${pkgs[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    # Waits for another apt-get (a second build at the same time) instead of failing on its lock.
    lock=(-o DPkg::Lock::Timeout=900)
    $SUDO apt-get "${lock[@]}" update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get "${lock[@]}" install -y -qq --no-install-recommends "${missing[@]}"
fi
if [ "$1" = test ]; then gen_locales; fi
