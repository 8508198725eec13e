#!/usr/bin/env bash
# A blind player's whole game with the real screen reader, Orca, speaking into libao's null
# driver: what Orca says (its debug log's "SPEECH OUTPUT" lines) at each step of a two-problem
# game, the high-score entry and the high-score table.
# Usage: bash e2e_orca.sh BUILD_DIR
#        VOSTREL_ORCA_KEEP=DIR keeps Orca's log and the spoken lines in DIR.
set -euo pipefail

build="${1:?usage: e2e_orca.sh BUILD_DIR}"
[ -x "$build/vostrel" ] || exit 77
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$here/../../scripts/xsession.sh"
xs_require Xvfb xdotool openbox dbus-run-session cc orca speech-dispatcher
xs_require_atspi
if ! [ -x /usr/lib/speech-dispatcher-modules/sd_espeak-ng ]; then
    echo "skipped: no espeak-ng module for speech-dispatcher (scripts/deps.sh test installs it)"
    exit 77
fi
# The normal build plays this game. Under the sanitizers the game answers so slowly that the
# accessibility bus gives up waiting on Orca for a key now and then, and Qt's bridge then leaks
# that key's event (its keyEventError path frees nothing), which LeakSanitizer reports at exit.
if grep -qs '^VOSTREL_SANITIZE:BOOL=ON' "$build/CMakeCache.txt"; then
    echo "skipped: the screen reader plays the normal build"
    exit 77
fi
# A session bus of its own, ended with the script; every wait below is bounded.
xs_own_bus 600 "$0" "$@"

# Ends what this script started, each by its process id: Orca, the AT-SPI bus launcher, and
# what they started in turn (the speech server that Orca's first words spawned and its espeak-ng
# module, the accessibility bus and its registry), found by the private HOME in their
# environment, which nothing else on the machine has.
stop_all() {
    local p _ left mine=()
    [ -z "${orca_pid:-}" ] || kill "$orca_pid" 2>/dev/null || true
    [ -z "$XS_BUS_PID" ] || kill "$XS_BUS_PID" 2>/dev/null || true
    for p in /proc/[0-9]*; do
        p=${p#/proc/}
        if [ "$p" = "$$" ] || [ "$p" = "$BASHPID" ]; then continue; fi
        if { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qxF "HOME=$XS_WORK/home"; then
            mine+=("$p")
        fi
    done
    [ ${#mine[@]} -eq 0 ] || kill "${mine[@]}" 2>/dev/null || true
    # Bounded: each is gone within a few seconds; what is not is killed.
    for _ in $(seq 100); do
        left=()
        for p in "${mine[@]}"; do
            if kill -0 "$p" 2>/dev/null; then left+=("$p"); fi
        done
        [ ${#left[@]} -gt 0 ] || break
        sleep 0.1
    done
    for p in ${orca_pid:-} $XS_BUS_PID "${left[@]}"; do
        kill -9 "$p" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    if [ -n "${VOSTREL_ORCA_KEEP:-}" ]; then
        mkdir -p "$VOSTREL_ORCA_KEEP"
        cp "$XS_WORK/orca.log" "$XS_WORK/game.log" "$VOSTREL_ORCA_KEEP/" 2>/dev/null || true
        spoken >"$VOSTREL_ORCA_KEEP/spoken.txt" 2>/dev/null || true
    fi
}
xs_begin stop_all
tmp=$XS_WORK
# shellcheck source-path=SCRIPTDIR source=e2e_common.bash
source "$here/e2e_common.bash"

# A private HOME: Orca's settings, and speech into nothing (no sound card needed).
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_DATA_HOME="$tmp/home/.local/share"
export XDG_CACHE_HOME="$tmp/home/.cache" XDG_RUNTIME_DIR="$tmp/run"
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf 'default_driver=null\n' >"$HOME/.libao"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'CONF'
AudioOutputMethod "libao"
DefaultModule espeak-ng
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
CONF

# 3 1 2 4 for the first problem, 1 6 0 3 for the next; each adds up to 10, so the expression as
# it starts scores.
e2e_build_rand 3 1 2 4 1 6 0 3

mkdir "$tmp/game"
cp "$build/vostrel" "$tmp/game/vostrel"
{
    printf ':Vostrel\r\n:Ver. 2.0.2005.0117\r\n:test\r\n'
    printf 'rn:2\r\nnsd:0\r\nnsr:0\r\nrto:1\r\neu:1\r\n'
    for k in 0 1 2 3 4; do printf 'hsn%d:P%d\r\nhss%d:%d\r\n' "$k" "$k" "$k" $((50 - 10 * k)); done
} >"$tmp/game/vostrel.dat"

xs_start || fail "no X server"
xs_start_wm || fail "no window manager"
xs_start_atspi

# Orca's log: one "SPEECH OUTPUT: '...'" line per utterance.
: >"$tmp/orca.log"
"$py" "$here/orca_run.py" "$tmp/orca.log" >"$tmp/orca.out" 2>&1 &
orca_pid=$!
# Its end, a kill in the clean-up, is no news.
disown "$orca_pid"

# The utterances so far, one a line (an utterance of several lines is joined with blanks).
cat >"$tmp/spoken.awk" <<'AWK'
function flush() { sub(/'( *\{.*\})?$/, "", text); print text; open = 0 }
/SPEECH OUTPUT: '/ {
    text = $0; sub(/^.*SPEECH OUTPUT: '/, "", text); open = 1
    if (text ~ /'( *\{.*\})?$/) flush()
    next
}
open { line = $0; sub(/^ +/, "", line); text = text " " line; if (text ~ /'( *\{.*\})?$/) flush() }
AWK
spoken() {
    awk -f "$tmp/spoken.awk" "$tmp/orca.log"
}
# How many utterances there are so far.
mark() {
    spoken | wc -l
}
# Waits up to $2 seconds until an utterance after the first $1 matches the extended regular
# expression $3; fails with the utterances since then otherwise.
heard() {
    local from=$1 wait=$2 pattern=$3 deadline
    deadline=$((SECONDS + wait))
    while true; do
        if spoken | tail -n +$((from + 1)) | grep -qE -- "$pattern"; then
            return 0
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "not heard: $pattern; heard instead:"
            spoken | tail -n +$((from + 1)) | sed 's/^/    /'
            return 1
        fi
        sleep 0.2
    done
}
# Waits until Orca has said nothing for $1 seconds (at most 30 seconds in all).
quiet() {
    local n last deadline=$((SECONDS + 30)) since=$SECONDS
    last=$(mark)
    while [ "$SECONDS" -lt "$deadline" ]; do
        sleep 0.5
        n=$(mark)
        if [ "$n" != "$last" ]; then
            last=$n
            since=$SECONDS
        elif [ $((SECONDS - since)) -ge "$1" ]; then
            return 0
        fi
    done
}
# Prints the utterances after the first $1.
since() {
    spoken | tail -n +$(($1 + 1))
}

heard 0 120 '.' || fail "Orca said nothing"
quiet 2

# Presses the keys $2... in the game and waits up to $1 seconds for what Orca says then; the
# utterances go to $tmp/step, and the step is printed with them.
step() {
    local wait=$1 from
    shift
    from=$(mark)
    xdotool key --clearmodifiers "$@"
    sleep 0.5
    quiet 2
    since "$from" >"$tmp/step"
    echo "== $*"
    sed 's/^/    /' "$tmp/step"
    STEP_FROM=$from
    STEP_WAIT=$wait
}
# The step's utterances hold one that matches the extended regular expression $1 (waiting for
# it as long as the step allows).
says() {
    heard "$STEP_FROM" "$STEP_WAIT" "$1" || fail "$2"
    since "$STEP_FROM" >"$tmp/step"
}
# At most $3 (default none) of the step's utterances match $1.
never() {
    [ "$(grep -cE -- "$1" "$tmp/step")" -le "${3:-0}" ] || fail "$2"
}
# Exactly one of the step's utterances matches $1.
says_once() {
    says "$1" "$2"
    [ "$(grep -cE -- "$1" "$tmp/step")" -eq 1 ] || fail "$2 (heard more than once)"
}

LD_PRELOAD="$tmp/rand.so" "$tmp/game/vostrel" >"$tmp/game.log" 2>&1 &
XS_APP_PID=$!
STEP_FROM=$(mark)
STEP_WAIT=60
main=$(xs_wait_window '^Vostrel$' "$XS_APP_PID") || fail "no game window"
xdotool windowfocus --sync "$main"
says_once '^1問目、数字 3、1、2、4' "the first problem's digits as the game starts"
quiet 2
echo "== start"
since "$STEP_FROM" | sed 's/^/    /'

# The labels of a digit say which digit they are.
step 30 Tab
says '^1番目の数字3のべき乗、なし combo box' "the first power label with its digit"
# A list opens and closes without anything unnamed in between.
step 30 space
says '^1番目の数字3のべき乗 combo box expanded' "the dropped list named for its label"
never '^(\+ )?combo box' "an unnamed combo box as the list opens"
step 30 Escape
says '^1番目の数字3のべき乗、なし combo box' "the label again as its list closes"
never '^(\+ )?combo box' "an unnamed combo box as the list closes"

# "=" from a label (Alt+=), and by the button: the result and the points, once, the focus
# staying where it was.
step 60 alt+equal
says_once '計算結果 10、得点 780' "the result and points after Alt+= on a label"
step 30 shift+Tab
says '^= push button' "the = button"
step 60 space
says_once '計算結果 10、得点 760' "the result and points after = by the button"

# A grade: the box as before, then the next problem's digits.
step 60 alt+m
says '今回のスコア:760\(760\)' "the grade's box"
step 60 Return
says_once '^2問目、数字 1、6、0、3' "the next problem's digits after the grade"

# The last grade ends the game: the entry dialog says the final score and its row before
# the name box.
step 60 alt+m
says '^ハイスコア dialog 今回のスコア [0-9]+、1位に入りました' "the final score and its row"
says '^1位の名前 text' "the name box"
score=$(grep -oE '今回のスコア [0-9]+' "$tmp/step" | head -n 1 | grep -oE '[0-9]+')
step 30 H a n a
step 60 Return
says_once '^1問目、数字 3、1、2、4' "the next game's digits"

# The high-score table from the settings: every row as it opens, then row by row.
step 60 alt+s
says '^設定 dialog' "the settings dialog"
step 60 alt+s
says "^ハイスコア dialog 1位、Hana、${score}点。2位、P0、50点。3位、P1、40点。4位、P2、30点。5位、P3、20点" \
    "the whole table as it opens"
step 30 Tab
says_once "^1位、Hana、${score}点 label" "the first row by Tab"
rows=("2位、P0、50点" "3位、P1、40点" "4位、P2、30点" "5位、P3、20点")
for row in "${rows[@]}"; do
    step 30 Down
    says_once "^$row label" "the row $row by the arrow key"
done
step 30 Escape
says '^設定 dialog' "back in the settings"
step 30 Escape
says '^= push button' "back in the game"

# No game is under way: Alt+X ends the program.
xdotool key --clearmodifiers alt+x
xs_wait_exit "$XS_APP_PID" 30 || fail "the game did not end"
[ "$XS_STATUS" -eq 0 ] || fail "the game ended with status $XS_STATUS"
echo "ok: Orca said the digits, every result and points, the next digits, the final score and row, and each row of the table"
