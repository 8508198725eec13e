#pragma once
// What a join pattern fixes in an expression: which digits form each operand, where its
// operator and power sit, which operators a slot offers, and the points that every expression
// of the pattern earns. The evaluator's reduction plans and the search both read it from here.

#include "engine/ExpressionState.h"
#include "engine/PointRules.h"

#include <bit>
#include <cstdint>

namespace vostrel::shape {

// A join pattern: bit k - 1 set when gap k joins its digits.
inline constexpr unsigned kJoinPatterns = 1u << (kPositions - 1);

constexpr bool Joined(unsigned joins, int pos) {
    return pos >= 1 && ((joins >> (pos - 1)) & 1u) != 0;
}

inline unsigned JoinsOf(const ExpressionState& s) {
    return (s.op[1] == OpJoin ? 1u : 0u) | (s.op[2] == OpJoin ? 2u : 0u) |
           (s.op[3] == OpJoin ? 4u : 0u);
}

// The operands, left to right: runs of joined digits. An operand takes the operator and the
// rank of its first position and the power of its last digit.
struct Operands {
    int count = 0;
    int first[kPositions] = {};
    int last[kPositions] = {};
};

constexpr Operands OperandsOf(unsigned joins) {
    Operands o;
    for (int k = 0; k < kPositions; ++k) {
        if (Joined(joins, k)) {
            o.last[o.count - 1] = k;
        } else {
            o.first[o.count] = k;
            o.last[o.count] = k;
            ++o.count;
        }
    }
    return o;
}

// The operators a position offers besides the join, codes 0 up: the sign slot's two, a gap's
// four.
constexpr int32_t OperatorChoices(int pos) {
    return pos == 0 ? kSignMinus + 1 : OpJoin;
}

// Earned by every expression of the pattern: the implicit zero in front of the sign, which is
// an operand without power, and each join.
constexpr int32_t PatternPoints(unsigned joins) {
    return points::kPlainOperand + points::kJoin * std::popcount(joins);
}

// For a pair of neighbouring positions.
constexpr int32_t OrderBonus(int32_t leftRank, int32_t rightRank) {
    return leftRank > rightRank ? points::kOrderBonus : 0;
}

} // namespace vostrel::shape
