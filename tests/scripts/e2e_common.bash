# shellcheck shell=bash
# Sourced by the end-to-end scripts that play a whole game, after scripts/xsession.sh and
# xs_begin: the failure exit with the game's output, a rand() that gives known digits and the
# points they are worth, keys bound to the characters of a name, and one graded problem that
# enters the high-score table.

# shellcheck source=checks.bash
source "$(dirname "${BASH_SOURCE[0]}")/checks.bash"
# A failed check ends the test, with what the game printed.
fail_now=1
fail_log=$XS_WORK/game.log

# The points of the expression as a problem starts (no powers, every gap "+", left to right)
# over the four digits $2 (by default 1234, which make 10) after $1 tries, graded with the
# switches of a new settings file: as the engine of the build under test ($build) gives them.
e2e_start_points() {
    # shellcheck disable=SC2154  # build is the sourcing script's
    printf '%s 0000 0000 0123 %d 001\n' "${2:-1234}" "$1" | "$build/tools/vostrel-cli" eval |
        cut -d' ' -f3
}

# Builds $XS_WORK/rand.so for LD_PRELOAD: the game draws its digits with rand(), and gets the
# digits given here in turn, over and over. Without any, 1, 2, 3 and 4 for every problem, so the
# expression as it starts, 0+1+2+3+4, is 10 (worth e2e_start_points 0).
e2e_build_rand() {
    local digit values=""
    [ $# -gt 0 ] || set -- 1 2 3 4
    # The least value that the game's scaling, r * 10 / 32768, draws as the digit d.
    for digit in "$@"; do values+="${values:+, }$(((digit * 32768 + 9) / 10))"; done
    cat >"$XS_WORK/rand.c" <<C
int rand(void) {
    static const int values[] = {$values};
    static unsigned next;
    return values[next++ % (sizeof values / sizeof values[0])];
}
C
    cc -shared -fPIC -o "$XS_WORK/rand.so" "$XS_WORK/rand.c"
}

# Builds $XS_WORK/bindkeys; skips (77) without Xlib.
# xdotool type binds a character missing from the keymap to a spare keycode just for its key
# press, and a busy game may read the keymap after the binding has changed and lose or swap
# characters. Instead every character of the name gets a keycode of its own before the game
# starts ("bindkeys NAME" prints them in the order of the name), and xdotool key presses those
# keycodes.
e2e_build_bindkeys() {
    cat >"$XS_WORK/bindkeys.c" <<'C'
#include <X11/Xlib.h>
#include <locale.h>
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

int main(int argc, char** argv) {
    if (argc != 2 || !setlocale(LC_ALL, "C.UTF-8")) return 2;
    wchar_t text[64];
    size_t n = mbstowcs(text, argv[1], 64);
    Display* d = XOpenDisplay(NULL);
    if (n == (size_t)-1 || n == 64 || !d) return 2;
    int min, max, per;
    XDisplayKeycodes(d, &min, &max);
    KeySym* map = XGetKeyboardMapping(d, (KeyCode)min, max - min + 1, &per);
    int code = max;
    for (size_t i = 0; i < n; ++i) {
        KeySym sym = text[i] < 0x100 ? (KeySym)text[i] : 0x1000000 | (KeySym)text[i];
        int bound = 0;
        for (int c = min; c <= max && !bound; ++c) /* present at the first level already */
            if (map[(c - min) * per] == sym) bound = c;
        if (!bound) {
            for (;; --code) { /* the next keycode without symbols, from the top */
                if (code < min) return 3;
                int used = 0;
                for (int k = 0; k < per; ++k) used |= map[(code - min) * per + k] != NoSymbol;
                if (!used) break;
            }
            bound = code;
            map[(code - min) * per] = sym;
            XChangeKeyboardMapping(d, code, 1, &sym, 1);
        }
        printf("%d\n", bound);
    }
    XSync(d, False);
    XCloseDisplay(d);
    return 0;
}
C
    cc -o "$XS_WORK/bindkeys" "$XS_WORK/bindkeys.c" -lX11 || {
        echo "skipped: cannot build against Xlib (libx11-dev)"
        exit 77
    }
}

# Grades the problem on screen in game window $2 of process $1 ("採点(&M)"); the game ends,
# and the new row of the high-score table takes the name typed with the keycodes $3 (from
# bindkeys). Fails when a window does not come or go.
e2e_grade_and_name() {
    local table
    xs_keys "$2" alt+m
    table=$(xs_wait_window '^ハイスコア$' "$1") || return 1
    xdotool windowfocus --sync "$table"
    # Keycodes as numbers (all above 9, so none reads as a keysym name), one a word.
    # shellcheck disable=SC2086
    xdotool key --delay 40 $3
    xdotool key Return
    xs_wait_gone '^ハイスコア$' 10
}

# Builds $XS_WORK/slow.so for LD_PRELOAD, which stands in for a slow disk: the first fsync
# after the file named by SLOW_SAVE_MARK is missing makes that file, then takes a second; with
# SLOW_SAVE_NAME, only the fsync of a file whose path holds that text.
e2e_build_slow_save() {
    cat >"$XS_WORK/slow.c" <<'C'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

/* Whether fd is a file whose path holds SLOW_SAVE_NAME (any file without it). */
static int named(int fd) {
    const char* name = getenv("SLOW_SAVE_NAME");
    char link[64], path[4096];
    if (!name) return 1;
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t n = readlink(link, path, sizeof path - 1);
    if (n < 0) return 0;
    path[n] = 0;
    return strstr(path, name) != NULL;
}

int fsync(int fd) {
    const char* mark = getenv("SLOW_SAVE_MARK");
    if (mark && access(mark, F_OK) != 0 && named(fd)) {
        close(open(mark, O_WRONLY | O_CREAT, 0644));
        struct timespec t = {1, 0};
        while (nanosleep(&t, &t) != 0) {
        }
    }
    int (*real)(int) = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
    return real(fd);
}
C
    cc -shared -fPIC -o "$XS_WORK/slow.so" "$XS_WORK/slow.c" -ldl
}

# Starts the test's session manager (session_manager.c), its input on descriptor 5, its pid in
# sm_pid, and waits for its address, which it prints in sm_address.
e2e_start_session_manager() {
    cc -o "$XS_WORK/sm" "$(dirname "${BASH_SOURCE[0]}")/session_manager.c" -lSM -lICE ||
        fail "cannot build the session manager (libsm-dev)"
    mkfifo "$XS_WORK/sm.in"
    "$XS_WORK/sm" <"$XS_WORK/sm.in" >"$XS_WORK/sm.out" 2>&1 &
    sm_pid=$!
    exec 5>"$XS_WORK/sm.in"
    sm_said 'local/.*' || fail "no session manager"
    sm_address=$(grep -m 1 '^local/' "$XS_WORK/sm.out")
}

# Waits up to 10 seconds for the line $1 from the session manager.
sm_said() {
    local _
    for _ in $(seq 200); do
        grep -qx "$1" "$XS_WORK/sm.out" && return 0
        sleep 0.05
    done
    echo "the session manager did not say '$1': $(cat "$XS_WORK/sm.out")" >&2
    return 1
}
