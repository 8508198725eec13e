#pragma once
// Builds an expression straight from its codes, for tests that need states the window may not
// reach in a few clicks.

#include "engine/ExpressionState.h"

#include <array>
#include <cstdint>

namespace vostrel::test_support {

using Four = std::array<int32_t, 4>;

inline ExpressionState Expr(Four digits, Four ops = {0, 0, 0, 0}, Four ranks = {0, 1, 2, 3},
                            Four powers = {0, 0, 0, 0}) {
    ExpressionState s;
    for (int k = 0; k < 4; ++k) {
        s.digits[k] = digits[k];
        s.op[k] = ops[k];
        s.rank[k] = ranks[k];
        s.power[k] = powers[k];
    }
    return s;
}

} // namespace vostrel::test_support
