#!/usr/bin/env bash
# The game as players without a mouse meet it, under a virtual X display with a window
# manager: the accessibility bus sees every control a player needs with a name, Tab moves
# through named controls, and keys typed quickly as the settings dialog opens never reach the
# game window behind it.
# Usage: bash e2e_a11y.sh BUILD_DIR
set -euo pipefail

build="${1:?usage: e2e_a11y.sh BUILD_DIR}"
[ -x "$build/vostrel" ] || exit 77
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$here/../../scripts/xsession.sh"
xs_require Xvfb xdotool openbox dbus-run-session
xs_require_atspi
# A session bus of its own, ended with the script.
xs_own_bus 300 "$0" "$@"

xs_begin
tmp=$XS_WORK
# shellcheck source-path=SCRIPTDIR source=e2e_common.bash
source "$here/e2e_common.bash"

mkdir "$tmp/game"
cp "$build/vostrel" "$tmp/game/vostrel"
{
    printf ':Vostrel\r\n:Ver. 2.0.2005.0117\r\n:test\r\n'
    printf 'rn:3\r\nnsd:0\r\nnsr:0\r\nrto:1\r\neu:1\r\n'
    for k in 0 1 2 3 4; do printf 'hsn%d:none\r\nhss%d:%d\r\n' "$k" "$k" $((50 - 10 * k)); done
} >"$tmp/game/vostrel.dat"

xs_start || fail "no X server"
xs_start_wm || fail "no window manager"
xs_start_atspi

"$tmp/game/vostrel" >"$tmp/game.log" 2>&1 &
XS_APP_PID=$!
main=$(xs_wait_window '^Vostrel$' "$XS_APP_PID") || fail "no game window"
xdotool windowfocus --sync "$main"

echo "The game window as the accessibility bus shows it:"
timeout 60 "$py" "$here/a11y_tree.py" dump Vostrel || fail "an element without a name"

# From "=", through the labels to the sign: each focus names its control, the digit it belongs
# to and what it shows. The sign's list by keys, then "=": the reader hears the new sign and the
# result; nothing unnamed takes the focus as the list opens and closes.
xdotool windowfocus --sync "$main"
timeout 90 "$py" "$here/a11y_tree.py" focus Vostrel 5 space Down Return alt+equal |
    tee "$tmp/focus.log" || fail "a focus event without a name"
for heard in "focus: combo box '1番目の数字[0-9]のべき乗、なし'" \
    "focus: combo box '1番目の数字[0-9]の符号、プラス'" \
    "name changed: combo box '1番目の数字[0-9]の符号、マイナス'" \
    "focus: combo box '1番目の数字[0-9]の符号、マイナス'" "name changed: [a-z ]* '計算結果、"; do
    grep -q "$heard" "$tmp/focus.log" || fail "not heard: $heard"
done

# Shift+F10, and the Menu key, open the window menu on its first entry, which takes the focus
# and is read; as the menu closes, the focus is told to be back on the control that had it, so
# the next opening is a new focus that a reader reads again.
xdotool windowfocus --sync "$main"
timeout 60 "$py" "$here/a11y_tree.py" focus Vostrel 0 shift+F10 Escape Menu Escape |
    tee "$tmp/menu.log" || fail "a focus event without a name in the window menu"
grep '^focus: ' "$tmp/menu.log" >"$tmp/menu.focus" || true
under=$(sed -n 2p "$tmp/menu.focus")
if [[ "$under" == "focus: menu"* ]] ||
    [ "$(sed -E "s/^focus: menu item '最小化.*$/menu/" "$tmp/menu.focus" | tr '\n' '|')" != \
        "menu|$under|menu|$under|" ]; then
    fail "not the window menu's first entry and the control under the menu in turn, twice"
fi

# Alt+S, then Alt+X at once: the settings dialog opens over a game window that stays.
xs_keys "$main" --delay 20 alt+s alt+x
settings=$(xs_wait_window '^設定$' "$XS_APP_PID") || fail "no settings dialog"
sleep 1
kill -0 "$XS_APP_PID" 2>/dev/null || fail "the game ended behind the settings dialog"
xdotool search --onlyvisible --all --pid "$XS_APP_PID" --name '^Vostrel$' >/dev/null ||
    fail "the game window closed behind the settings dialog"
if xdotool search --onlyvisible --all --pid "$XS_APP_PID" --name '^終了確認$' >/dev/null; then
    fail "the exit question opened over the settings dialog"
fi
xs_keys "$settings" Escape
xs_wait_gone '^設定$' 10 || fail "the settings dialog did not close"
echo "ok: named controls and focus events; keys typed as a dialog opens stay out of the game"
