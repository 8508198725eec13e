#pragma once
// The operations that change an ExpressionState, one committed choice at a time. Each keeps the
// join and rank invariants and reports the labels whose text or enabled state changed.

#include "engine/ExpressionState.h"

#include <cstdint>

namespace vostrel {

// One bit per label: power labels 0..3, sign and gap labels 0..3, rank labels 0..3.
using LabelMask = uint32_t;
constexpr LabelMask PowerLabelBit(int k) {
    return 1u << k;
}
constexpr LabelMask OpLabelBit(int k) {
    return 1u << (4 + k);
}
constexpr LabelMask RankLabelBit(int k) {
    return 1u << (8 + k);
}
constexpr LabelMask kAllLabels = 0xFFFu;

// Item counts of the chooser lists; a code is the index of its item.
constexpr int32_t kPowerItems = 5;
constexpr int32_t kSignItems = 2;
constexpr int32_t kOpItems = 5;
constexpr int32_t kRankItems = 4;

// Item texts of the chooser lists (UTF-8); a label shows the text of its current code.
const char* PowerText(int32_t kind);
const char* SignText(int32_t kind);
const char* OpText(int32_t kind);
const char* RankText(int32_t rank);

// A choice the window could not issue (a code out of range, a disabled power or rank label, a
// stale old rank, a state whose ranks are no permutation) changes nothing and reports 0.

// The defaults of a new problem; digits are left as they are. usePower is tested as non-zero.
LabelMask ResetExpression(ExpressionState& s, int32_t usePower);
LabelMask SetPower(ExpressionState& s, int digit, int32_t kind);
LabelMask SetSign(ExpressionState& s, int32_t kind);
LabelMask SetGapOp(ExpressionState& s, int gap, int32_t kind, int32_t usePower);
LabelMask SetRank(ExpressionState& s, int position, int32_t rank);
LabelMask MoveRank(ExpressionState& s, int position, int32_t oldRank, int32_t newRank);

} // namespace vostrel
