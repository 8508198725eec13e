#include "engine/ExpressionModel.h"

namespace vostrel {

namespace {

constexpr const char* kPowerTexts[kPowerItems] = {"", "√", "1/3", "2", "3"};
constexpr const char* kSignTexts[kSignItems] = {"", "-"};
constexpr const char* kOpTexts[kOpItems] = {"+", "-", "*", "/", " "};
constexpr const char* kRankTexts[kRankItems] = {"1", "2", "3", "4"};

bool InRange(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi;
}

// Labels are repainted from the state, so the labels that changed are exactly the fields that
// differ; comparing before and after keeps the report right whatever path an operation took.
LabelMask ChangedLabels(const ExpressionState& before, const ExpressionState& after) {
    LabelMask m = 0;
    for (int k = 0; k < kPositions; ++k) {
        if (before.power[k] != after.power[k] || before.powerOn[k] != after.powerOn[k]) {
            m |= PowerLabelBit(k);
        }
        if (before.op[k] != after.op[k]) {
            m |= OpLabelBit(k);
        }
        if (before.rank[k] != after.rank[k] || before.rankOn[k] != after.rankOn[k]) {
            m |= RankLabelBit(k);
        }
    }
    return m;
}

void MoveRankUnchecked(ExpressionState& s, int p, int32_t oldRank, int32_t newRank) {
    for (int i = 0; i < kPositions; ++i) {
        if (i == p) {
            continue;
        }
        if (newRank < oldRank && s.rank[i] >= newRank && s.rank[i] < oldRank) {
            ++s.rank[i];
        } else if (newRank > oldRank && s.rank[i] > oldRank && s.rank[i] <= newRank) {
            --s.rank[i];
        }
    }
    s.rank[p] = newRank;
}

// The highest rank held by a joined gap, or -1 when no gap is joined.
int32_t HighestJoinRank(const ExpressionState& s) {
    int32_t j = -1;
    for (int k = 1; k < kPositions; ++k) {
        if (s.op[k] == OpJoin && s.rank[k] > j) {
            j = s.rank[k];
        }
    }
    return j;
}

// Rank moves rely on a permutation; a state that holds none is left alone.
bool RanksArePermutation(const ExpressionState& s) {
    unsigned seen = 0;
    for (int k = 0; k < kPositions; ++k) {
        if (!InRange(s.rank[k], 0, 3)) {
            return false;
        }
        seen |= 1u << s.rank[k];
    }
    return seen == 0xFu;
}

} // namespace

const char* PowerText(int32_t kind) {
    return InRange(kind, 0, kPowerItems - 1) ? kPowerTexts[kind] : "";
}
const char* SignText(int32_t kind) {
    return InRange(kind, 0, kSignItems - 1) ? kSignTexts[kind] : "";
}
const char* OpText(int32_t kind) {
    return InRange(kind, 0, kOpItems - 1) ? kOpTexts[kind] : "";
}
const char* RankText(int32_t rank) {
    return InRange(rank, 0, kRankItems - 1) ? kRankTexts[rank] : "";
}

LabelMask ResetExpression(ExpressionState& s, int32_t usePower) {
    const ExpressionState before = s;
    for (int k = 0; k < kPositions; ++k) {
        s.power[k] = PowNone;
        s.op[k] = OpAdd;
        s.rank[k] = k;
        s.powerOn[k] = usePower != 0;
        s.rankOn[k] = true;
    }
    s.op[0] = kSignPlus;
    return ChangedLabels(before, s);
}

LabelMask SetPower(ExpressionState& s, int digit, int32_t kind) {
    // A disabled label cannot be chosen: it guards the left digit of a join and usePower.
    if (!InRange(digit, 0, 3) || !InRange(kind, PowNone, PowCube) || !s.powerOn[digit]) {
        return 0;
    }
    const ExpressionState before = s;
    s.power[digit] = kind;
    return ChangedLabels(before, s);
}

LabelMask SetSign(ExpressionState& s, int32_t kind) {
    if (!InRange(kind, kSignPlus, kSignMinus)) {
        return 0;
    }
    const ExpressionState before = s;
    s.op[0] = kind;
    return ChangedLabels(before, s);
}

LabelMask SetGapOp(ExpressionState& s, int gap, int32_t kind, int32_t usePower) {
    if (!InRange(gap, 1, 3) || !InRange(kind, OpAdd, OpJoin) || !RanksArePermutation(s)) {
        return 0;
    }
    const ExpressionState before = s;
    if (kind == OpJoin) {
        s.power[gap - 1] = PowNone;
        s.powerOn[gap - 1] = false;
        s.rankOn[gap] = false;
        int32_t target = 0;
        for (int k = gap - 1; k >= 1; --k) {
            if (s.op[k] == OpJoin) {
                target = s.rank[k] + 1;
                break;
            }
        }
        MoveRankUnchecked(s, gap, s.rank[gap], target);
    } else {
        if (usePower != 0) {
            s.powerOn[gap - 1] = true;
        }
        s.rankOn[gap] = true;
        if (s.op[gap] == OpJoin) {
            // The released gap takes the last rank of the joined block, which closes up behind.
            MoveRankUnchecked(s, gap, s.rank[gap], HighestJoinRank(s));
        }
    }
    s.op[gap] = kind;
    return ChangedLabels(before, s);
}

LabelMask SetRank(ExpressionState& s, int position, int32_t rank) {
    // A joined gap's rank is fixed by its place in the joined block.
    if (!InRange(position, 0, 3) || !InRange(rank, 0, 3) || !s.rankOn[position] ||
        !RanksArePermutation(s)) {
        return 0;
    }
    const int32_t j = HighestJoinRank(s);
    if (j >= 0 && rank <= j) {
        rank = j + 1;
    }
    return MoveRank(s, position, s.rank[position], rank);
}

LabelMask MoveRank(ExpressionState& s, int position, int32_t oldRank, int32_t newRank) {
    // A stale old rank would break the permutation; such a move is refused.
    if (!InRange(position, 0, 3) || !InRange(newRank, 0, 3) || !RanksArePermutation(s) ||
        s.rank[position] != oldRank) {
        return 0;
    }
    const ExpressionState before = s;
    MoveRankUnchecked(s, position, oldRank, newRank);
    return ChangedLabels(before, s);
}

} // namespace vostrel
