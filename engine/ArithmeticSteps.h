#pragma once
// The bodies of ApplyPower and ApplyOp for the evaluator's reduce loop. Each step gives its
// status; on success it stores its result in `out` and adds its points to `points`, so that the
// loop keeps its values in registers instead of passing a result record through memory.
// Internal to the engine: use Arithmetic.h.

#include "engine/Arithmetic.h"
#include "engine/ExpressionState.h"

#include <limits>

namespace vostrel::steps {

constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax = std::numeric_limits<int32_t>::max();

constexpr int32_t kInexactPenalty = -500;

constexpr bool Fits(int64_t v) {
    return v >= kMin && v <= kMax;
}

// An inexact root or division: refused, or allowed at a cost.
inline int32_t Inexact(int64_t nearest, int32_t allowed, int32_t status, int32_t& out,
                       int32_t& points) {
    if (allowed == 0) {
        return status;
    }
    out = static_cast<int32_t>(nearest);
    points += kInexactPenalty;
    return EvalOk;
}

// Roots, squares and cubes; in Arithmetic.cpp.
int32_t RaiseStep(int32_t v, int32_t kind, const ScoreSwitches& sw, int32_t& out, int32_t& points);

// Most operands carry no power or are intermediate results: those stay inline.
inline int32_t PowerStep(int32_t v, int32_t kind, const ScoreSwitches& sw, int32_t& out,
                         int32_t& points) {
    if (kind == PowSpent) {
        out = v;
        return EvalOk;
    }
    if (kind == PowNone) {
        out = v;
        points += 20;
        return EvalOk;
    }
    return RaiseStep(v, kind, sw, out, points);
}

inline int32_t OpStep(int32_t a, int32_t b, int32_t kind, const ScoreSwitches& sw, int32_t& out,
                      int32_t& points) {
    int64_t r = 0;
    int32_t earned = 0;
    switch (kind) {
    case OpAdd:
        r = static_cast<int64_t>(a) + b;
        earned = 50;
        break;
    case OpSub:
        r = static_cast<int64_t>(a) - b;
        earned = 50;
        break;
    case OpMul:
        r = static_cast<int64_t>(a) * b;
        earned = 100;
        break;
    case OpDiv: {
        if (b == 0) {
            return EvalDivByZero;
        }
        if (a == kMin && b == -1) {
            return EvalOverflow;
        }
        const int32_t q = a / b;
        if (a % b != 0) {
            return Inexact(q, sw.scoreInexactDivision, EvalInexactDiv, out, points);
        }
        out = q;
        points += 150;
        return EvalOk;
    }
    default:
        return EvalBadInput;
    }
    if (!Fits(r)) {
        return EvalOverflow;
    }
    out = static_cast<int32_t>(r);
    points += earned;
    return EvalOk;
}

} // namespace vostrel::steps
