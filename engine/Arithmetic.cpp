#include "engine/Arithmetic.h"

#include "engine/ExpressionState.h"

#include <cmath>
#include <limits>

namespace vostrel {

namespace {

constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax = std::numeric_limits<int32_t>::max();

constexpr int32_t kInexactPenalty = -500;

constexpr EvalResult Fail(int32_t status) {
    return {status, 0, 0};
}

constexpr bool Fits(int64_t v) {
    return v >= kMin && v <= kMax;
}

// 0 and 1 are their own powers and roots, so they earn only the points of a plain operand.
constexpr int32_t PowerPoints(int32_t v, int32_t points) {
    return (v == 0 || v == 1) ? 20 : points;
}

EvalResult Inexact(int64_t nearest, int32_t allowed, int32_t status) {
    if (allowed == 0) {
        return Fail(status);
    }
    return {EvalOk, static_cast<int32_t>(nearest), kInexactPenalty};
}

} // namespace

EvalResult ApplyPower(int32_t v, int32_t kind, const ScoreSwitches& sw) {
    switch (kind) {
    case PowSpent:
        return {EvalOk, v, 0};
    case PowNone:
        return {EvalOk, v, 20};
    case PowSqrt: {
        if (v < 0) {
            return Fail(EvalInexactRoot);
        }
        // Adding 0.5 lands exact roots on their integer despite rounding in the root.
        const int64_t r = static_cast<int64_t>(std::sqrt(static_cast<double>(v)) + 0.5);
        if (r * r == v) {
            return {EvalOk, static_cast<int32_t>(r), PowerPoints(v, 50)};
        }
        return Inexact(r, sw.scoreInexactRoot, EvalInexactRoot);
    }
    case PowCbrt: {
        const int64_t m = v < 0 ? -static_cast<int64_t>(v) : v;
        const int64_t r = static_cast<int64_t>(std::cbrt(static_cast<double>(m)) + 0.5);
        const int64_t root = v < 0 ? -r : r;
        if (r * r * r == m) {
            return {EvalOk, static_cast<int32_t>(root), PowerPoints(v, 60)};
        }
        return Inexact(root, sw.scoreInexactRoot, EvalInexactRoot);
    }
    case PowSquare: {
        const int64_t sq = static_cast<int64_t>(v) * v;
        if (sq > kMax) {
            return Fail(EvalOverflow);
        }
        return {EvalOk, static_cast<int32_t>(sq), PowerPoints(v, 80)};
    }
    case PowCube: {
        const int64_t sq = static_cast<int64_t>(v) * v;
        // Past the 32-bit range the square already rules the cube out, and the product below
        // stays within 64 bits.
        if (sq > kMax) {
            return Fail(EvalOverflow);
        }
        const int64_t cube = sq * v;
        if (!Fits(cube)) {
            return Fail(EvalOverflow);
        }
        return {EvalOk, static_cast<int32_t>(cube), PowerPoints(v, 80)};
    }
    default:
        return Fail(EvalBadInput);
    }
}

EvalResult ApplyOp(int32_t a, int32_t b, int32_t kind, const ScoreSwitches& sw) {
    switch (kind) {
    case OpAdd:
    case OpSub: {
        const int64_t r = kind == OpAdd ? static_cast<int64_t>(a) + b : static_cast<int64_t>(a) - b;
        if (!Fits(r)) {
            return Fail(EvalOverflow);
        }
        return {EvalOk, static_cast<int32_t>(r), 50};
    }
    case OpMul: {
        const int64_t r = static_cast<int64_t>(a) * b;
        if (!Fits(r)) {
            return Fail(EvalOverflow);
        }
        return {EvalOk, static_cast<int32_t>(r), 100};
    }
    case OpDiv: {
        if (b == 0) {
            return Fail(EvalDivByZero);
        }
        if (a == kMin && b == -1) {
            return Fail(EvalOverflow);
        }
        const int32_t q = a / b;
        if (a % b == 0) {
            return {EvalOk, q, 150};
        }
        return Inexact(q, sw.scoreInexactDivision, EvalInexactDiv);
    }
    default:
        return Fail(EvalBadInput);
    }
}

} // namespace vostrel
