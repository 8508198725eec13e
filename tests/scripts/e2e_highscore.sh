#!/usr/bin/env bash
# The game under a virtual X display: a one-problem game, "=" pressed by three keys each held
# down while the keyboard repeats it, whose score tops a table of low scores, a Japanese name
# typed into the new row, and the name's code page 932 bytes in vostrel.dat at exit, the other
# rows moved down unchanged. Usage: bash e2e_highscore.sh BUILD_DIR
set -euo pipefail

build="${1:?usage: e2e_highscore.sh BUILD_DIR}"
[ -x "$build/vostrel" ] || exit 77
[ -x "$build/tools/vostrel-cli" ] || exit 77

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$(dirname "$0")/../../scripts/xsession.sh"
xs_require Xvfb xdotool cc iconv

xs_begin
tmp=$XS_WORK

# shellcheck source-path=SCRIPTDIR source=e2e_common.bash
source "$(dirname "$0")/e2e_common.bash"

# The game keeps vostrel.dat beside its executable: this run gets a copy of its own.
mkdir "$tmp/game"
cp "$build/vostrel" "$tmp/game/vostrel"

e2e_build_rand
e2e_build_bindkeys

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
# Each held key is one try: the points of 0+1+2+3+4 after three tries, as the engine gives them.
held_keys=(space Return alt+equal)
score=$(e2e_start_points "${#held_keys[@]}")
{
    printf 'rn:1\r\nnsd:0\r\nnsr:0\r\nrto:1\r\neu:1\r\n'
    printf 'hsn0:%s\r\nhss0:%s\r\n' "$(printf '%s' "$name" | iconv -f UTF-8 -t CP932)" "$score"
    # The old rows 0..3 one row lower, bytes unchanged; the old row 4 is gone.
    row_lines | sed -e 's/^hsn3:/hsn4:/; s/^hss3:/hss4:/; s/^hsn2:/hsn3:/; s/^hss2:/hss3:/' \
        -e 's/^hsn1:/hsn2:/; s/^hss1:/hss2:/; s/^hsn0:/hsn1:/; s/^hss0:/hss1:/'
} >"$tmp/expected"

xs_start || fail "no X server"

keys=$("$tmp/bindkeys" "$name") || fail "cannot bind the name's characters to keys"
LD_PRELOAD="$tmp/rand.so" "$tmp/game/vostrel" >"$tmp/game.log" 2>&1 &
XS_APP_PID=$!

main=$(xs_wait_window '^Vostrel$' "$XS_APP_PID") || fail "no game window"
# "=" has the focus; each key is held for as long as the keyboard takes to repeat it several
# times, then let go once the try it made shows in the points.
xdotool windowfocus --sync "$main"
for key in "${held_keys[@]}"; do
    points=$(xs_region_sum "$main" 52 157 51 21)
    xdotool keydown "$key"
    sleep 1.5
    xdotool keyup "$key"
    xs_wait_region_change "$main" 52 157 51 21 "$points" ||
        fail "holding $key on '=' changed no points (tries used up by a key held before?)"
done
e2e_grade_and_name "$XS_APP_PID" "$main" "$keys" || fail "no high-score entry"

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
