#pragma once
// What each join pattern fixes, worked out once by the rules' own operations: the fresh
// expression with those gaps joined, the operands, and the points and choice sets that follow.

#include "engine/ExpressionShape.h"
#include "engine/ExpressionState.h"

#include <array>
#include <cstdint>

namespace vostrel::search {

struct JoinPattern {
    // A fresh expression (digits 0) with the gaps joined through the expression model, by
    // usePower: its joined ranks, and the power and rank labels left enabled.
    ExpressionState start[2];
    shape::Operands operands;
    // Besides the operators, powers and free ranks: what every choice set earns at 0 tries. The
    // base points, the implicit zero and the joins, and the order bonus of the pairs beside a
    // joined gap, whose rank comes before every free position's.
    int32_t points = 0;
    uint32_t choiceSets[2] = {}; // by usePower
};

const JoinPattern& JoinPatternOf(unsigned joins);

// The pattern's fresh expression with the digits d.
inline ExpressionState PatternState(const std::array<int32_t, kPositions>& d, unsigned joins,
                                    int32_t usePower) {
    ExpressionState s = JoinPatternOf(joins).start[usePower != 0 ? 1 : 0];
    for (int k = 0; k < kPositions; ++k) {
        s.digits[k] = d[k];
    }
    return s;
}

} // namespace vostrel::search
