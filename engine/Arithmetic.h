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
};

// The scoring switches of the settings, each tested as non-zero.
struct ScoreSwitches {
    int32_t scoreInexactDivision = 0;
    int32_t scoreInexactRoot = 0;
    int32_t scoreOtherResults = 1;
};

// On a status other than EvalOk, value and points are 0.
struct EvalResult {
    int32_t status = EvalOk;
    int32_t value = 0;
    int32_t points = 0;

    friend bool operator==(const EvalResult&, const EvalResult&) = default;
};

EvalResult ApplyPower(int32_t value, int32_t kind, const ScoreSwitches& sw);
EvalResult ApplyOp(int32_t left, int32_t right, int32_t kind, const ScoreSwitches& sw);

} // namespace vostrel
