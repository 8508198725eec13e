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

// One reduce of a plan: the slots of the left and right values, and the position whose operator
// joins them. Slot 0 is the implicit zero, slot k + 1 the operand that ends at position k, and
// slots 5 and 6 hold zeros for padding steps.
struct Step {
    uint8_t left;
    uint8_t right;
    uint8_t opPos;
};

constexpr int kValueSlots = 7;
constexpr uint8_t kPadLeft = 5;
constexpr uint8_t kPadRight = 6;
// op position 4 is a plain addition, for padding steps.
constexpr uint8_t kPadOp = 4;

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
    // The operands: start and end positions of each run of joined digits.
    int start[kPositions] = {};
    int end[kPositions] = {};
    int n = 0;
    for (int k = 0; k < kPositions; ++k) {
        const bool joined = k > 0 && ((joins >> (k - 1)) & 1) != 0;
        if (joined) {
            end[n - 1] = k;
        } else {
            start[n] = k;
            end[n] = k;
            ++n;
        }
    }
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
    plan.adjust = 20 + 150 * (kPositions - n) - 50 * pad;
    return plan;
}

// By join pattern (bit k - 1: a join in gap k) and by the ranks packed two bits each. Keys
// whose ranks are no permutation are never read.
struct PlanTable {
    Plan plans[8][256];
};

constexpr PlanTable MakePlans() {
    PlanTable t{};
    for (int j = 0; j < 8; ++j) {
        for (int r = 0; r < 256; ++r) {
            t.plans[j][r] = MakePlan(j, r);
        }
    }
    return t;
}

constexpr PlanTable kPlans = MakePlans();

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
    const int joins =
        (s.op[1] == OpJoin ? 1 : 0) | (s.op[2] == OpJoin ? 2 : 0) | (s.op[3] == OpJoin ? 4 : 0);
    const int rankKey = s.rank[0] | s.rank[1] << 2 | s.rank[2] << 4 | s.rank[3] << 6;
    const Plan& plan = kPlans.plans[joins][rankKey];

    // Every operand's power is worked out up front, but its status and points count only at the
    // reduce that consumes it, so the first failing step still decides.
    int32_t value[kValueSlots] = {};
    int32_t status[kValueSlots] = {};
    int32_t earned[kValueSlots] = {};
    int32_t run = 0;
    for (int k = 0; k < kPositions; ++k) {
        run = (k > 0 && s.op[k] == OpJoin ? run * 10 : 0) + s.digits[k];
        status[k + 1] = steps::JoinedPowerStep(run, s.power[k], sw, value[k + 1], earned[k + 1]);
    }
    const int32_t op[kPositions + 1] = {s.op[0], s.op[1], s.op[2], s.op[3], OpAdd};
    // Steps after a failure still run, on defined values; only the first failure counts.
    int32_t first = EvalOk;
    points += plan.adjust;
    for (const Step& step : plan.steps) {
        int32_t c = 0;
        int32_t stepStatus = status[step.left] != EvalOk ? status[step.left] : status[step.right];
        const int32_t opStatus =
            steps::OpStep(value[step.left], value[step.right], op[step.opPos], sw, c, points);
        stepStatus = stepStatus != EvalOk ? stepStatus : opStatus;
        first = first != EvalOk ? first : stepStatus;
        points += earned[step.left] + earned[step.right];
        value[step.left] = c;
        status[step.left] = EvalOk;
        earned[step.left] = 0;
    }
    if (first != EvalOk) {
        return first;
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
