#pragma once
// The bodies of ApplyPower and ApplyOp for the evaluator's reduce loop and the search's inner
// loops. Each step gives its status; on success it stores its result in `out` and adds its
// points to `points`, so that the loop keeps its values in registers instead of passing a result
// record through memory. Elsewhere use Arithmetic.h.

#include "engine/Arithmetic.h"
#include "engine/ExpressionState.h"
#include "engine/PointRules.h"

#include <cstdint>
#include <limits>

namespace vostrel::steps {

constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax = std::numeric_limits<int32_t>::max();

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
    points += points::kInexactPenalty;
    return EvalOk;
}

// Joined digits give operands 0..9999; their roots come from tables instead of floating point.
constexpr int32_t kMaxJoined = 9999;

// Per value: the nearest integer root shifted left by one, with bit 0 set when it is exact.
struct RootTable {
    uint8_t sqrt[kMaxJoined + 1];
    uint8_t cbrt[kMaxJoined + 1];
};

constexpr RootTable MakeRootTable() {
    RootTable t{};
    int64_t s = 0;
    int64_t c = 0;
    for (int64_t v = 0; v <= kMaxJoined; ++v) {
        // s is nearest while (2s + 1)^2 > 4v; no odd square or cube equals 4v or 8v.
        while ((2 * s + 1) * (2 * s + 1) < 4 * v) {
            ++s;
        }
        while ((2 * c + 1) * (2 * c + 1) * (2 * c + 1) < 8 * v) {
            ++c;
        }
        t.sqrt[v] = static_cast<uint8_t>(s << 1 | (s * s == v ? 1 : 0));
        t.cbrt[v] = static_cast<uint8_t>(c << 1 | (c * c * c == v ? 1 : 0));
    }
    return t;
}

inline constexpr RootTable kRoots = MakeRootTable();

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
        points += points::kPlainOperand;
        return EvalOk;
    }
    return RaiseStep(v, kind, sw, out, points);
}

// PowerStep for an operand of joined digits: 0 <= v <= kMaxJoined, kind PowNone..PowCube.
inline int32_t JoinedPowerStep(int32_t v, int32_t kind, const ScoreSwitches& sw, int32_t& out,
                               int32_t& points) {
    switch (kind) {
    case PowNone:
        out = v;
        points += points::kPlainOperand;
        return EvalOk;
    case PowSqrt:
    case PowCbrt: {
        const int32_t e = kind == PowSqrt ? kRoots.sqrt[v] : kRoots.cbrt[v];
        if ((e & 1) == 0) {
            return Inexact(e >> 1, sw.scoreInexactRoot, EvalInexactRoot, out, points);
        }
        out = e >> 1;
        points += points::PowerPoints(v, kind);
        return EvalOk;
    }
    case PowSquare:
        out = v * v;
        points += points::PowerPoints(v, PowSquare);
        return EvalOk;
    default: {
        const int64_t cube = static_cast<int64_t>(v * v) * v;
        if (cube > kMax) {
            return EvalOverflow;
        }
        out = static_cast<int32_t>(cube);
        points += points::PowerPoints(v, PowCube);
        return EvalOk;
    }
    }
}

inline int32_t OpStep(int32_t a, int32_t b, int32_t kind, const ScoreSwitches& sw, int32_t& out,
                      int32_t& points) {
    int64_t r = 0;
    int32_t earned = 0;
    switch (kind) {
    case OpAdd:
        r = static_cast<int64_t>(a) + b;
        earned = points::OpPoints(OpAdd);
        break;
    case OpSub:
        r = static_cast<int64_t>(a) - b;
        earned = points::OpPoints(OpSub);
        break;
    case OpMul:
        r = static_cast<int64_t>(a) * b;
        earned = points::OpPoints(OpMul);
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
        points += points::OpPoints(OpDiv);
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
