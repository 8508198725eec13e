#include "search/JoinPatterns.h"

#include "engine/ExpressionModel.h"
#include "engine/PointRules.h"

#include <array>

namespace vostrel::search {

namespace {

ExpressionState Joined(unsigned joins, int32_t usePower) {
    ExpressionState s;
    ResetExpression(s, usePower);
    for (int gap = 1; gap < kPositions; ++gap) {
        if (shape::Joined(joins, gap)) {
            SetGapOp(s, gap, OpJoin, usePower);
        }
    }
    return s;
}

// Both signs, every operator of each free gap, every order of the free ranks, every power of
// each enabled power label.
uint32_t CountChoiceSets(const ExpressionState& s) {
    uint32_t n = 1;
    int free = 0;
    for (int k = 0; k < kPositions; ++k) {
        if (s.rankOn[k]) {
            ++free;
            n *= static_cast<uint32_t>(shape::OperatorChoices(k) * free);
        }
        if (s.powerOn[k]) {
            n *= kPowerItems;
        }
    }
    return n;
}

JoinPattern Make(unsigned joins) {
    JoinPattern p;
    p.operands = shape::OperandsOf(joins);
    p.points = points::BasePoints(0) + shape::PatternPoints(joins);
    for (int32_t usePower = 0; usePower < 2; ++usePower) {
        p.start[usePower] = Joined(joins, usePower);
        p.choiceSets[usePower] = CountChoiceSets(p.start[usePower]);
    }
    const ExpressionState& s = p.start[0];
    for (int k = 0; k + 1 < kPositions; ++k) {
        if (!s.rankOn[k] || !s.rankOn[k + 1]) {
            p.points += shape::OrderBonus(s.rank[k], s.rank[k + 1]);
        }
    }
    return p;
}

} // namespace

const JoinPattern& JoinPatternOf(unsigned joins) {
    static const std::array<JoinPattern, shape::kJoinPatterns> kPatterns = [] {
        std::array<JoinPattern, shape::kJoinPatterns> all;
        for (unsigned j = 0; j < shape::kJoinPatterns; ++j) {
            all[j] = Make(j);
        }
        return all;
    }();
    return kPatterns[joins];
}

} // namespace vostrel::search
