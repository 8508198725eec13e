# shellcheck shell=bash disable=SC2034  # game, cli, data and player_env are read by the sourcing tests
# Sourced by the installed game's tests after scripts/xsession.sh and xs_begin: the player, a
# home and a runtime folder of the player's own, and the check that vostrel.dat is whole.
# Run by root, the game runs as nobody: root may write /usr/games, where the game would keep
# its vostrel.dat beside itself.

game=/usr/games/vostrel
cli=/usr/games/vostrel-cli
home="$XS_WORK/home"
run="$XS_WORK/run"
mkdir -m 0700 "$home" "$run"
as_player=()
if [ "$(id -u)" -eq 0 ]; then
    as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    chmod 0755 "$XS_WORK"
    chown nobody:nogroup "$home" "$run"
fi
data="$home/.local/share/vostrel/vostrel.dat"

# A command as the player with a clean environment: the home, the runtime folder and the
# variables given. Started in the background, its process id is the program's own.
player_env=("${as_player[@]}" env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8
    XDG_RUNTIME_DIR="$run")

# vostrel.dat is whole: the companion loads it without a fault, and what a save of the loaded
# settings would write is the file, byte for byte.
check_whole() {
    [ -f "$data" ] || fail "no $data"
    cmp <(printf 'load 0\n' && cat "$data") <("$cli" settings "$data") ||
        fail "vostrel.dat does not load back to the same bytes"
}
