#include "engine/Evaluator.h"

#include "engine/ArithmeticSteps.h"

#include <bit>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace vostrel {

namespace {

static_assert(std::endian::native == std::endian::little && offsetof(EvalResult, status) == 0 &&
              offsetof(EvalResult, value) == 4 && sizeof(EvalResult) == 12);

// Higher than every real rank: the bottom of the stacks and the end of the operand sequence.
constexpr int32_t kSentinel = 1000;
// Four operands and the end marker; the stacks hold the implicit zero and four operands.
constexpr int kSlots = kPositions + 1;

// Every field in its range and the ranks a permutation. Written as flags or-ed over whole
// arrays, which g++ turns into a few vector compares: this runs before every evaluation.
bool WellFormed(const ExpressionState& s, int32_t tryCount) {
    constexpr uint32_t kOpLimit[kPositions] = {kSignMinus, OpJoin, OpJoin, OpJoin};
    uint32_t over = static_cast<uint32_t>(tryCount) > 10 ? 1u : 0u;
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

// The evaluation proper: gives the status and, on success, fills value and points.
inline int32_t Run(const ExpressionState& s, int32_t tryCount, const ScoreSwitches& sw,
                   int32_t& result, int32_t& finalPoints) {
    if (!WellFormed(s, tryCount)) {
        return EvalBadInput;
    }
    int32_t points = tryCount < 5 ? 100 - 20 * tryCount : 0;
    for (int k = 0; k + 1 < kPositions; ++k) {
        points += s.rank[k] > s.rank[k + 1] ? 80 : 0;
    }

    // Operator-precedence reduction over two stacks: values with their powers, operators with
    // their ranks. The bottom entry is the implicit zero that the sign slot applies to; its
    // operator is never applied.
    int32_t value[kSlots];
    int32_t power[kSlots];
    int32_t op[kSlots];
    int32_t rank[kSlots];
    value[0] = 0;
    power[0] = PowNone;
    op[0] = OpAdd;
    rank[0] = kSentinel;
    int t = 0;
    int k = 0;
    while (true) {
        // The next entry of the operand sequence, read as it is needed: joined digits form one
        // operand that keeps the operator and rank of the position in front of the run and takes
        // the power of its rightmost digit. After the last one comes the end marker.
        int32_t entryValue = 0;
        int32_t entryPower = PowNone;
        int32_t entryOp = kSentinel;
        int32_t entryRank = kSentinel;
        if (k < kPositions) {
            entryValue = s.digits[k];
            entryPower = s.power[k];
            entryOp = s.op[k];
            entryRank = s.rank[k];
            for (++k; k < kPositions && s.op[k] == OpJoin; ++k) {
                entryValue = entryValue * 10 + s.digits[k];
                entryPower = s.power[k];
                points += 150;
            }
        }
        // Reduce while the operator on top ranks no higher than the entry's, so equal ranks
        // reduce the earlier operator first. The bottom's sentinel rank stops this for every
        // entry but the end marker, which empties the stacks.
        while (t > 0 && rank[t] <= entryRank) {
            // Powers are applied, and earn their points, at the reduce that consumes the
            // operand.
            int32_t a = 0;
            int32_t b = 0;
            int32_t c = 0;
            int32_t status = steps::PowerStep(value[t - 1], power[t - 1], sw, a, points);
            if (status == EvalOk) {
                status = steps::PowerStep(value[t], power[t], sw, b, points);
            }
            if (status == EvalOk) {
                status = steps::OpStep(a, b, op[t], sw, c, points);
            }
            if (status != EvalOk) {
                return status;
            }
            --t;
            value[t] = c;
            power[t] = PowSpent;
        }
        if (entryRank == kSentinel) {
            break;
        }
        ++t;
        value[t] = entryValue;
        power[t] = entryPower;
        op[t] = entryOp;
        rank[t] = entryRank;
    }

    const int32_t r = value[0];
    result = r;
    if (r == 10) {
        finalPoints = points + 400;
    } else if (sw.scoreOtherResults != 0 && r == 0) {
        finalPoints = points + 100;
    } else if (sw.scoreOtherResults != 0 && r % 10 == 0) {
        finalPoints = points + 50;
    } else {
        finalPoints = points <= 0 ? points : 0;
    }
    return EvalOk;
}

} // namespace

EvalResult Evaluate(const ExpressionState& s, int32_t tryCount, const ScoreSwitches& sw) {
    int32_t value = 0;
    int32_t points = 0;
    const int32_t status = Run(s, tryCount, sw, value, points);
    if (status != EvalOk) {
        value = 0;
        points = 0;
    }
    // Status and value written as one 8-byte word: field by field, g++ stores two halves and
    // reloads them as one word, a store-forwarding stall that cost a fifth of the run time.
    const uint64_t head =
        static_cast<uint32_t>(status) | static_cast<uint64_t>(static_cast<uint32_t>(value)) << 32;
    EvalResult r;
    std::memcpy(static_cast<void*>(&r), &head, sizeof head);
    r.points = points;
    return r;
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
