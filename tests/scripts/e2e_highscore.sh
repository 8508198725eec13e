#!/usr/bin/env bash
# The game under a virtual X display: a one-problem game whose score tops a table of low
# scores, a Japanese name typed into the new row, and the name's code page 932 bytes in
# vostrel.dat at exit, the other rows moved down unchanged.
# Usage: bash e2e_highscore.sh BUILD_DIR
set -euo pipefail

build="${1:?usage: e2e_highscore.sh BUILD_DIR}"
[ -x "$build/vostrel" ] || exit 77

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$(dirname "$0")/../../scripts/xsession.sh"
xs_require Xvfb xdotool cc iconv

xs_begin
tmp=$XS_WORK

fail() {
    echo "FAIL: $*"
    [ -s "$tmp/game.log" ] && sed 's/^/game: /' "$tmp/game.log"
    exit 1
}

# The game keeps vostrel.dat beside its executable: this run gets a copy of its own.
mkdir "$tmp/game"
cp "$build/vostrel" "$tmp/game/vostrel"

# The digits are drawn with rand(); these values give 1, 2, 3 and 4, so the expression as it
# starts, 0+1+2+3+4, is 10 and worth 800 points.
cat >"$tmp/rand.c" <<'C'
int rand(void) {
    static const int values[4] = {3277, 6554, 9831, 13108};
    static unsigned next;
    return values[next++ % 4];
}
C
cc -shared -fPIC -o "$tmp/rand.so" "$tmp/rand.c"

# xdotool type binds a character missing from the keymap to a spare keycode just for its key
# press, and a busy game may read the keymap after the binding has changed and lose or swap
# characters. Instead every character of the name gets a keycode of its own before the game
# starts (printed in the order of the name), and xdotool key presses those keycodes.
cat >"$tmp/bindkeys.c" <<'C'
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
cc -o "$tmp/bindkeys" "$tmp/bindkeys.c" -lX11 || {
    echo "skipped: cannot build against Xlib (libx11-dev)"
    exit 77
}

# One problem per game; low scores, names in code page 932 (one of them not even valid).
row_lines() {
    printf 'hsn0:ABC\r\nhss0:50\r\n'
    printf 'hsn1:\x8e\x52\x93\x63\r\nhss1:40\r\n'
    printf 'hsn2:A\x80\x81\r\nhss2:30\r\n'
    printf 'hsn3:owns\r\nhss3:20\r\n'
}
{
    printf ':Vostrel\r\n:Ver. 2.0.2005.0117\r\n:test\r\n'
    printf 'rn:1\r\nnsd:0\r\nnsr:0\r\nrto:1\r\neu:1\r\n'
    row_lines
    printf 'hsn4:last\r\nhss4:10\r\n'
} >"$tmp/game/vostrel.dat"

name='山田 太郎～①'
{
    printf 'rn:1\r\nnsd:0\r\nnsr:0\r\nrto:1\r\neu:1\r\n'
    printf 'hsn0:%s\r\nhss0:800\r\n' "$(printf '%s' "$name" | iconv -f UTF-8 -t CP932)"
    # The old rows 0..3 one row lower, bytes unchanged; the old row 4 is gone.
    row_lines | sed -e 's/^hsn3:/hsn4:/; s/^hss3:/hss4:/; s/^hsn2:/hsn3:/; s/^hss2:/hss3:/' \
        -e 's/^hsn1:/hsn2:/; s/^hss1:/hss2:/; s/^hsn0:/hsn1:/; s/^hss0:/hss1:/'
} >"$tmp/expected"

xs_start || fail "no X server"

keys=$("$tmp/bindkeys" "$name") || fail "cannot bind the name's characters to keys"
LD_PRELOAD="$tmp/rand.so" "$tmp/game/vostrel" >"$tmp/game.log" 2>&1 &
XS_APP_PID=$!

main=$(xs_wait_window '^Vostrel$' "$XS_APP_PID") || fail "no game window"
# "採点(&M)": grade the only problem; the game ends and the table asks for a name.
xs_keys "$main" alt+m
table=$(xs_wait_window '^ハイスコア$' "$XS_APP_PID") || fail "no high-score table"
xdotool windowfocus --sync "$table"
# Keycodes as numbers (all above 9, so none reads as a keysym name), one a word.
# shellcheck disable=SC2086
xdotool key --delay 40 $keys
xdotool key Return
xs_wait_gone '^ハイスコア$' 10 || fail "the high-score table stayed open"

# No game under way: Esc leaves without a question, and the file is written.
xdotool windowfocus --sync "$main"
xdotool key Escape
xs_wait_exit "$XS_APP_PID" 10 || fail "the game did not end"
[ "$XS_STATUS" -eq 0 ] || fail "the game ended with status $XS_STATUS"

tail -n +4 "$tmp/game/vostrel.dat" >"$tmp/actual"
if ! cmp -s "$tmp/expected" "$tmp/actual"; then
    echo "expected:"
    od -c "$tmp/expected"
    echo "actual:"
    od -c "$tmp/actual"
    fail "vostrel.dat does not hold the new row 0 over the old rows"
fi
echo "ok: row 0 holds the name's code page 932 bytes, the rows below moved down unchanged"
