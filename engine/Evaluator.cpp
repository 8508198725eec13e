#include "engine/Evaluator.h"

#include <cstdio>

namespace vostrel {

namespace {

// Higher than every real rank: the bottom of the stacks and the end of the operand sequence.
constexpr int32_t kSentinel = 1000;
// Four operands and the end marker; the stacks hold the implicit zero and four operands.
constexpr int kSlots = kPositions + 1;

constexpr EvalResult Fail(int32_t status) {
    return {status, 0, 0};
}

bool WellFormed(const ExpressionState& s, int32_t tryCount) {
    if (tryCount < 0 || tryCount > 10 || s.op[0] < kSignPlus || s.op[0] > kSignMinus) {
        return false;
    }
    unsigned ranks = 0;
    for (int k = 0; k < kPositions; ++k) {
        if (s.digits[k] < 0 || s.digits[k] > 9 || s.power[k] < PowNone || s.power[k] > PowCube ||
            s.rank[k] < 0 || s.rank[k] > 3 || (k > 0 && (s.op[k] < OpAdd || s.op[k] > OpJoin))) {
            return false;
        }
        ranks |= 1u << s.rank[k];
    }
    return ranks == 0xFu;
}

} // namespace

EvalResult Evaluate(const ExpressionState& s, int32_t tryCount, const ScoreSwitches& sw) {
    if (!WellFormed(s, tryCount)) {
        return Fail(EvalBadInput);
    }
    int32_t points = tryCount < 5 ? 100 - 20 * tryCount : 0;
    for (int k = 0; k + 1 < kPositions; ++k) {
        if (s.rank[k] > s.rank[k + 1]) {
            points += 80;
        }
    }

    // The operand sequence: joined digits form one operand that keeps the operator and rank of
    // the position in front of the run and takes the power of its rightmost digit.
    int32_t seqValue[kSlots];
    int32_t seqPower[kSlots];
    int32_t seqOp[kSlots];
    int32_t seqRank[kSlots];
    int n = 0;
    for (int k = 0; k < kPositions; ++k) {
        if (k > 0 && s.op[k] == OpJoin) {
            seqValue[n - 1] = seqValue[n - 1] * 10 + s.digits[k];
            seqPower[n - 1] = s.power[k];
            points += 150;
        } else {
            seqValue[n] = s.digits[k];
            seqPower[n] = s.power[k];
            seqOp[n] = s.op[k];
            seqRank[n] = s.rank[k];
            ++n;
        }
    }
    seqOp[n] = kSentinel;
    seqRank[n] = kSentinel;

    // Operator-precedence reduction; the bottom entry is the implicit zero that the sign slot
    // applies to.
    int32_t value[kSlots] = {0};
    int32_t power[kSlots] = {PowNone};
    int32_t op[kSlots] = {OpAdd};
    int32_t rank[kSlots] = {kSentinel};
    int t = 0;
    int j = 0;
    while (t > 0 || j < n) {
        if (rank[t] > seqRank[j]) {
            ++t;
            value[t] = seqValue[j];
            power[t] = seqPower[j];
            op[t] = seqOp[j];
            rank[t] = seqRank[j];
            ++j;
            continue;
        }
        // Powers are applied, and earn their points, at the reduce that consumes the operand.
        const EvalResult a = ApplyPower(value[t - 1], power[t - 1], sw);
        if (a.status != EvalOk) {
            return Fail(a.status);
        }
        const EvalResult b = ApplyPower(value[t], power[t], sw);
        if (b.status != EvalOk) {
            return Fail(b.status);
        }
        const EvalResult c = ApplyOp(a.value, b.value, op[t], sw);
        if (c.status != EvalOk) {
            return Fail(c.status);
        }
        points += a.points + b.points + c.points;
        --t;
        value[t] = c.value;
        power[t] = PowSpent;
    }

    const int32_t r = value[0];
    if (r == 10) {
        return {EvalOk, r, points + 400};
    }
    if (sw.scoreOtherResults != 0) {
        if (r == 0) {
            return {EvalOk, r, points + 100};
        }
        if (r % 10 == 0) {
            return {EvalOk, r, points + 50};
        }
    }
    return {EvalOk, r, points <= 0 ? points : 0};
}

ResultDisplay FormatResult(const EvalResult& r) {
    const char* error = nullptr;
    switch (r.status) {
    case EvalOk: {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%d ", r.value);
        ResultDisplay d{{buf, TextAlign::Right}, {}};
        std::snprintf(buf, sizeof buf, "%d ", r.points);
        d.points = {buf, TextAlign::Right};
        return d;
    }
    case EvalDivByZero:
        error = "division by 0";
        break;
    case EvalOverflow:
        error = "over flow";
        break;
    case EvalInexactDiv:
    case EvalInexactRoot:
        error = "not integer";
        break;
    default:
        error = "error";
        break;
    }
    return {{error, TextAlign::Left}, {"----", TextAlign::Center}};
}

} // namespace vostrel
