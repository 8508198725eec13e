#!/usr/bin/env bash
# The game in the player's language, under generated locales on a virtual X display with a
# window manager, read as a screen reader reads it: under en_US.UTF-8, and under a locale such
# as de_DE.UTF-8 whose language the game has no translation for, the first-start box, the game
# window, the help, the help's context menu (Qt's own texts) and the exit question show no
# Japanese; under ja_JP.UTF-8 and C.UTF-8 they are Japanese as always, Qt's context menu
# included. F1 opens the help and Esc closes it in every language.
# Usage: bash e2e_language.sh BUILD_DIR
set -euo pipefail

build="${1:?usage: e2e_language.sh BUILD_DIR}"
[ -x "$build/vostrel" ] || exit 77
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source-path=SCRIPTDIR source=../../scripts/xsession.sh
source "$here/../../scripts/xsession.sh"
xs_require Xvfb xdotool openbox dbus-run-session
xs_require_atspi
# An ungenerated locale falls back to C inside Qt and loses Return in a message box.
for l in ja_JP.utf8 en_US.utf8; do
    if ! locale -a | grep -qx "$l"; then
        echo "skipped: locale $l is not generated (scripts/deps.sh test generates it)"
        exit 77
    fi
done
# A generated locale of a language the game has no translation for, whichever are added.
untranslated=$(locale -a | sed -n 's/^\([a-z][a-z]_[A-Z][A-Z]\)\.utf8$/\1/p' | while read -r l; do
    case ${l%_*} in ja | en) continue ;; esac
    [ -e "$here/../../resources/translations/vostrel_${l%_*}.ts" ] || {
        echo "$l"
        break
    }
done)
if [ -z "$untranslated" ]; then
    echo "skipped: no locale of an untranslated language is generated (scripts/deps.sh test)"
    exit 77
fi
# A session bus of its own, ended with the script.
xs_own_bus 400 "$0" "$@"

xs_begin
tmp=$XS_WORK
# shellcheck source-path=SCRIPTDIR source=e2e_common.bash
source "$here/e2e_common.bash"

xs_start || fail "no X server"
xs_start_wm || fail "no window manager"
xs_start_atspi

# What the reader finds in the game's windows now, in $tmp/texts.
read_texts() {
    timeout 60 "$py" "$here/a11y_texts.py" "$1" >"$tmp/texts" || fail "cannot read the windows"
}
has_japanese() {
    LC_ALL=C.UTF-8 grep -qP '[\x{3000}-\x{9fff}\x{ff00}-\x{ffef}]' "$tmp/texts"
}
# $1 the locale; the window titles and a text of each window in that language follow.
play() {
    local locale=$1 box_title=$2 box_text=$3 help_title=$4 grade=$5 exit_title=$6 exit_text=$7
    local select_all=$8
    local dir="$tmp/$locale" box main help question
    mkdir "$dir"
    cp "$build/vostrel" "$dir/vostrel"
    echo "== $locale"
    # No vostrel.dat yet: the first start says so.
    env -u LANGUAGE -u LC_MESSAGES LC_ALL="$locale" LANG="$locale" "$dir/vostrel" \
        >"$tmp/game.log" 2>&1 &
    XS_APP_PID=$!
    box=$(xs_wait_window "^$box_title\$" "$XS_APP_PID") || fail "no first-start box"
    read_texts Vostrel
    expect_language "$locale" "the first-start box" "$box_text"
    xs_keys "$box" Return
    main=$(xs_wait_window '^Vostrel$' "$XS_APP_PID") || fail "Return left the first-start box"
    read_texts Vostrel
    expect_language "$locale" "the game window" "$grade"

    xs_keys "$main" F1
    help=$(xs_wait_window "^$help_title\$" "$XS_APP_PID") || fail "F1 opened no help"
    # Qt's own texts: the context menu of the help's text, which has the focus. A menu is no
    # window of the tree; the reader meets its items as they take the focus. Up selects the
    # last item; on a busy machine its event may come late, and Down Up selects it again.
    xs_keys "$help" Menu
    xs_wait_count "$XS_APP_PID" 3 || fail "the Menu key opened no context menu in the help"
    local keys=(Up) try
    for try in 1 2 3; do
        timeout 60 "$py" "$here/a11y_tree.py" focus Vostrel 0 "${keys[@]}" >"$tmp/texts" || true
        grep -qF "$select_all" "$tmp/texts" && break
        keys=(Down Up)
    done
    grep -qF "$select_all" "$tmp/texts" ||
        { cat "$tmp/texts"; fail "the help's context menu under $locale lacks '$select_all'"; }
    expect_language "$locale" "Qt's context menu" "$select_all"
    xs_keys "$help" Escape
    xs_wait_count "$XS_APP_PID" 2 || fail "Esc left the context menu open"
    xs_keys "$help" Escape
    xs_wait_gone "^$help_title\$" 10 || fail "Esc left the help open"

    # The settings: the count steps from the 3 it shows; Down and 変更 (G in every language)
    # make it 4.
    xs_keys "$main" alt+s
    xs_wait_count "$XS_APP_PID" 2 || fail "Alt+S opened no settings dialog"
    xdotool key --clearmodifiers Down alt+g
    xs_wait_count "$XS_APP_PID" 1 || fail "Alt+G left the settings dialog open"

    # A game under way: the exit asks.
    xs_keys "$main" alt+equal alt+x
    question=$(xs_wait_window "^$exit_title\$" "$XS_APP_PID") || fail "no exit question"
    read_texts Vostrel
    expect_language "$locale" "the exit question" "$exit_text"
    xs_keys "$question" alt+y
    xs_wait_exit "$XS_APP_PID" 20 || fail "Yes did not end the game"
    [ "$XS_STATUS" -eq 0 ] || fail "the game ended with status $XS_STATUS"
    [ -s "$dir/vostrel.dat" ] || fail "no settings file after the game"
    grep -aqx $'rn:4\r' "$dir/vostrel.dat" ||
        fail "Down from the count 3 did not give 4: $(grep -a '^rn:' "$dir/vostrel.dat")"
    echo "ok: the count steps from the value shown"
}
# $1 the locale, $2 what is read, $3 a text that must be among it.
expect_language() {
    grep -qF "$3" "$tmp/texts" || { cat "$tmp/texts"; fail "$2 under $1 lacks '$3'"; }
    if [[ $1 == en_* || $1 == "$untranslated".* ]]; then
        if has_japanese; then
            cat "$tmp/texts"
            fail "$2 under $1 shows Japanese"
        fi
    elif ! has_japanese; then
        cat "$tmp/texts"
        fail "$2 under $1 is not in Japanese"
    fi
    echo "ok: $2"
}

english=(
    'Settings File Error' 'The settings file was not found' 'Vostrel Help' "push button 'Submit'"
    'Confirm Exit' 'Exit the game?' 'Select All'
)
japanese=(
    '設定ファイルエラー' '設定ファイルが見つからないので初期化します。' 'Vostrel のヘルプ'
    "push button '採点(M)'" '終了確認' '終了しますか' 'すべてを選択'
)
play en_US.UTF-8 "${english[@]}"
play "$untranslated.UTF-8" "${english[@]}"
play ja_JP.UTF-8 "${japanese[@]}"
play C.UTF-8 "${japanese[@]}"
echo "ok: English under en_US.UTF-8 and $untranslated.UTF-8, Japanese under ja_JP.UTF-8 and C.UTF-8," \
    "Qt's texts with them; F1 opens the help"
