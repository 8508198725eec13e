#include "search/LabelOrder.h"

namespace vostrel {

std::optional<LabelChoice> NextLabel(const ExpressionState& s, const ExpressionState& target) {
    for (int k = 0; k < kPositions; ++k) {
        if (s.op[k] != target.op[k]) {
            return LabelChoice{OpLabelBit(k), target.op[k]};
        }
    }
    for (int k = 0; k < kPositions; ++k) {
        if (s.power[k] != target.power[k]) {
            return LabelChoice{PowerLabelBit(k), target.power[k]};
        }
    }
    // With the operators in place the joined gaps hold the lowest ranks already; the others
    // are laid from the first computed on, and each one laid moves only ranks above it.
    for (int32_t r = 0; r < kPositions; ++r) {
        for (int k = 0; k < kPositions; ++k) {
            if (target.rank[k] == r && s.rank[k] != r) {
                return LabelChoice{RankLabelBit(k), r};
            }
        }
    }
    return std::nullopt;
}

LabelMask ApplyLabel(ExpressionState& s, const LabelChoice& c, int32_t usePower) {
    for (int k = 0; k < kPositions; ++k) {
        if (c.label == OpLabelBit(k)) {
            return k == 0 ? SetSign(s, c.code) : SetGapOp(s, k, c.code, usePower);
        }
        if (c.label == PowerLabelBit(k)) {
            return SetPower(s, k, c.code);
        }
        if (c.label == RankLabelBit(k)) {
            return SetRank(s, k, c.code);
        }
    }
    return 0;
}

} // namespace vostrel
