#pragma once
// Every point the game awards or takes, and the try rules behind the base points. The
// arithmetic, the evaluator, the reduction plans and the solver all read them from here.

#include "engine/ExpressionState.h"

#include <cstdint>

namespace vostrel::points {

// An operand without a power, and any power of 0 or 1, which change nothing. The implicit zero
// in front of the sign is such an operand.
inline constexpr int32_t kPlainOperand = 20;
inline constexpr int32_t kSqrt = 50;
inline constexpr int32_t kCbrt = 60;
inline constexpr int32_t kSquare = 80;
inline constexpr int32_t kCube = 80;

inline constexpr int32_t kAdd = 50; // the sign slot's "no sign" too
inline constexpr int32_t kSub = 50; // the sign slot's "-" too
inline constexpr int32_t kMul = 100;
inline constexpr int32_t kExactDiv = 150;
// An inexact root or division that the switches allow.
inline constexpr int32_t kInexactPenalty = -500;

inline constexpr int32_t kJoin = 150;
// Per pair of neighbouring positions whose left one has the higher rank.
inline constexpr int32_t kOrderBonus = 80;

// Base points: kFirstTry before any "=", kPerTry less for each one, none from kTriesWithoutBase.
inline constexpr int32_t kFirstTry = 100;
inline constexpr int32_t kPerTry = 20;
inline constexpr int32_t kTriesWithoutBase = 5;
// "=" counts no further than this.
inline constexpr int32_t kMaxTries = 10;

// Each hint taken on a problem, off its points.
inline constexpr int32_t kHintPrice = -100;

inline constexpr int32_t kTarget = 10;
inline constexpr int32_t kTargetBonus = 400;
// With scoreOtherResults on: a result of 0, and any other multiple of 10.
inline constexpr int32_t kZeroBonus = 100;
inline constexpr int32_t kTensBonus = 50;

// An operator (OpAdd..OpDiv, the sign slot's codes included) whose result is exact.
constexpr int32_t OpPoints(int32_t op) {
    switch (op) {
    case OpAdd:
        return kAdd;
    case OpSub:
        return kSub;
    case OpMul:
        return kMul;
    default:
        return kExactDiv;
    }
}

// A problem's points from its evaluation's, with `hints` hints taken on it.
constexpr int32_t HintedPoints(int32_t points, int32_t hints) {
    // A kept game may come with any count: the sum stays in range.
    const int64_t sum = static_cast<int64_t>(points) + static_cast<int64_t>(kHintPrice) * hints;
    return static_cast<int32_t>(sum < INT32_MIN ? INT32_MIN : (sum > INT32_MAX ? INT32_MAX : sum));
}

// tryCount in 0..kMaxTries.
constexpr int32_t BasePoints(int32_t tryCount) {
    return tryCount < kTriesWithoutBase ? kFirstTry - kPerTry * tryCount : 0;
}

// A power (PowNone..PowCube) that succeeds on v.
constexpr int32_t PowerPoints(int32_t v, int32_t kind) {
    if (kind == PowNone || v == 0 || v == 1) {
        return kPlainOperand;
    }
    switch (kind) {
    case PowSqrt:
        return kSqrt;
    case PowCbrt:
        return kCbrt;
    case PowSquare:
        return kSquare;
    default:
        return kCube;
    }
}

// The adjustment at the end of an evaluation: the bonus for 10, and with scoreOtherResults for
// 0 and other multiples of 10; any other result keeps only a total that is not positive.
constexpr int32_t FinalPoints(int32_t points, int32_t result, int32_t scoreOtherResults) {
    if (result == kTarget) {
        return points + kTargetBonus;
    }
    if (scoreOtherResults != 0 && result == 0) {
        return points + kZeroBonus;
    }
    if (scoreOtherResults != 0 && result % 10 == 0) {
        return points + kTensBonus;
    }
    return points <= 0 ? points : 0;
}

} // namespace vostrel::points
