#pragma once
// The reduces that the two-stack rank evaluation performs, worked out at compile time for every
// join pattern and rank order, so that the evaluator and the expression text follow one order.
// Internal to the engine.

#include "engine/ExpressionShape.h"
#include "engine/ExpressionState.h"
#include "engine/PointRules.h"

#include <cstdint>

namespace vostrel::plan {

// Higher than every real rank: the bottom of the stacks and the end of the operand sequence.
inline constexpr int32_t kSentinel = 1000;
// Four operands and the end marker; the stacks hold the implicit zero and four operands.
inline constexpr int kSlots = kPositions + 1;

// Every field in its range and the ranks a permutation. Written as flags or-ed over whole
// arrays, which g++ turns into a few vector compares: this runs before every evaluation.
inline bool IsWellFormed(const ExpressionState& s) {
    constexpr uint32_t kOpLimit[kPositions] = {kSignMinus, OpJoin, OpJoin, OpJoin};
    uint32_t over = 0;
    for (int k = 0; k < kPositions; ++k) {
        over |= static_cast<uint32_t>(s.digits[k]) > 9 ? 1u : 0u;
        over |= static_cast<uint32_t>(s.power[k]) > PowCube ? 1u : 0u;
        over |= static_cast<uint32_t>(s.op[k]) > kOpLimit[k] ? 1u : 0u;
        over |= static_cast<uint32_t>(s.rank[k]) > 3 ? 1u : 0u;
    }
    if (over != 0) {
        return false;
    }
    return ((1u << s.rank[0]) | (1u << s.rank[1]) | (1u << s.rank[2]) | (1u << s.rank[3])) == 0xFu;
}

// One reduce of a plan: the slots of the left and right values, and the position whose operator
// joins them. Slot 0 is the implicit zero, slot k + 1 the operand that ends at position k, and
// slots 5 and 6 hold zeros for padding steps.
struct Step {
    uint8_t left;
    uint8_t right;
    uint8_t opPos;
};

inline constexpr int kValueSlots = 7;
inline constexpr uint8_t kPadLeft = 5;
inline constexpr uint8_t kPadRight = 6;
// op position 4 is a plain addition, for padding steps.
inline constexpr uint8_t kPadOp = 4;

// The reduces that the two-stack algorithm performs for one join pattern and rank permutation,
// worked out at compile time so that evaluation is a straight loop instead of the stack
// compares, which mispredict on every new rank order. Padded in front to four steps with
// additions of zero; `adjust` takes back their points and adds those of the joins and of the
// implicit zero.
struct Plan {
    Step steps[kPositions];
    int32_t adjust;
};

constexpr Plan MakePlan(int joins, int rankKey) {
    Plan plan{};
    int32_t rank[kPositions] = {};
    for (int k = 0; k < kPositions; ++k) {
        rank[k] = (rankKey >> (2 * k)) & 3;
    }
    const shape::Operands operands = shape::OperandsOf(static_cast<unsigned>(joins));
    const int n = operands.count;
    const int* start = operands.first;
    const int* end = operands.last;
    Step found[kPositions] = {};
    int steps = 0;
    // Stack entries: the slot holding the value and the position giving operator and rank.
    int slot[kSlots] = {0};
    int pos[kSlots] = {0};
    int stackRank[kSlots] = {kSentinel};
    int t = 0;
    for (int i = 0; i <= n; ++i) {
        const int entryRank = i < n ? rank[start[i]] : kSentinel;
        while (t > 0 && stackRank[t] <= entryRank) {
            found[steps++] = {static_cast<uint8_t>(slot[t - 1]), static_cast<uint8_t>(slot[t]),
                              static_cast<uint8_t>(pos[t])};
            --t;
        }
        if (i < n) {
            ++t;
            slot[t] = end[i] + 1;
            pos[t] = start[i];
            stackRank[t] = entryRank;
        }
    }
    const int pad = kPositions - steps;
    for (int i = 0; i < kPositions; ++i) {
        plan.steps[i] = i < pad ? Step{kPadLeft, kPadRight, kPadOp} : found[i - pad];
    }
    plan.adjust =
        shape::PatternPoints(static_cast<unsigned>(joins)) - points::OpPoints(OpAdd) * pad;
    return plan;
}

// By join pattern (bit k - 1: a join in gap k) and by the ranks packed two bits each. Keys
// whose ranks are no permutation are never read.
struct PlanTable {
    Plan plans[shape::kJoinPatterns][256];
};

constexpr PlanTable MakePlans() {
    PlanTable t{};
    for (int j = 0; j < static_cast<int>(shape::kJoinPatterns); ++j) {
        for (int r = 0; r < 256; ++r) {
            t.plans[j][r] = MakePlan(j, r);
        }
    }
    return t;
}

inline constexpr PlanTable kPlans = MakePlans();

// The plan of a well-formed state.
inline const Plan& PlanFor(const ExpressionState& s) {
    const unsigned joins = shape::JoinsOf(s);
    const int rankKey = s.rank[0] | s.rank[1] << 2 | s.rank[2] << 4 | s.rank[3] << 6;
    return kPlans.plans[joins][rankKey];
}

} // namespace vostrel::plan
