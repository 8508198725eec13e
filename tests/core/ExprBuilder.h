#pragma once
// Builds expressions straight from their codes, for tests that need states the window may not
// reach in a few clicks, and the results the engine should give for them.

#include "engine/Arithmetic.h"
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

// Both inexact switches off, other results scored: a new settings file.
inline constexpr ScoreSwitches kStrict{0, 0, 1};

inline EvalResult Ok(int32_t value, int32_t points) {
    return {EvalOk, value, points};
}
inline EvalResult Err(int32_t status) {
    return {status, 0, 0};
}

} // namespace vostrel::test_support
