#pragma once
// The best expression for four digits: every choice set that the game window can build from a
// fresh problem, scored by Evaluate's rules at tryCount 0.

#include "engine/Arithmetic.h"
#include "engine/ExpressionState.h"

#include <array>
#include <cstdint>

namespace vostrel {

using Digits = std::array<int32_t, kPositions>;

struct SolveSwitches {
    ScoreSwitches score;
    int32_t usePower = 1; // tested as non-zero

    friend bool operator==(const SolveSwitches&, const SolveSwitches&) = default;
};

struct SolveResult {
    // EvalBadInput when a digit is outside 0..9; everything else is then 0 or default.
    int32_t status = EvalOk;
    // False when no choice set evaluates without error (then best and value are 0 and choice
    // is the fresh expression). Four valid digits always have one: the sum of the digits.
    bool found = false;
    int32_t best = 0;  // points of the best choice set
    int32_t value = 0; // its result
    ExpressionState choice;
    uint32_t tens = 0;   // choice sets with status EvalOk and result 10
    uint32_t states = 0; // choice sets considered
};

// Among choice sets with equal points the better one has result 10, then fewer joins and
// powers, then a result nearer to 10, then the smaller result. Equal on all of these, the
// first one that the search meets is kept, so the answer is deterministic.
bool BetterSolution(int32_t points, int32_t value, int32_t joinsAndPowers, int32_t bestPoints,
                    int32_t bestValue, int32_t bestJoinsAndPowers);

// Gaps holding OpJoin plus powers other than PowNone.
int32_t JoinsAndPowers(const ExpressionState& s);

// Exact and fast: evaluation trees instead of rank orders, sub-results merged by value.
SolveResult Solve(const Digits& digits, const SolveSwitches& sw);

// The reference: Evaluate on every choice set, one after the other.
SolveResult SolveBruteForce(const Digits& digits, const SolveSwitches& sw);

} // namespace vostrel
