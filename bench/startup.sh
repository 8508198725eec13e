#!/usr/bin/env bash
# The start-up pair: the game against a bare Qt dialog (an IPA Gothic Japanese label and a
# button), the floor that every Qt Widgets program pays. Builds both, then starts them in turn
# (game, bare, game, bare, ...) on a private virtual X server, so that whatever else loads the
# machine hits both alike, and prints the medians and the ratios of the wall time from exec to
# the window mapped and of the peak resident memory (taken one second after the window shows),
# and, as a check on the noise, of the processor time used until the window was mapped.
# Usage: bash bench/startup.sh [--data DIR] [--instructions] [PAIRS] [BUILD_DIR]
#   (20 pairs and build/ by default)
# --data DIR: every file of DIR is put beside the settings file before the runs (a vostrel.dat
#   among them replaces the settings of the defaults), so that the start reads whatever else the
#   game keeps there, as a player's long-used folder holds it.
# --instructions: then one start of each under callgrind, counting the instructions executed
#   until the window's map request, which the load of the machine does not change.
# VOSTREL_GAME=PATH measures another build of the game against the same bare dialog.
set -euo pipefail

data=""
instructions=0
while [ $# -gt 0 ]; do
    case $1 in
    --data)
        data=$(cd "${2:?--data needs a folder}" && pwd)
        shift 2
        ;;
    --instructions)
        instructions=1
        shift
        ;;
    *) break ;;
    esac
done
pairs=${1:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$root/build}
settle_ms=1000

bash "$root/scripts/deps.sh" bench
if ! [ -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j2 --target vostrel vostrel-bare-dialog vostrel-startup-probe >/dev/null
probe=$build/bench/vostrel-startup-probe
bare=$build/bench/vostrel-bare-dialog

# shellcheck source-path=SCRIPTDIR source=../scripts/xsession.sh
source "$root/scripts/xsession.sh"
xs_begin
xs_start || exit 1

# The game in a folder of its own with a settings file of the defaults, so that it opens its
# window at once (no missing-file message) and never meets the player's own file or lock.
mkdir -m 0700 "$XS_WORK/game" "$XS_WORK/run"
cp "${VOSTREL_GAME:-$build/vostrel}" "$XS_WORK/game/vostrel"
cp "$root/fuzz/corpus/default.dat" "$XS_WORK/game/vostrel.dat"
if [ -n "$data" ]; then
    cp -R "$data"/. "$XS_WORK/game/"
    echo "beside the settings file, from $data: $(find "$data" -mindepth 1 -maxdepth 1 -printf '%f (%s bytes) ')"
fi
export XDG_RUNTIME_DIR=$XS_WORK/run

# Prints the median of the numbers on standard input.
median() {
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
# One start of each first, not counted: the disk cache and the font cache warm for both.
"$probe" "$settle_ms" "$XS_WORK/game/vostrel" >/dev/null
"$probe" "$settle_ms" "$bare" >/dev/null
: >"$XS_WORK/game.txt"
: >"$XS_WORK/bare.txt"
for _ in $(seq "$pairs"); do
    "$probe" "$settle_ms" "$XS_WORK/game/vostrel" >>"$XS_WORK/game.txt"
    "$probe" "$settle_ms" "$bare" >>"$XS_WORK/bare.txt"
done
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"

game_ms=$(cut -d' ' -f1 "$XS_WORK/game.txt" | median)
bare_ms=$(cut -d' ' -f1 "$XS_WORK/bare.txt" | median)
game_kib=$(cut -d' ' -f2 "$XS_WORK/game.txt" | median)
bare_kib=$(cut -d' ' -f2 "$XS_WORK/bare.txt" | median)
game_cpu=$(cut -d' ' -f3 "$XS_WORK/game.txt" | median)
bare_cpu=$(cut -d' ' -f3 "$XS_WORK/bare.txt" | median)
echo "$pairs pairs, medians:"
awk -v gm="$game_ms" -v bm="$bare_ms" -v gk="$game_kib" -v bk="$bare_kib" \
    -v gc="$game_cpu" -v bc="$bare_cpu" 'BEGIN {
    printf "| | game | bare dialog | ratio |\n|---|---|---|---|\n"
    printf "| start-up, wall | %.0f ms | %.0f ms | %.2fx |\n", gm, bm, gm / bm
    printf "| peak memory | %.1f MiB | %.1f MiB | %.2fx |\n", gk / 1024, bk / 1024, gk / bk
    printf "| processor time to the window | %.0f ms | %.0f ms | %.2fx |\n", gc, bc, gc / bc
}'
# The spread, to judge the noise: the quartiles of each.
for f in game bare; do
    printf '%s wall ms, quartiles: %s\n' "$f" \
        "$(cut -d' ' -f1 "$XS_WORK/$f.txt" | sort -g | awk '{ v[NR] = $1 } END { printf "%s %s %s", v[int(NR / 4) + 1], v[int(NR / 2) + 1], v[int(3 * NR / 4) + 1] }')"
done

# Instructions until the window's map request (Qt's xcb_map_window), every thread counted; the
# probe ends each program once it has shown its window.
if [ "$instructions" = 1 ]; then
    declare -A ir
    for f in game bare; do
        prog=$XS_WORK/game/vostrel
        [ "$f" = bare ] && prog=$bare
        "$probe" 0 "$(command -v valgrind)" --tool=callgrind --dump-before=xcb_map_window \
            --callgrind-out-file="$XS_WORK/$f.cg" "$prog" >/dev/null 2>"$XS_WORK/$f.cg.log"
        ir[$f]=$(sed -n 's/^summary: //p' "$XS_WORK/$f.cg.1" 2>/dev/null)
        if [ -z "${ir[$f]}" ]; then
            echo "no count for the $f: it made no map request" >&2
            exit 1
        fi
    done
    awk -v g="${ir[game]}" -v b="${ir[bare]}" 'BEGIN {
        printf "instructions to the map request: game %d, bare dialog %d, ratio %.3fx\n", g, b, g / b
    }'
fi
