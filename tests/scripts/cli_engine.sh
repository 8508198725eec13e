#!/usr/bin/env bash
# vostrel-cli eval and model from outside: output formats, error lines and exit statuses.
# Usage: bash cli_engine.sh BUILD_DIR
set -uo pipefail

# shellcheck source=cli_common.bash
source "$(dirname "$0")/cli_common.bash"

# expect NAME EXPECTED_STATUS EXPECTED_STDOUT -- ARGS... (stdin from $input)
expect() {
    local name=$1 want_rc=$2 want_out=$3
    shift 4
    local out rc
    out=$(printf '%s' "$input" | "$cli" "$@" 2>"$tmp/err")
    rc=$?
    [ "$rc" -eq "$want_rc" ] || fail "$name: exit status $rc, expected $want_rc"
    [ "$out" == "$want_out" ] || fail "$name: output
$out
expected
$want_out"
}

# --- eval

# The expected points, from the point table.
declare -A pt
for name in kPlainOperand kAdd kSub kMul kExactDiv kJoin kInexactPenalty kOrderBonus kFirstTry \
    kPerTry kTargetBonus kZeroBonus; do
    pt[$name]=$(rule "$name")
    [ -n "${pt[$name]}" ] || fail "no $name in the point table"
done
# Each operand counts (the zero in front of the sign too; a join makes one of two digits), each
# operator (the sign slot's "no sign" adds), each pair of ranks out of order, the tries, 10.
start=$((5 * pt[kPlainOperand] + 4 * pt[kAdd])) # 0+1+2+3+4
first_ten=$((pt[kFirstTry] + pt[kTargetBonus]))
# 50 / 5 * 1 from 5051: four operands, the sign, a join, a division and a product, one pair.
joined=$((4 * pt[kPlainOperand] + pt[kAdd] + pt[kJoin] + pt[kExactDiv] + pt[kMul]))
joined=$((joined + pt[kOrderBonus]))
# 2 * (3 + 4 - 2) from 2342 after one try: five operands, the sign, a product, a sum and a
# difference, two pairs.
ordered=$((5 * pt[kPlainOperand] + 2 * pt[kAdd] + pt[kMul] + pt[kSub] + 2 * pt[kOrderBonus]))

input=$'1234 0000 0000 0123 0 001\n5051 0000 0432 1023 0 001\n2342 0000 0201 3201 1 001\n'
expect "eval worked examples" 0 "0 10 $((start + first_ten))
0 10 $((joined + first_ten))
0 10 $((ordered + first_ten - pt[kPerTry]))" -- eval

input=$'0000 0000 0000 0123 0 000\n7235 0000 0300 0123 0 101\n7234 0000 0300 0123 0 001\n'
input+=$'1291 0004 0444 3012 0 001\n2031 1000 0300 0123 0 011\n2031 1000 0300 0123 0 001\n'
input+=$'1234 0000 0000 3210 10 001\n'
# Another result keeps only a total that is not positive; ten tries leave no base points.
expect "eval statuses and points" 0 "0 0 0
0 11 $((5 * pt[kPlainOperand] + 3 * pt[kAdd] + pt[kInexactPenalty] + pt[kFirstTry]))
-3 0 0
-2 0 0
-1 0 0
-4 0 0
0 10 $((start + 3 * pt[kOrderBonus] + pt[kTargetBonus]))" -- eval

# Every malformed line is answered in its place; the lines around it still count.
input=$'1234 0000 0000 0123 0 001\n'
input+=$'123 0000 0000 0123 0 001\n'
input+=$'12a4 0000 0000 0123 0 001\n'
input+=$'1234 0500 0000 0123 0 001\n'
input+=$'1234 0000 2000 0123 0 001\n'
input+=$'1234 0000 0005 0123 0 001\n'
input+=$'1234 0000 0000 0113 0 001\n'
input+=$'1234 0000 0000 0124 0 001\n'
input+=$'1234 0000 0000 0123 11 001\n'
input+=$'1234 0000 0000 0123 -1 001\n'
input+=$'1234 0000 0000 0123 0 002\n'
input+=$'1234 0000 0000 0123 0 0011\n'
input+=$'1234 0000 0000 0123 0\n'
input+=$'1234 0000 0000 0123 0 001 9\n'
input+=$'\n'
input+=$'1234 0000 0000 0123 0 001\r\n'
input+=$'1234  0000\t0000 0123 4 001'
out=$(printf '%s' "$input" | "$cli" eval 2>/dev/null)
rc=$?
[ "$rc" -eq 1 ] || fail "eval with malformed lines: exit status $rc, expected 1"
[ "$(printf '%s\n' "$out" | wc -l)" -eq 17 ] || fail "eval with malformed lines: $(printf '%s\n' "$out" | wc -l) output lines, expected 17"
[ "$(printf '%s\n' "$out" | grep -c '^error: .')" -eq 14 ] || fail "eval: expected 14 error lines:
$out"
[ "$(printf '%s\n' "$out" | sed -n '1p;16p')" == "0 10 $((start + first_ten))
0 10 $((start + first_ten))" ] ||
    fail "eval: good lines around errors:
$out"
[ "$(printf '%s\n' "$out" | sed -n 17p)" == "0 10 $((start + first_ten - 4 * pt[kPerTry]))" ] ||
    fail "eval: blanks between fields, no final newline"
printf '%s\n' "$out" | sed -n 2,15p | grep -v '^error: ' && fail "eval: a malformed line got a result"

input=""
expect "eval of nothing" 0 "" -- eval
input=""
expect "eval with an argument" 2 "" -- eval --fast
[ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "eval with an argument: expected a one-line error"

# A million varied lines, every one answered.
awk 'BEGIN {
    split("0123 1023 3201 3012 2130 0321", r, " ");
    for (i = 0; i < 1000000; i++)
        printf "%04d %d%d%d%d %d%d%d%d %s %d %d%d1\n", i % 10000, i % 5, 0, (i / 7) % 5, 0,
            i % 2, (i / 3) % 5, (i / 11) % 4, (i / 13) % 5, r[i % 6 + 1], i % 11, i % 2, (i / 2) % 2
}' >"$tmp/million"
"$cli" eval <"$tmp/million" >"$tmp/million.out"
rc=$?
[ "$rc" -eq 0 ] || fail "million-line eval: exit status $rc"
lines=$(wc -l <"$tmp/million.out")
[ "$lines" -eq 1000000 ] || fail "million-line eval: $lines output lines"
grep -qvE '^-?[0-4] -?[0-9]+ -?[0-9]+$' "$tmp/million.out" && fail "million-line eval: a line out of format"
[ "$(sed -n 1p "$tmp/million.out")" == "0 0 $((start + pt[kFirstTry] + pt[kZeroBonus]))" ] ||
    fail "million-line eval: first line"

# --- model

input=$'gap 1 4\n'
expect "model example" 0 "power=0000 op=0400 rank=1023 power_on=0111 rank_on=1011" -- model

input=$'gap 1 4\ngap 3 4\ngap 1 0\npower 0 3\nsign 1\nrank 0 0\nreset\n'
expect "model joins and release" 0 "power=0000 op=0400 rank=1023 power_on=0111 rank_on=1011
power=0000 op=0404 rank=2031 power_on=0101 rank_on=1010
power=0000 op=0004 rank=2130 power_on=1101 rank_on=1110
power=3000 op=0004 rank=2130 power_on=1101 rank_on=1110
power=3000 op=1004 rank=2130 power_on=1101 rank_on=1110
power=3000 op=1004 rank=1230 power_on=1101 rank_on=1110
power=0000 op=0000 rank=0123 power_on=1111 rank_on=1111" -- model

# Commands the window could not issue change nothing.
input=$'power 1 2\ngap 1 4\npower 0 3\nrank 1 3\npower 4 1\npower 1 5\nsign 2\ngap 0 1\n'
input+=$'gap 2 5\nrank 0 4\nrank 4 0\nfly 1 2\npower 1\ngap 2 x\n\nrank 0 0\n'
expect "model refusals" 1 "power=0200 op=0000 rank=0123 power_on=1111 rank_on=1111
power=0200 op=0400 rank=1023 power_on=0111 rank_on=1011
error: power: the label is disabled (left digit of a join)
error: rank: the label is disabled (joined gap)
error: power: digit K must be 0-3
error: power: KIND must be 0-4
error: sign: KIND must be 0-1
error: gap: K must be 1-3
error: gap: KIND must be 0-4
error: rank: R must be 0-3
error: rank: position P must be 0-3
error: unknown command; expected reset, power, sign, gap or rank
error: usage: power K KIND
error: gap: KIND must be 0-4
error: empty line; expected reset, power K KIND, sign KIND, gap K KIND or rank P R
power=0200 op=0400 rank=1023 power_on=0111 rank_on=1011" -- model

input=$'power 0 1\ngap 2 4\ngap 2 2\n'
expect "model without powers" 1 "error: power: the label is disabled (powers are off)
power=0000 op=0040 rank=1203 power_on=0000 rank_on=1101
power=0000 op=0020 rank=1203 power_on=0000 rank_on=1111" -- model --use-power 0
input=$'gap 2 4\n'
expect "model --use-power=1" 0 "power=0000 op=0040 rank=1203 power_on=1011 rank_on=1101" \
    -- model --use-power=1
input=$'sign 1\n'
expect "model --use-power 1" 0 "power=0000 op=1000 rank=0123 power_on=1111 rank_on=1111" \
    -- model --use-power 1
for args in "--use-power 2" "--use-power" "--power 1" "extra"; do
    # shellcheck disable=SC2086
    expect "model $args" 2 "" -- model $args
    [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "model $args: expected a one-line error"
done

# --- the program

input=""
expect "unknown command" 2 "" -- frobnicate
[ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "unknown command: expected a one-line error"
help=$("$cli" --help)
rc=$?
[ "$rc" -eq 0 ] || fail "--help: exit status $rc"
for word in eval model settings DDDD "power=pppp" --all-switches; do
    grep -qF -- "$word" <<<"$help" || fail "--help does not mention $word"
done

finish
