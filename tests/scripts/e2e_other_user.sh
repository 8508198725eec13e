#!/usr/bin/env bash
# The player's game and another local user, on one machine, under a virtual X display. Made here
# as root: two throwaway accounts, a folder that everyone may write, a bind mount and a 64 KiB
# tmpfs; each is removed at the end, by the name, path or PID this script gave it.
# - A copy of the game in a shared sticky folder, where the other user put a link named
#   vostrel.dat to a file of the player's: that file stays as it was, and the game keeps its
#   settings in the player's data folder.
# - Without XDG_RUNTIME_DIR, the other user made /tmp/vostrel-UID first: a second start still
#   meets the first game, also through a bind mount of the data folder.
# - The player's file unreadable for a moment (mode 0200, an open failing with EIO): the player
#   is told, and the file, high scores and all, is the same after the run.
# - The file rewritten in place (the folder is root's, the file the player's): a full tmpfs
#   leaves the old file exactly; a kill in the middle leaves a file the next start puts back
#   (here: the old bytes, since the kill came before the new ones were safe) and says so.
# Usage: bash e2e_other_user.sh BUILD_DIR
set -euo pipefail

build="${1:?usage: e2e_other_user.sh BUILD_DIR}"
[ -x "$build/vostrel" ] || exit 77
if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: only root can make the throwaway users, the bind mount and the tmpfs"
    exit 77
fi

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$(dirname "$0")/../../scripts/xsession.sh"
xs_require Xvfb xdotool cc useradd userdel setpriv mount umount

player=vostrelp$$
other=vostrelo$$
users=()
mounts=()
games=()
shared=""
cleanup() {
    local pid m u
    for pid in "${games[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    for pid in "${games[@]}"; do wait "$pid" 2>/dev/null || true; done
    for ((m = ${#mounts[@]} - 1; m >= 0; m--)); do umount "${mounts[m]}" 2>/dev/null || true; done
    for u in "${users[@]}"; do userdel -r "$u" 2>/dev/null || true; done
    [ -z "$shared" ] || rm -rf "$shared"
    # Qt's fallback for the unset XDG_RUNTIME_DIR.
    rm -rf "/tmp/vostrel-$puid" "/tmp/runtime-$player"
}
puid=""
xs_begin cleanup
tmp=$XS_WORK

# shellcheck source-path=SCRIPTDIR source=e2e_common.bash
source "$(dirname "$0")/e2e_common.bash"

if ! mkdir "$tmp/probe" || ! mount -t tmpfs -o size=64k tmpfs "$tmp/probe" 2>/dev/null; then
    echo "skipped: no mount here (a container without CAP_SYS_ADMIN?)"
    exit 77
fi
umount "$tmp/probe"

for u in "$player" "$other"; do
    useradd -m -s /bin/sh "$u" || fail "cannot make the user $u"
    users+=("$u")
done
puid=$(id -u "$player")
home=$(getent passwd "$player" | cut -d: -f6)
data=$home/.local/share/vostrel/vostrel.dat

# Everyone may write here, as in /tmp; the player's copy of the game, and the test libraries.
shared=$(mktemp -d /tmp/vostrel-shared-XXXXXX)
chmod 1777 "$shared"
cp "$build/vostrel" "$shared/vostrel"
chown "$player:" "$shared/vostrel"

# An open of vostrel.dat for reading fails with EIO while $FAIL_OPEN names an existing file,
# once.
cat >"$tmp/eio.c" <<'C'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int fail(const char* path) {
    const char* once = getenv("FAIL_OPEN");
    const char* base = strrchr(path, '/');
    if (!once || strcmp(base ? base + 1 : path, "vostrel.dat") != 0 || unlink(once) != 0) {
        return 0;
    }
    errno = EIO;
    return 1;
}

int openat(int dir, const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    mode_t mode = va_arg(ap, mode_t);
    va_end(ap);
    /* Only an open for reading: the one-game lock opens the file for writing first. */
    if ((flags & O_ACCMODE) == O_RDONLY && !(flags & O_PATH) && fail(path)) {
        return -1;
    }
    int (*real)(int, const char*, int, ...) = dlsym(RTLD_NEXT, "openat");
    return real(dir, path, flags, mode);
}
int openat64(int dir, const char* path, int flags, ...) __attribute__((alias("openat")));
C
cc -shared -fPIC -o "$shared/eio.so" "$tmp/eio.c" -ldl
# The first fsync of vostrel.dat leaves a mark, then takes a minute: time to kill it there.
cat >"$tmp/slow.c" <<'C'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

int fsync(int fd) {
    const char* mark = getenv("SLOW_SAVE_MARK");
    char link[64], path[4096] = "";
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    const char* base = strrchr(path, '/');
    if (mark && n > 0 && base && strcmp(base, "/vostrel.dat") == 0 && access(mark, F_OK) != 0) {
        close(open(mark, O_WRONLY | O_CREAT, 0644));
        sleep(60);
    }
    int (*real)(int) = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
    return real(fd);
}
C
cc -shared -fPIC -o "$shared/slow.so" "$tmp/slow.c" -ldl
chmod 0755 "$shared/eio.so" "$shared/slow.so"

xs_start || fail "no X server"
xs_start_wm || fail "no window manager"
# The player's games draw on this server.
xhost "+SI:localuser:$player" >/dev/null 2>&1 || true

# Runs the player's copy as the player with a bare environment (but a sanitizer build's
# options) and any VAR=value given; its pid in $game. No XDG_RUNTIME_DIR: the guard's folder
# must not be in /tmp.
sanitizer_env=()
for v in LSAN_OPTIONS ASAN_OPTIONS UBSAN_OPTIONS; do
    [ -z "${!v:-}" ] || sanitizer_env+=("$v=${!v}")
done
start() {
    setpriv --reuid="$player" --regid="$player" --init-groups -- \
        env -i HOME="$home" USER="$player" PATH=/usr/bin:/bin DISPLAY="$DISPLAY" \
        QT_QPA_PLATFORM=xcb LANG=C.UTF-8 "${sanitizer_env[@]}" "$@" "$shared/vostrel" \
        >>"$tmp/game.log" 2>&1 &
    game=$!
    games+=("$game")
}

# Answers the box titled 設定ファイルエラー of game $1.
answer_box() {
    local box
    box=$(xs_wait_window '^設定ファイルエラー$' "$1") || return 1
    xs_keys "$box" Return
}

# Waits for the game window of $game, closes it, expects status $1.
close_game() {
    local main
    main=$(xs_wait_window '^Vostrel$' "$game") || fail "no game window"
    xs_keys "$main" Escape
    xs_wait_exit "$game" 10 || fail "the game did not end"
    [ "$XS_STATUS" -eq "$1" ] || fail "the game ended with status $XS_STATUS, not $1"
}

as_player() { setpriv --reuid="$player" --regid="$player" --init-groups -- "$@"; }
as_other() { setpriv --reuid="$other" --regid="$other" --init-groups -- "$@"; }

echo "a link by the other user where a copy in a shared folder would keep its file"
as_player sh -c "printf 'the player'\''s own\n' >'$home/victim.txt'"
cp "$home/victim.txt" "$tmp/victim.before"
as_other ln -s "$home/victim.txt" "$shared/vostrel.dat"
start
answer_box "$game" || fail "no missing-file message"
close_game 0
cmp -s "$home/victim.txt" "$tmp/victim.before" || fail "the victim file changed: $(od -c "$home/victim.txt" | head)"
[ -L "$shared/vostrel.dat" ] || fail "the other user's link was replaced"
[ "$(stat -c %U "$data" 2>/dev/null)" = "$player" ] || fail "no vostrel.dat of the player's in $data"
[ "$(grep -c $'\r$' "$data")" -eq 18 ] || fail "$data is not whole"
echo "ok: the victim is untouched; the game saved in the player's data folder"

echo "the other user made /tmp/vostrel-$puid first; XDG_RUNTIME_DIR is unset"
as_other mkdir -m 0777 "/tmp/vostrel-$puid"
alias=$shared/alias
mkdir "$alias"
mount --bind "$home/.local/share" "$alias"
mounts+=("$alias")
start
first=$game
xs_wait_window '^Vostrel$' "$first" >/dev/null || fail "no game window"
for env in "" "XDG_DATA_HOME=$alias"; do
    # shellcheck disable=SC2086
    start $env
    xs_wait_exit "$game" 10 || fail "a second start (${env:-same path}) opened a second game"
    [ "$XS_STATUS" -eq 0 ] || fail "the second start ended with status $XS_STATUS"
done
[ "$(xdotool search --onlyvisible --name '^Vostrel$' | wc -l)" -eq 1 ] || fail "two game windows"
game=$first
close_game 0
umount "$alias"
mounts=()
echo "ok: both later starts, by the same path and through the bind mount, met the first game"

# The player's scores, which no run below may lose.
{
    printf ':Vostrel\r\n:Ver. 2.0.2005.0117\r\n:test\r\n'
    printf 'rn:1\r\nnsd:0\r\nnsr:0\r\nrto:1\r\neu:1\r\n'
    for row in 0 1 2 3 4; do printf 'hsn%d:mine\r\nhss%d:%d\r\n' $row $row $((900 - row)); done
} >"$tmp/mine.dat"

echo "the file unreadable for a moment: mode 0200, then EIO on open"
install -o "$player" -g "$player" -m 0200 "$tmp/mine.dat" "$data"
start
answer_box "$game" || fail "no read-failure message"
close_game 1
chmod 0600 "$data"
cmp -s "$data" "$tmp/mine.dat" || fail "mode 0200: the file changed: $(grep -a '^hs' "$data" | tr '\r\n' '  ')"
as_player touch "$shared/fail-once"
start FAIL_OPEN="$shared/fail-once" LD_PRELOAD="$shared/eio.so"
answer_box "$game" || fail "no read-failure message"
close_game 1
[ ! -e "$shared/fail-once" ] || fail "the open did not fail"
cmp -s "$data" "$tmp/mine.dat" || fail "EIO: the file changed: $(grep -a '^hs' "$data" | tr '\r\n' '  ')"
echo "ok: both times the scores survived the run"

echo "a rewrite in place on a full 64 KiB tmpfs, then a kill in its middle"
place=$shared/place
mkdir "$place"
mount -t tmpfs -o size=64k,mode=0755 tmpfs "$place"
mounts+=("$place")
mkdir -m 0755 "$place/vostrel"
# Made by hand, shorter than what the game writes and just under a page: the rewrite must grow
# it into a page that the full tmpfs does not have.
{
    printf 'rn:1\r\nhsn0:'
    head -c 4000 /dev/zero | tr '\0' m
    printf '\r\nhss0:900\r\n'
} >"$tmp/short.dat"
install -o "$player" -g "$player" -m 0600 "$tmp/short.dat" "$place/vostrel/vostrel.dat"
dd if=/dev/zero of="$place/filler" bs=1k count=64 2>/dev/null || true
start XDG_DATA_HOME="$place"
main=$(xs_wait_window '^Vostrel$' "$game") || fail "no game window"
xs_keys "$main" Escape
answer_box "$game" || fail "no save-failure message"
xs_wait_exit "$game" 10 || fail "the game did not end"
[ "$XS_STATUS" -eq 1 ] || fail "a failed save ended with status $XS_STATUS"
cmp -s "$place/vostrel/vostrel.dat" "$tmp/short.dat" ||
    fail "the full disk changed the file: $(od -c "$place/vostrel/vostrel.dat" | head)"
rm "$place/filler"
echo "ok: the full disk refused the save before a byte changed"

rm -f "$shared/mark"
start XDG_DATA_HOME="$place" SLOW_SAVE_MARK="$shared/mark" LD_PRELOAD="$shared/slow.so"
main=$(xs_wait_window '^Vostrel$' "$game") || fail "no game window"
xs_keys "$main" Escape
for _ in $(seq 200); do
    [ -e "$shared/mark" ] && break
    sleep 0.05
done
[ -e "$shared/mark" ] || fail "the save did not begin"
kill -9 "$game"
xs_wait_exit "$game" 10 2>/dev/null || true
start XDG_DATA_HOME="$place"
answer_box "$game" || fail "the mended file was not told"
cmp -s "$place/vostrel/vostrel.dat" "$tmp/short.dat" ||
    fail "the cut rewrite was not undone: $(od -c "$place/vostrel/vostrel.dat" | head)"
xs_wait_window '^Vostrel$' "$game" >/dev/null || fail "no game window after the mending"
close_game 0
echo "ok: the kill left a file that the next start put back as it was, and said so"
