#include "engine/Arithmetic.h"
#include "engine/ArithmeticSteps.h"
#include "engine/ExpressionState.h"

#include "core/ExprBuilder.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

namespace vostrel {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

const ScoreSwitches kLenient{1, 1, 1};

using test_support::Err;
using test_support::kStrict;
using test_support::Ok;

TEST(ApplyPower, PlainAndSpentOperands) {
    EXPECT_EQ(ApplyPower(7, PowNone, kStrict), Ok(7, 20));
    EXPECT_EQ(ApplyPower(-123, PowSpent, kStrict), Ok(-123, 0));
}

TEST(ApplyPower, ExactRootsAndTheirPoints) {
    EXPECT_EQ(ApplyPower(4, PowSqrt, kStrict), Ok(2, 50));
    EXPECT_EQ(ApplyPower(1, PowSqrt, kStrict), Ok(1, 20));
    EXPECT_EQ(ApplyPower(0, PowSqrt, kStrict), Ok(0, 20));
    EXPECT_EQ(ApplyPower(8, PowCbrt, kStrict), Ok(2, 60));
    EXPECT_EQ(ApplyPower(1000, PowCbrt, kStrict), Ok(10, 60));
    EXPECT_EQ(ApplyPower(1, PowCbrt, kStrict), Ok(1, 20));
    EXPECT_EQ(ApplyPower(0, PowCbrt, kStrict), Ok(0, 20));
}

// Rounding in the floating-point root must never miss an integer root anywhere in the 32-bit
// range, nor call an inexact neighbour exact.
TEST(ApplyPower, EveryPerfectSquareAndCubeIsExact) {
    for (int64_t r = 2; r * r <= kMax; ++r) {
        const auto v = static_cast<int32_t>(r * r);
        ASSERT_EQ(ApplyPower(v, PowSqrt, kStrict), Ok(static_cast<int32_t>(r), 50)) << v;
        ASSERT_EQ(ApplyPower(v - 1, PowSqrt, kStrict).status, EvalInexactRoot) << v - 1;
        ASSERT_EQ(ApplyPower(v + 1, PowSqrt, kStrict).status, EvalInexactRoot) << v + 1;
    }
    for (int64_t r = 2; r * r * r <= kMax; ++r) {
        const auto v = static_cast<int32_t>(r * r * r);
        ASSERT_EQ(ApplyPower(v, PowCbrt, kStrict), Ok(static_cast<int32_t>(r), 60)) << v;
        ASSERT_EQ(ApplyPower(v - 1, PowCbrt, kStrict).status, EvalInexactRoot) << v - 1;
        ASSERT_EQ(ApplyPower(v + 1, PowCbrt, kStrict).status, EvalInexactRoot) << v + 1;
    }
}

// The nearest integer root by its definition in integers: r is nearest to the k-th root of v
// when (2r - 1)^k < 2^k v < (2r + 1)^k.
TEST(ApplyPower, InexactRootsGiveTheNearestInteger) {
    const auto pow = [](int64_t x, int k) { return k == 2 ? x * x : x * x * x; };
    const auto check = [&](int64_t v) {
        for (const auto& [kind, k] : {std::pair{PowSqrt, 2}, std::pair{PowCbrt, 3}}) {
            const EvalResult r = ApplyPower(static_cast<int32_t>(v), kind, kLenient);
            ASSERT_EQ(r.status, EvalOk) << v;
            const int64_t root = r.value;
            const int64_t scaled = (int64_t{1} << k) * v;
            ASSERT_TRUE(root == 0 || pow(2 * root - 1, k) < scaled) << v << " root " << root;
            ASSERT_LT(scaled, pow(2 * root + 1, k)) << v << " root " << root;
        }
    };
    for (int64_t v = 0; v < 200000; ++v) {
        check(v);
    }
    for (int64_t v = 200000; v <= kMax; v += 9973) {
        check(v);
    }
    check(kMax);
}

TEST(ApplyPower, InexactRootsFailOrCostPoints) {
    EXPECT_EQ(ApplyPower(2, PowSqrt, kStrict), Err(EvalInexactRoot));
    EXPECT_EQ(ApplyPower(2, PowSqrt, kLenient), Ok(1, -500));
    EXPECT_EQ(ApplyPower(7, PowCbrt, kStrict), Err(EvalInexactRoot));
    EXPECT_EQ(ApplyPower(7, PowCbrt, kLenient), Ok(2, -500));
    // The nearest integer, not the floor.
    EXPECT_EQ(ApplyPower(8, PowSqrt, kLenient), Ok(3, -500));
    EXPECT_EQ(ApplyPower(kMax, PowSqrt, kLenient), Ok(46341, -500));
    EXPECT_EQ(ApplyPower(kMax, PowCbrt, kLenient), Ok(1290, -500));
}

TEST(ApplyPower, NegativeRootsAreDefined) {
    EXPECT_EQ(ApplyPower(-4, PowSqrt, kLenient), Err(EvalInexactRoot));
    EXPECT_EQ(ApplyPower(kMin, PowSqrt, kLenient), Err(EvalInexactRoot));
    EXPECT_EQ(ApplyPower(-8, PowCbrt, kStrict), Ok(-2, 60));
    EXPECT_EQ(ApplyPower(-7, PowCbrt, kLenient), Ok(-2, -500));
    EXPECT_EQ(ApplyPower(kMin, PowCbrt, kLenient), Ok(-1290, -500));
}

TEST(ApplyPower, SquaresAndCubesAtTheRangeLimits) {
    EXPECT_EQ(ApplyPower(9, PowSquare, kStrict), Ok(81, 80));
    EXPECT_EQ(ApplyPower(1, PowCube, kStrict), Ok(1, 20));
    EXPECT_EQ(ApplyPower(0, PowSquare, kStrict), Ok(0, 20));
    EXPECT_EQ(ApplyPower(1290, PowCube, kStrict), Ok(2146689000, 80));
    EXPECT_EQ(ApplyPower(1291, PowCube, kStrict), Err(EvalOverflow));
    EXPECT_EQ(ApplyPower(-1290, PowCube, kStrict), Ok(-2146689000, 80));
    EXPECT_EQ(ApplyPower(-1291, PowCube, kStrict), Err(EvalOverflow));
    EXPECT_EQ(ApplyPower(46340, PowSquare, kStrict), Ok(2147395600, 80));
    EXPECT_EQ(ApplyPower(46341, PowSquare, kStrict), Err(EvalOverflow));
    EXPECT_EQ(ApplyPower(-46341, PowSquare, kStrict), Err(EvalOverflow));
    // Squares beyond 2^31 would overflow a 64-bit cube if the cube were taken first.
    EXPECT_EQ(ApplyPower(kMin, PowCube, kStrict), Err(EvalOverflow));
    EXPECT_EQ(ApplyPower(kMax, PowCube, kStrict), Err(EvalOverflow));
    EXPECT_EQ(ApplyPower(kMin, PowSquare, kStrict), Err(EvalOverflow));
}

TEST(ApplyPower, UnknownKindIsRefused) {
    EXPECT_EQ(ApplyPower(4, 5, kLenient), Err(EvalBadInput));
    EXPECT_EQ(ApplyPower(4, -2, kLenient), Err(EvalBadInput));
    EXPECT_EQ(ApplyPower(4, kMin, kLenient), Err(EvalBadInput));
}

// The evaluator's table-driven powers for joined digits must match ApplyPower everywhere.
TEST(JoinedPowerStep, MatchesApplyPowerForEveryJoinedValue) {
    for (const ScoreSwitches& sw : {kStrict, kLenient}) {
        for (int32_t kind = PowNone; kind <= PowCube; ++kind) {
            for (int32_t v = 0; v <= steps::kMaxJoined; ++v) {
                int32_t out = 0;
                int32_t points = 0;
                const int32_t status = steps::JoinedPowerStep(v, kind, sw, out, points);
                const EvalResult got =
                    status == EvalOk ? EvalResult{EvalOk, out, points} : Err(status);
                ASSERT_EQ(got, ApplyPower(v, kind, sw)) << "value " << v << " kind " << kind;
            }
        }
    }
}

TEST(ApplyOp, AdditionAndSubtraction) {
    EXPECT_EQ(ApplyOp(3, 5, OpSub, kStrict), Ok(-2, 50));
    EXPECT_EQ(ApplyOp(3, 5, OpAdd, kStrict), Ok(8, 50));
    EXPECT_EQ(ApplyOp(kMax, 1, OpAdd, kStrict), Err(EvalOverflow));
    EXPECT_EQ(ApplyOp(kMin, 1, OpSub, kStrict), Err(EvalOverflow));
    EXPECT_EQ(ApplyOp(0, kMin, OpSub, kStrict), Err(EvalOverflow));
    EXPECT_EQ(ApplyOp(-1, kMin, OpSub, kStrict), Ok(kMax, 50));
}

TEST(ApplyOp, MultiplicationAtTheRangeLimits) {
    EXPECT_EQ(ApplyOp(65536, 32768, OpMul, kStrict), Err(EvalOverflow));
    EXPECT_EQ(ApplyOp(-65536, 32768, OpMul, kStrict), Ok(kMin, 100));
    EXPECT_EQ(ApplyOp(kMin, -1, OpMul, kStrict), Err(EvalOverflow));
    EXPECT_EQ(ApplyOp(kMin, kMin, OpMul, kStrict), Err(EvalOverflow));
    EXPECT_EQ(ApplyOp(6, -7, OpMul, kStrict), Ok(-42, 100));
}

TEST(ApplyOp, Division) {
    EXPECT_EQ(ApplyOp(8, 2, OpDiv, kStrict), Ok(4, 150));
    EXPECT_EQ(ApplyOp(7, 2, OpDiv, kStrict), Err(EvalInexactDiv));
    EXPECT_EQ(ApplyOp(7, 2, OpDiv, kLenient), Ok(3, -500));
    EXPECT_EQ(ApplyOp(-7, 2, OpDiv, kLenient), Ok(-3, -500));
    EXPECT_EQ(ApplyOp(7, -2, OpDiv, kLenient), Ok(-3, -500));
    EXPECT_EQ(ApplyOp(5, 0, OpDiv, kStrict), Err(EvalDivByZero));
    EXPECT_EQ(ApplyOp(5, 0, OpDiv, kLenient), Err(EvalDivByZero));
    EXPECT_EQ(ApplyOp(0, 0, OpDiv, kLenient), Err(EvalDivByZero));
    EXPECT_EQ(ApplyOp(kMin, -1, OpDiv, kLenient), Err(EvalOverflow));
    EXPECT_EQ(ApplyOp(kMin, 1, OpDiv, kStrict), Ok(kMin, 150));
    EXPECT_EQ(ApplyOp(kMin, -2, OpDiv, kStrict), Ok(1073741824, 150));
}

TEST(ApplyOp, JoinAndUnknownKindsAreRefused) {
    EXPECT_EQ(ApplyOp(1, 2, OpJoin, kLenient), Err(EvalBadInput));
    EXPECT_EQ(ApplyOp(1, 2, -1, kLenient), Err(EvalBadInput));
    EXPECT_EQ(ApplyOp(1, 2, 1000, kLenient), Err(EvalBadInput));
}

// Under the sanitizer build this sweep is what proves that no input reaches undefined
// arithmetic; in any build it checks that failures carry no value and no points.
TEST(ApplyStep, ExtremeInputsGiveDefinedOutcomes) {
    const int32_t values[] = {kMin, kMin + 1, -46341, -1291, -1000, -2,    -1,    0,        1,
                              2,    7,        1290,   1291,  46340, 46341, 65536, kMax - 1, kMax};
    const int32_t kinds[] = {kMin, -2, -1, 0, 1, 2, 3, 4, 5, 1000, kMax};
    const auto expectDefined = [](const EvalResult& r) {
        EXPECT_TRUE(r.status <= EvalOk && r.status >= EvalBadInput) << r.status;
        if (r.status != EvalOk) {
            EXPECT_EQ(r.value, 0);
            EXPECT_EQ(r.points, 0);
        }
    };
    for (const ScoreSwitches& sw : {kStrict, kLenient}) {
        for (int32_t kind : kinds) {
            for (int32_t a : values) {
                expectDefined(ApplyPower(a, kind, sw));
                for (int32_t b : values) {
                    expectDefined(ApplyOp(a, b, kind, sw));
                }
            }
        }
    }
}

} // namespace
} // namespace vostrel
