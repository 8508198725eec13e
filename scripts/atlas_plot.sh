#!/usr/bin/env bash
# Solves every ticket under all 16 switch combinations, draws the atlas of the default
# combination to docs/atlas.png and writes the "Atlas" section of README.md: the plot and the
# share of tickets that can make 10 under each combination.
# Usage: scripts/atlas_plot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh docs
build_dir=${1:-build}
if ! [ -f "$build_dir/build.ninja" ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build_dir" --target vostrel-cli >/dev/null
cli="$build_dir/tools/vostrel-cli"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One pass scores every ticket under all 16 combinations.
table="$work/table.md"
"$cli" atlas --all-switches --out "$work/all.csv" >"$table" 2>/dev/null

# The default switches of a new settings file: a 100 x 100 map, first two digits up, last two
# across, coloured by the best points; tickets that cannot make 10 are marked.
awk -F, 'NR > 1 && $1 == 0 && $2 == 0 && $3 == 1 && $4 == 1 {
    t = $5 + 0; print t % 100, int(t / 100), $6, $8 }' "$work/all.csv" >"$work/grid.dat"
awk '$4 == 0' "$work/grid.dat" >"$work/no10.dat"
gnuplot <<GNUPLOT
set terminal pngcairo size 900,820 font "sans,11"
set output "docs/atlas.png"
set title "Best points per ticket (switches 0, 0, 1, 1); x: cannot make 10"
set xlabel "last two digits"
set ylabel "first two digits"
set xrange [-0.5:99.5]
set yrange [-0.5:99.5]
set xtics 10
set ytics 10
set size ratio -1
set cblabel "best points"
set palette defined (0 "#313695", 1 "#4575b4", 2 "#74add1", 3 "#abd9e9", 4 "#fee090", 5 "#fdae61", 6 "#f46d43", 7 "#a50026")
plot "$work/grid.dat" using 1:2:3 with image notitle, \
     "$work/no10.dat" using 1:2 with points pt 2 ps 0.35 lc rgb "black" notitle
GNUPLOT

section="$work/section.md"
{
    echo "<!-- atlas:begin (written by scripts/atlas_plot.sh) -->"
    echo "## Atlas"
    echo
    echo "\`vostrel-cli atlas\` solves all 10,000 tickets 0000 to 9999 exactly, by the game's own"
    echo "rules: every choice set the window can build, scored at 0 tries. The map shows the best"
    echo "points of each ticket under the switches of a new settings file; a cross marks a ticket"
    echo "that cannot make 10."
    echo
    echo "![Best points of every ticket](docs/atlas.png)"
    echo
    echo "Tickets that can make 10 under each combination of the switches (\`vostrel-cli atlas"
    echo "--all-switches\`, which solves each ticket once and scores it under all 16):"
    echo
    cat "$table"
    echo "<!-- atlas:end -->"
} >"$section"

# Replace the section in place, or append it at the end.
if grep -q '^<!-- atlas:begin' README.md; then
    awk -v file="$section" '
        /^<!-- atlas:begin/ { while ((getline line < file) > 0) print line; skip = 1; next }
        /^<!-- atlas:end/ { skip = 0; next }
        !skip { print }' README.md >"$work/README.md"
else
    { cat README.md; echo; cat "$section"; } >"$work/README.md"
fi
cp "$work/README.md" README.md
echo "docs/atlas.png and the Atlas section of README.md written"
