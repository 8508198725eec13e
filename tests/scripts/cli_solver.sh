#!/usr/bin/env bash
# vostrel-cli solve and atlas from outside: output formats, agreement with the brute force,
# error lines and exit statuses.
# Usage: bash cli_solver.sh BUILD_DIR
set -uo pipefail

# shellcheck source=cli_common.bash
source "$(dirname "$0")/cli_common.bash"

# --- solve: the six key-value lines in order
out=$("$cli" solve 5051)
rc=$?
[ "$rc" -eq 0 ] || fail "solve 5051: exit status $rc"
keys=$(printf '%s\n' "$out" | cut -d' ' -f1 | tr '\n' ' ')
[ "$keys" == "best value choice expression tens states " ] || fail "solve keys: $keys"
printf '%s\n' "$out" | grep -Eq '^choice power=[0-4]{4} op=[0-1][0-4]{3} rank=[0-3]{4}$' ||
    fail "solve choice line: $out"
printf '%s\n' "$out" | grep -qx 'states 1993210' || fail "solve states: $out"

# The choice line, fed to eval, gives the printed best and value.
field() { printf '%s\n' "$1" | sed -n "s/^$2 //p"; }
check_choice() {
    local ticket=$1 flags=$2 out=$3
    local choice p o r line
    choice=$(field "$out" choice)
    p=${choice#power=}; p=${p%% *}
    o=${choice#*op=}; o=${o%% *}
    r=${choice#*rank=}
    line=$(printf '%s %s %s %s 0 %s\n' "$ticket" "$p" "$o" "$r" "$flags" | "$cli" eval)
    [ "$line" == "0 $(field "$out" value) $(field "$out" best)" ] ||
        fail "solve $ticket ($flags): eval of the choice gives '$line'"
}
check_choice 5051 001 "$out"

# Against the brute force: the same best, value, tens and states (ties may pick another
# choice set of equal merit).
for args in "5051" "0000 --rto 0" "3807 --nsd 1 --nsr 1" "9999 --use-power 0 --rto 0"; do
    # shellcheck disable=SC2086
    fast=$("$cli" solve $args | grep -Ev '^(choice|expression) ')
    # shellcheck disable=SC2086
    slow=$("$cli" solve $args --brute-force | grep -Ev '^(choice|expression) ')
    [ "$fast" == "$slow" ] || fail "solve $args: fast
$fast
brute force
$slow"
done

# Known values, computed with the brute force; the points as the brute force gives them.
out=$("$cli" solve 1234 --use-power 0)
brute=$("$cli" solve 1234 --use-power 0 --brute-force)
[ "$(field "$out" best)" == "$(field "$brute" best)" ] ||
    fail "1234 without powers: best $(field "$out" best), brute force $(field "$brute" best)"
[ "$(field "$out" tens)" == "48" ] || fail "1234 without powers: tens $(field "$out" tens)"
[ "$(field "$out" states)" == "3698" ] || fail "1234 without powers: states"
[ "$(field "$out" expression)" == "-1 * (2 - 3 * 4)" ] ||
    fail "1234 without powers: expression $(field "$out" expression)"
check_choice 1234 001 "$out"
out=$("$cli" solve 5051)
brute=$("$cli" solve 5051 --brute-force)
[ "$(field "$out" best)" == "$(field "$brute" best)" ] || fail "5051: best $(field "$out" best)"
[ "$(field "$out" tens)" == "2520" ] || fail "5051: tens $(field "$out" tens)"

# --- solve: bad input, one line on stderr, exit 2
for args in "" "123" "12345" "12a4" "1234 --nsd 2" "1234 --rto" "1234 --bogus 1" "1234 5678"; do
    # shellcheck disable=SC2086
    "$cli" solve $args >"$tmp/out" 2>"$tmp/err"
    rc=$?
    [ "$rc" -eq 2 ] || fail "solve $args: exit status $rc, expected 2"
    [ ! -s "$tmp/out" ] || fail "solve $args: wrote to standard output"
    [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "solve $args: error is not one line"
done

# --- atlas: CSV, summary, agreement with solve
"$cli" atlas --use-power 0 --out "$tmp/a.csv" >"$tmp/sum" 2>"$tmp/err"
rc=$?
[ "$rc" -eq 0 ] || fail "atlas: exit status $rc"
[ "$(head -1 "$tmp/a.csv")" == "ticket,best,value,tens" ] || fail "atlas: header"
[ "$(wc -l <"$tmp/a.csv")" -eq 10001 ] || fail "atlas: row count"
out=$("$cli" solve 1234 --use-power 0)
grep -qx "1234,$(field "$out" best),$(field "$out" value),$(field "$out" tens)" "$tmp/a.csv" ||
    fail "atlas: row 1234 differs from solve"
[ "$(sed -n 2p "$tmp/a.csv" | cut -d, -f1)" == "0000" ] || fail "atlas: first ticket"
grep -q '10000/10000' "$tmp/err" || fail "atlas: no progress bar on stderr"
grep -qx 'tickets 10000' "$tmp/sum" || fail "atlas: tickets line"
made=$(awk -F, 'NR > 1 && $4 > 0' "$tmp/a.csv" | wc -l)
grep -Eq "^make10 $made [0-9]+\.[0-9]{2}%$" "$tmp/sum" || fail "atlas: make10 line vs CSV ($made)"
hist=$(awk '/^best /{s += $3} END {print s}' "$tmp/sum")
[ "$hist" == "10000" ] || fail "atlas: histogram sums to $hist"

# --- atlas --all-switches: the table, and every combination's rows as the single runs give them
"$cli" atlas --all-switches --out "$tmp/all.csv" >"$tmp/table" 2>"$tmp/err"
rc=$?
[ "$rc" -eq 0 ] || fail "atlas --all-switches: exit status $rc"
[ "$(head -1 "$tmp/all.csv")" == "nsd,nsr,rto,eu,ticket,best,value,tens" ] ||
    fail "atlas --all-switches: CSV header"
[ "$(wc -l <"$tmp/all.csv")" -eq 160001 ] || fail "atlas --all-switches: CSV row count"
rows_of() { awk -F, -v k="$1" 'NR > 1 && $1 $2 $3 $4 == k { print $5 "," $6 "," $7 "," $8 }' \
    "$tmp/all.csv"; }
# The single run above: powers off, the other switches as in a new settings file.
[ "$(rows_of 0010)" == "$(tail -n +2 "$tmp/a.csv")" ] ||
    fail "atlas --all-switches: rows of 0 0 1 0 differ from the single run"
[ "$(sed -n 2p "$tmp/table")" == "|---|---|---|---|---|---|" ] || fail "atlas --all-switches: table"
[ "$(grep -c '^| [01] | [01] | [01] | [01] | ' "$tmp/table")" -eq 16 ] ||
    fail "atlas --all-switches: not 16 rows"
made=$(awk -F, 'NR > 1 && $8 > 0 { n[$1 " " $2 " " $3 " " $4]++ }
    END { for (k in n) printf "%s %d %.2f%%\n", k, n[k], n[k] / 100 }' "$tmp/all.csv" | sort)
table=$(awk -F' [|] ' '/^[|] [01] /{ print substr($1, 3), $2, $3, $4, $5, substr($6, 1, length($6) - 2) }' \
    "$tmp/table" | sort)
[ "$table" == "$made" ] || fail "atlas --all-switches: the table
$table
differs from the CSV
$made"
# A sample of tickets against solve under every combination.
for ticket in 0000 2031 3807 5051 6669 9753; do
    for combo in 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15; do
        set -- $((combo & 1)) $((combo >> 1 & 1)) $((combo >> 2 & 1)) $((combo >> 3 & 1))
        out=$("$cli" solve "$ticket" --nsd "$1" --nsr "$2" --rto "$3" --use-power "$4")
        want="$1,$2,$3,$4,$ticket,$(field "$out" best),$(field "$out" value),$(field "$out" tens)"
        got=$(grep "^$1,$2,$3,$4,$ticket," "$tmp/all.csv")
        [ "$got" == "$want" ] || fail "atlas --all-switches: '$got', solve: '$want'"
    done
done
"$cli" atlas --all-switches --nsd 1 >/dev/null 2>"$tmp/err"
rc=$?
[ "$rc" -eq 2 ] || fail "atlas --all-switches with a switch: exit status $rc"

"$cli" atlas --use-power 2 >/dev/null 2>"$tmp/err"
rc=$?
[ "$rc" -eq 2 ] || fail "atlas bad switch: exit status $rc"
if "$cli" atlas --out "$tmp/no/such/dir.csv" >/dev/null 2>"$tmp/err"; then
    fail "atlas unwritable file: success reported"
fi

finish
