#!/usr/bin/env bash
# A blind player's whole game with the real screen reader, Orca, speaking into libao's null
# driver: what Orca says (its debug log's "SPEECH OUTPUT" lines) and shows on the braille
# display ("BRAILLE LINE") at each step of a two-problem game, the high-score entry, the
# high-score table and the help; played once in Japanese and once in English. Each step waits
# for what it expects, with a generous deadline, never for a fixed time.
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
xs_own_bus 1400 "$0" "$@"

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
# A fresh settings file for each game played.
write_settings() {
    {
        printf ':Vostrel\r\n:Ver. 2.0.2005.0117\r\n:test\r\n'
        printf 'rn:2\r\nnsd:0\r\nnsr:0\r\nrto:1\r\neu:1\r\n'
        for k in 0 1 2 3 4; do printf 'hsn%d:P%d\r\nhss%d:%d\r\n' "$k" "$k" "$k" $((50 - 10 * k)); done
    } >"$tmp/game/vostrel.dat"
}

# The game's texts in the language it plays, from its translation files, so that a reworded
# translation does not break the test: "tx CONTEXT SOURCE [ARG...]" prints the text with %1...
# filled; Japanese is the sources' own.
cat >"$tmp/tx.py" <<'PY'
import re, sys, xml.etree.ElementTree as ET
ts, context, source, args = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
text = source
if ts:
    for c in ET.parse(ts).getroot().iter("context"):
        if c.findtext("name") != context:
            continue
        for m in c.iter("message"):
            if m.findtext("source") == source and (m.findtext("translation") or ""):
                text = m.findtext("translation")
print(re.sub(r"%([1-9])", lambda g: args[int(g.group(1)) - 1], text).replace("\n", " "))
PY
tx() {
    local ts=""
    [ "$lang" = ja ] || ts="$here/../../resources/translations/vostrel_$lang.ts"
    "$py" "$tmp/tx.py" "$ts" "$@"
}
# $1 as an extended regular expression that matches it literally.
re() {
    # shellcheck disable=SC2001,SC2016 # a set of characters, each escaped: no expansion meant
    sed 's/[][\.*^$(){}?+|]/\\&/g' <<<"$1"
}

xs_start || fail "no X server"
xs_start_wm || fail "no window manager"
xs_start_atspi

# Orca's log: one "SPEECH OUTPUT: '...'" line per utterance, one "BRAILLE LINE:  '...'" per
# line shown on the display.
: >"$tmp/orca.log"

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
# The braille lines so far (a line that holds a line break is joined with a blank).
cat >"$tmp/brailled.awk" <<'AWK'
/BRAILLE LINE:  '/ {
    text = $0; sub(/^.*BRAILLE LINE:  '/, "", text); open = 1
    if (text ~ /'$/) { sub(/'$/, "", text); print text; open = 0 }
    next
}
open { line = $0; sub(/^ +/, "", line); text = text " " line; if (text ~ /'$/) { sub(/'$/, "", text); print text; open = 0 } }
AWK
brailled() {
    awk -f "$tmp/brailled.awk" "$tmp/orca.log"
}
# How many utterances and braille lines there are so far: "SPOKEN BRAILLED".
mark() {
    echo "$(spoken | wc -l) $(brailled | wc -l)"
}
# Waits up to $3 seconds until a line of $1 (spoken or brailled) after the first $2 matches
# the extended regular expression $4; fails with the lines since then otherwise.
found() {
    local what=$1 from=$2 wait=$3 pattern=$4 deadline
    deadline=$((SECONDS + wait))
    while true; do
        if "$what" | tail -n +$((from + 1)) | grep -qE -- "$pattern"; then
            return 0
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "not $what: $pattern; $what instead:"
            "$what" | tail -n +$((from + 1)) | sed 's/^/    /'
            return 1
        fi
        sleep 0.2
    done
}
# Waits until Orca has handled every event so far: its log, which notes each event it takes,
# stays still for a second (at most 60 seconds in all). Only what must not be said is checked
# after this; what must be said is waited for.
settled() {
    local size last deadline=$((SECONDS + 60)) still=0
    last=$(stat -c %s "$tmp/orca.log")
    while [ "$SECONDS" -lt "$deadline" ] && [ "$still" -lt 5 ]; do
        sleep 0.2
        size=$(stat -c %s "$tmp/orca.log")
        if [ "$size" = "$last" ]; then still=$((still + 1)); else still=0; fi
        last=$size
    done
}

# Orca starts speaking "Screen reader on". On a heavily loaded machine its start-up may hang
# (the accessibility registry does not answer its first calls in time, and it never retries):
# an Orca that has said nothing after two minutes is ended and started again, up to three
# times.
for attempt in 1 2 3; do
    : >"$tmp/orca.log"
    "$py" "$here/orca_run.py" "$tmp/orca.log" >"$tmp/orca.out" 2>&1 &
    orca_pid=$!
    # Its end, a kill in the clean-up, is no news.
    disown "$orca_pid"
    if found spoken 0 120 '.' >/dev/null; then break; fi
    [ "$attempt" -lt 3 ] || fail "Orca said nothing, three times"
    echo "Orca said nothing in two minutes (start $attempt); starting it again"
    kill -9 "$orca_pid" 2>/dev/null || true
done
settled

# Presses the keys $2... in the game; what Orca says and shows then is waited for, up to $1
# seconds, by the checks that follow.
step() {
    STEP_WAIT=$1
    shift
    read -r STEP_SPOKEN STEP_BRAILLED < <(mark)
    STEP_KEYS="$*"
    xdotool key --clearmodifiers "$@"
}
# Holds the key $2 for a second and a half, as long as a player who holds it, while the keyboard
# repeats it; what Orca says and shows then is waited for, up to $1 seconds.
hold() {
    STEP_WAIT=$1
    read -r STEP_SPOKEN STEP_BRAILLED < <(mark)
    STEP_KEYS="$2 (held)"
    HOLD_FROM=$(wc -l <"$tmp/orca.log")
    xdotool keydown --clearmodifiers "$2"
    sleep 1.5 # the hold itself, not a wait for the game
    xdotool keyup "$2"
}
# The step's utterances (to $tmp/step) and braille lines (to $tmp/step.braille).
collect() {
    spoken | tail -n +$((STEP_SPOKEN + 1)) >"$tmp/step"
    brailled | tail -n +$((STEP_BRAILLED + 1)) >"$tmp/step.braille"
}
# Prints the step (once, before its first failure or after its checks).
show() {
    collect
    echo "== $lang: $STEP_KEYS"
    sed 's/^/    /' "$tmp/step"
    sed 's/^/    braille: /' "$tmp/step.braille"
}
# The step's utterances hold one that matches the extended regular expression $1 (waiting for
# it as long as the step allows).
says() {
    found spoken "$STEP_SPOKEN" "$STEP_WAIT" "$1" || { show; fail "$2"; }
}
# Likewise a braille line.
shows() {
    found brailled "$STEP_BRAILLED" "$STEP_WAIT" "$1" || { show; fail "$2"; }
}
# Once Orca has settled, the step's utterances hold at most $3 (default no) matches of $1.
never() {
    settled
    collect
    [ "$(grep -oE -- "$1" "$tmp/step" | wc -l)" -le "${3:-0}" ] || { show; fail "$2"; }
}
# The step's utterances hold exactly one match of $1.
says_once() {
    says "$1" "$2"
    never "$1" "$2 (heard more than once)" 1
}
# The first of the step's braille lines that matches $1 holds $2 exactly once, and before $3
# when given.
shows_once() {
    local line
    shows "$1" "$4"
    settled
    collect
    line=$(grep -E -m 1 -- "$1" "$tmp/step.braille")
    [ "$(grep -oE -- "$2" <<<"$line" | wc -l)" -eq 1 ] || { show; fail "$4 (not once on the line)"; }
    if [ -n "$3" ] && ! grep -qE -- "$2.*$3" <<<"$line"; then
        show
        fail "$4 (not first on the line)"
    fi
}

# The step's braille line of the table's row $1 (0 to 4, from rows) holds no other row.
shows_row() {
    local line j
    shows "$(re "${rows[$1]}")" "$2"
    settled
    collect
    line=$(grep -E -m 1 -- "$(re "${rows[$1]}")" "$tmp/step.braille")
    for j in 0 1 2 3 4; do
        if [ "$j" != "$1" ] && grep -qF -- "${rows[j]}" <<<"$line"; then
            show
            fail "$2 (row $((j + 1)) on the line too)"
        fi
    done
}

# What "=" is called as it takes the focus, as an extended regular expression: its glyph with
# the problem it computes, ProblemSpeech's sentence for problem $1 with the digits $2 to $5.
button() {
    echo "^$(re "$(tx SpokenText '= %1' "$(tx SpokenText '%1問目、数字 %2、%3、%4、%5' "$@")")") push button"
}

# Starts the game in language $lang; the first problem's digits are heard as it starts. A new
# game each time, unless $1 is "kept": then the game left under way goes on.
start_game() {
    [ "${1:-}" = kept ] || rm -f "$tmp/game/vostrel-game.txt"
    read -r STEP_SPOKEN STEP_BRAILLED < <(mark)
    STEP_WAIT=120
    STEP_KEYS="(start)"
    if [ "$lang" = ja ]; then
        LD_PRELOAD="$tmp/rand.so" "$tmp/game/vostrel" >"$tmp/game.log" 2>&1 &
    else
        LANGUAGE=$lang LD_PRELOAD="$tmp/rand.so" "$tmp/game/vostrel" >"$tmp/game.log" 2>&1 &
    fi
    XS_APP_PID=$!
}

# Ends the game with Alt+X, as no game is under way.
end_game() {
    xdotool key --clearmodifiers alt+x
    xs_wait_exit "$XS_APP_PID" 60 || fail "the game did not end"
    [ "$XS_STATUS" -eq 0 ] || fail "the game ended with status $XS_STATUS"
}

# The first start, without a settings file: the box that says so, and after it a list that
# drops is read as expanded; then the exit question.
first_start() {
    lang=$1
    local box name
    rm -f "$tmp/game/vostrel.dat"
    start_game
    box=$(re "$(tx CGameApp 設定ファイルが見つからないので初期化します。)")
    says "$box" "the first-start box"
    shows "$box" "the first-start box on the braille display"
    show
    step 90 Return
    says "$(button 1 3 1 2 4)" "the = button after the first-start box"
    show
    name=$(tx SpokenText '%1番目の数字%2のべき乗' 1 3)
    step 60 Tab
    says "^$(re "$name")" "the first power label after the first-start box"
    show
    step 60 space
    says "^$(re "$name") combo box expanded" "the dropped list expanded after the first-start box"
    never 'collapsed' "a collapsed list as it drops after the first-start box"
    show
    step 60 Escape
    says "^$(re "$name")" "the label again after the first-start box"
    show
    # A list was opened: the game is under way, and ending it asks first; the question too is
    # on the braille display.
    box=$(re "$(tx GameFlow 終了しますか)")
    step 90 alt+x
    says "$box" "the exit question"
    shows "$box" "the exit question on the braille display"
    show
    xdotool key --clearmodifiers alt+y
    xs_wait_exit "$XS_APP_PID" 60 || fail "the game did not end"
    [ "$XS_STATUS" -eq 0 ] || fail "the game ended with status $XS_STATUS"
}

# One whole game in language $1 ("ja", or a translation's, as LANGUAGE gives it to the game),
# then the table and the help; the game ends with Alt+X.
play() {
    lang=$1
    local first next result score row title name line rows=() k attempt item
    first=$(tx SpokenText '%1問目、数字 %2、%3、%4、%5' 1 3 1 2 4)
    # On a busy machine a game once started and Orca heard nothing of it at all, not even its
    # window, for two minutes (Orca logged no event from it after it joined the desktop): a
    # game of which Orca says nothing within a minute of having the keyboard is ended and
    # started again, up to three times. What it says is then checked as always.
    for attempt in 1 2 3; do
        write_settings
        start_game
        # The window has the keyboard before anything is read in it; a window manager that is
        # slow on a busy machine may not give it to a new window by itself.
        for k in 1 2 3 4 5 6; do
            if main=$(xs_wait_window '^Vostrel$' "$XS_APP_PID"); then break; fi
            [ "$k" -lt 6 ] || fail "no game window"
        done
        xdotool windowfocus --sync "$main"
        if found spoken "$STEP_SPOKEN" 60 '.' >/dev/null; then break; fi
        [ "$attempt" -lt 3 ] || fail "Orca said nothing of the game, three times"
        echo "Orca said nothing of the game in a minute (start $attempt); starting it again"
        kill "$XS_APP_PID" 2>/dev/null || true
        xs_wait_exit "$XS_APP_PID" 60 || fail "the game did not end"
    done
    # "=" takes the focus: its name says the problem, and its braille shows the digits with it;
    # the sentence said as the problem opens is not said again.
    says "$(button 1 3 1 2 4)" "the first problem's digits with = as the game starts"
    shows "$(re "$(tx SpokenText '= %1' "$first")") push button" \
        "the first problem's digits with = on the braille display"
    never "$(re "$first")" "the first problem's digits as the game starts (more than once)" 1
    show

    # The labels of a digit say which digit they are.
    name=$(tx SpokenText '%1番目の数字%2のべき乗' 1 3)
    step 60 Tab
    says "^$(re "$(tx CStaticExAccessible '%1、%2' "$name" "$(tx SpokenText なし)")") combo box" \
        "the first power label with its digit"
    show
    # A list opens and closes without anything unnamed in between, and reads alike every time,
    # the first and the twenty-sixth: its label, that it is expanded and the item chosen, spoken
    # and on the braille display.
    item=$(re "$(tx SpokenText なし)")
    for k in $(seq 26); do
        step 60 space
        says "^$(re "$name") combo box expanded" "the dropped list named for its label (drop $k)"
        says "^$item\.?$" "the item chosen as the list drops (drop $k)"
        shows "$(re "$name") combo box .*$item list item" \
            "the label and the item chosen on the braille display (drop $k)"
        never '^(\+ )?combo box' "an unnamed combo box as the list opens (drop $k)"
        case $k in 1 | 26) show ;; esac
        step 60 Escape
        says "^$(re "$(tx CStaticExAccessible '%1、%2' "$name" "$(tx SpokenText なし)")") combo box" \
            "the label again as its list closes (drop $k)"
        never '^(\+ )?combo box' "an unnamed combo box as the list closes (drop $k)"
        case $k in 1 | 26) show ;; esac
    done

    # "=" from a label (Alt+=), and by the button: the result and the points, once, the focus
    # staying where it was; the braille display shows them too.
    result=$(re "$(tx SpokenText '計算結果 %1、得点 %2' 10 "$(e2e_start_points 1 3124)")")
    step 90 alt+equal
    says_once "$result" "the result and points after Alt+= on a label"
    shows "$result" "the result and points on the braille display after Alt+="
    show
    step 60 shift+Tab
    says "$(button 1 3 1 2 4)" "the = button"
    show
    result=$(re "$(tx SpokenText '計算結果 %1、得点 %2' 10 "$(e2e_start_points 2 3124)")")
    step 90 space
    says_once "$result" "the result and points after = by the button"
    shows "$result" "the result and points on the braille display after ="
    show

    # A held key is one try, though Orca hears every repeat: Alt+=, then Space and Return on
    # "=", each heard with the points of one more try and no other.
    local tries=2 any
    any=$(re "$(tx SpokenText '計算結果 %1、得点 %2' 10 @N@)")
    any=${any//@N@/-?[0-9]+}
    for k in alt+equal space Return; do
        tries=$((tries + 1))
        result=$(re "$(tx SpokenText '計算結果 %1、得点 %2' 10 "$(e2e_start_points "$tries" 3124)")")
        hold 90 "$k"
        says_once "$result" "the points of one try after $k held"
        never "$any" "more than one try after $k held" 1
        # Orca heard the key let go at each repeat: the key did repeat.
        [ "$(tail -n +$((HOLD_FROM + 1)) "$tmp/orca.log" |
            grep -c '^vvvvv PROCESS ATSPI_KEY_RELEASED_EVENT')" -ge 3 ] ||
            { show; fail "$k did not repeat while held"; }
        show
    done

    # A grade: the box as before, its text on the braille display too, then the next
    # problem's digits.
    score=$(e2e_start_points "$tries" 3124)
    line=$(re "$(tx GameFlow $'今回のスコア:%1(%2)\n%3番目の計算を始めます。' "$score" "$score" 2)")
    step 90 alt+m
    says "$line" "the grade's box"
    shows "$line" "the grade's box on the braille display"
    show
    next=$(tx SpokenText '%1問目、数字 %2、%3、%4、%5' 2 1 6 0 3)
    step 90 Return
    says_once "$(re "$next")" "the next problem's digits after the grade"
    shows "$(re "$(tx SpokenText '= %1' "$next")")" "the next problem's digits with = on the braille display"
    show

    # The last grade ends the game: the entry dialog says the final score and its row before
    # the name box, and its braille line shows them once, the final score before the table.
    title=$(re "$(tx vostrel::CHiScoreDlg ハイスコア)")
    line=$(re "$(tx SpokenText '今回のスコア %1、%2位に入りました' @N@ 1)")
    line=${line//@N@/[0-9]+}
    step 90 alt+m
    says "^$title dialog $line" "the final score and its row"
    says "^$(re "$(tx SpokenText '%1位の名前' 1)") text" "the name box"
    collect
    score=$(grep -E -m 1 "^$title dialog $line" "$tmp/step" | sed "s/^$title dialog //" |
        grep -oE '[0-9]+' | head -n 1)
    show
    # Each key goes to Orca before the game, which takes it once Orca is done with it (or has
    # not answered in time): Return goes only after Orca has echoed the name and is idle, or
    # on a busy machine it may overtake the name's last keys.
    step 60 H a n a
    # Orca echoes each key: the last, the "a" after the "n", is waited for.
    says '^n $' "the name's keys"
    k=0
    while [ "$(collect && sed -n '/^n $/,$p' "$tmp/step" | grep -c '^a $')" -lt 1 ]; do
        k=$((k + 1))
        [ "$k" -lt 300 ] || { show; fail "the name's last key"; }
        sleep 0.2
    done
    settled
    step 90 Return
    says_once "$(re "$first")" "the next game's digits"
    show

    # The high-score table from the settings: every row once as it opens, then row by row.
    rows=()
    for k in 1 2 3 4 5; do
        case $k in
        1) name=Hana row=$score ;;
        *) name=P$((k - 2)) row=$((50 - 10 * (k - 2))) ;;
        esac
        rows+=("$(tx SpokenText '%1位、%2、%3点' "$k" "$name" "$row")")
    done
    line=${rows[0]}
    for k in 1 2 3 4; do line=$(tx SpokenText '%1。%2' "$line" "${rows[k]}"); done
    step 90 alt+s
    says "^$(re "$(tx vostrel::CSettingDlg 設定)") dialog" "the settings dialog"
    settled
    collect
    k=$(grep -nE -m 1 "^$(re "$(tx vostrel::CSettingDlg 設定)") dialog" "$tmp/step" | cut -d: -f1)
    ! head -n "$k" "$tmp/step" | grep -q 'selected' || { show; fail "a selection said before the settings"; }
    show
    step 90 alt+s
    says "^$title dialog $(re "$line")" "the whole table as it opens"
    for k in 0 1 2 3 4; do
        never "$(re "${rows[k]}").*$(re "${rows[k]}")" "row $((k + 1)) once as the table opens"
        [ "$(grep -cE -- "$(re "${rows[k]}")" "$tmp/step")" -eq 1 ] ||
            { show; fail "row $((k + 1)) once as the table opens (heard in several)"; }
    done
    shows_once "$(re "${rows[4]}")" "$(re "${rows[0]}")" "$(re "${rows[1]}")" \
        "the table on the braille display, each row once"
    show
    step 60 Tab
    says_once "^$(re "${rows[0]}") label" "the first row by Tab"
    shows_row 0 "the first row by Tab on the braille display"
    show
    for k in 1 2 3 4; do
        step 60 Down
        says_once "^$(re "${rows[k]}") label" "the row ${rows[k]} by the arrow key"
        shows_row "$k" "the row ${rows[k]} by the arrow key on the braille display"
        show
    done
    step 60 Escape
    says "^$(re "$(tx vostrel::CSettingDlg 設定)") dialog" "back in the settings"
    show
    step 60 Escape
    says "$(button 1 3 1 2 4)" "back in the game"
    show

    # The help is read as it opens: its first sentence, spoken and on the braille display.
    line=$(re "$(tx HelpText "$help_first")")
    step 90 F1
    says "$line" "the help's first sentence as it opens"
    shows "$line" "the help's first sentence on the braille display"
    show
    step 60 Escape
    says "$(button 1 3 1 2 4)" "back in the game after the help"
    show

    # The window menu from the keyboard: the Menu key, and Shift+F10 on a keyboard without one,
    # open it on its first entry, which is read; Escape closes it.
    line=$(tx vostrel::CGameDlg '最小化(&N)')
    line=$(re "${line/&/}")
    for k in Menu shift+F10; do
        step 60 "$k"
        says "^$line" "the window menu's first entry after $k"
        show
        step 60 Escape
        says "$(button 1 3 1 2 4)" "back in the game after the window menu ($k)"
        show
    done

    # No game is under way: Alt+X ends the program.
    end_game
}

# The help's first sentence, as the help's source holds it: the heading its translator comment
# names as the first section's.
help_first=$(sed -n '/Heading of the help.s first section/,$ s/^.*Tr("HelpText", "\([^"]*\)").*$/\1/p' \
    "$here/../../game/HelpText.cpp" | head -n 1)
[ -n "$help_first" ] || fail "no first sentence found in the help's source"

# The game that the first start left under way goes on: its box says so with the problem and
# its digits, spoken and on the braille display, and "=" names them after it.
kept_start() {
    local box problem
    start_game kept
    box=$(re "$(tx GameFlow $'前回のゲームの続きです。\n%1' '' | sed 's/ *$//')")
    problem=$(re "$(tx SpokenText '%1問目、数字 %2、%3、%4、%5' 1 3 1 2 4)")
    says "$box" "the kept game's box"
    says "$problem" "the kept game's problem in its box"
    shows "$problem" "the kept game's problem on the braille display"
    show
    step 90 Return
    says "$(button 1 3 1 2 4)" "the = button after the kept game's box"
    show
    step 90 alt+x
    says "$(re "$(tx GameFlow 終了しますか)")" "the exit question of the kept game"
    show
    xdotool key --clearmodifiers alt+y
    xs_wait_exit "$XS_APP_PID" 60 || fail "the game did not end"
    [ "$XS_STATUS" -eq 0 ] || fail "the game ended with status $XS_STATUS"
}

first_start en
kept_start
play ja
play en
echo "ok: in Japanese and English Orca said the digits once and showed them with =, 26 drops of a list alike (label, expanded, item chosen; spoken and brailled), every result and points, one try for each held key (Alt+=, Space, Return), the grade's box, the next digits, the final score and row, each row of the table once as it opened and alone on its braille line, the help as it opened and the window menu by the Menu key and Shift+F10"
