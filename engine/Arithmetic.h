#pragma once
// One step of an evaluation: a power applied to an operand, an operator applied to two.

#include <cstdint>

namespace vostrel {

enum EvalStatus : int32_t {
    EvalOk = 0,
    EvalDivByZero = -1,
    EvalOverflow = -2,
    EvalInexactDiv = -3,
    EvalInexactRoot = -4,
    // A code, digit, rank or try count outside its range. Never produced for a state that the
    // model built; it keeps hand-made input from reaching undefined arithmetic.
    EvalBadInput = -5,
};

// The scoring switches of the settings, each tested as non-zero.
struct ScoreSwitches {
    int32_t scoreInexactDivision = 0;
    int32_t scoreInexactRoot = 0;
    int32_t scoreOtherResults = 1;

    friend bool operator==(const ScoreSwitches&, const ScoreSwitches&) = default;
};

// On a status other than EvalOk, value and points are 0.
struct EvalResult {
    int32_t status = EvalOk;
    int32_t value = 0;
    int32_t points = 0;

    friend bool operator==(const EvalResult&, const EvalResult&) = default;
};

// Defined for every value. A negative value has no square root (EvalInexactRoot whatever the
// switches say); its cube root is the negated cube root of its magnitude. Evaluate never passes
// negative values to a root.
EvalResult ApplyPower(int32_t value, int32_t kind, const ScoreSwitches& sw);
// OpAdd, OpSub, OpMul, OpDiv; any other kind gives EvalBadInput. Every result outside the
// 32-bit range, INT_MIN / -1 and sums included, gives EvalOverflow.
EvalResult ApplyOp(int32_t left, int32_t right, int32_t kind, const ScoreSwitches& sw);

} // namespace vostrel
