#include "engine/Evaluator.h"

#include "engine/ArithmeticSteps.h"
#include "engine/ExpressionShape.h"
#include "engine/PointRules.h"
#include "engine/ReductionPlan.h"

#include <cstdio>

namespace vostrel {

namespace {

// The evaluation proper: gives the status and, on success, fills value and points.
inline int32_t Run(const ExpressionState& s, int32_t tryCount, const ScoreSwitches& sw,
                   int32_t& result, int32_t& finalPoints) {
    if (!plan::IsWellFormed(s) ||
        static_cast<uint32_t>(tryCount) > static_cast<uint32_t>(points::kMaxTries)) {
        return EvalBadInput;
    }
    int32_t points = points::BasePoints(tryCount);
    for (int k = 0; k + 1 < kPositions; ++k) {
        points += shape::OrderBonus(s.rank[k], s.rank[k + 1]);
    }
    const plan::Plan& reduce = plan::PlanFor(s);

    // Every operand's power is worked out up front, but its status and points count only at the
    // reduce that consumes it, so the first failing step still decides.
    int32_t value[plan::kValueSlots] = {};
    int32_t status[plan::kValueSlots] = {};
    int32_t earned[plan::kValueSlots] = {};
    int32_t run = 0;
    for (int k = 0; k < kPositions; ++k) {
        run = (k > 0 && s.op[k] == OpJoin ? run * 10 : 0) + s.digits[k];
        status[k + 1] = steps::JoinedPowerStep(run, s.power[k], sw, value[k + 1], earned[k + 1]);
    }
    const int32_t op[kPositions + 1] = {s.op[0], s.op[1], s.op[2], s.op[3], OpAdd};
    // Steps after a failure still run, on defined values; only the first failure counts.
    int32_t first = EvalOk;
    points += reduce.adjust;
    for (const plan::Step& step : reduce.steps) {
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

    result = value[0];
    finalPoints = points::FinalPoints(points, value[0], sw.scoreOtherResults);
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
    return {status, value, points};
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
