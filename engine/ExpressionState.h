#pragma once
// The player's expression: four digits and the choices around them, as plain data.

#include <cstdint>

namespace vostrel {

// Codes are the indices of the items in the chooser lists.
enum PowerKind : int32_t {
    PowSpent = -1, // given to intermediate results by the evaluator; never stored in a state
    PowNone = 0,
    PowSqrt = 1,
    PowCbrt = 2,
    PowSquare = 3,
    PowCube = 4,
};

enum OpKind : int32_t {
    OpAdd = 0,
    OpSub = 1,
    OpMul = 2,
    OpDiv = 3,
    OpJoin = 4, // writes the digits on both sides together as one number
};

// The sign slot (position 0) holds OpAdd (no sign) or OpSub ("-").
constexpr int32_t kSignPlus = OpAdd;
constexpr int32_t kSignMinus = OpSub;

constexpr int kPositions = 4;

struct ExpressionState {
    int32_t digits[kPositions] = {0, 0, 0, 0};
    int32_t power[kPositions] = {PowNone, PowNone, PowNone, PowNone};
    // op[0] is the sign slot in front of digit 0; op[k] the gap between digits k-1 and k.
    int32_t op[kPositions] = {kSignPlus, OpAdd, OpAdd, OpAdd};
    // Evaluation rank of each position, a permutation of 0..3; lower is computed first.
    int32_t rank[kPositions] = {0, 1, 2, 3};
    // Enabled states of the power labels and the rank labels.
    bool powerOn[kPositions] = {true, true, true, true};
    bool rankOn[kPositions] = {true, true, true, true};

    friend bool operator==(const ExpressionState&, const ExpressionState&) = default;
};

} // namespace vostrel
