#include "engine/Evaluator.h"

#include "core/ExprBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <random>

namespace vostrel {
namespace {

using test_support::Expr;
using test_support::Four;

constexpr ScoreSwitches kNoOtherResults{0, 0, 0};

using test_support::Err;
using test_support::kStrict;
using test_support::Ok;

TEST(Evaluate, WorkedExamples) {
    EXPECT_EQ(Evaluate(Expr({1, 2, 3, 4}), 0, kStrict), Ok(10, 800));
    // 0+50, 50/5, 10*1.
    EXPECT_EQ(Evaluate(Expr({5, 0, 5, 1}, {0, OpJoin, OpDiv, OpMul}, {1, 0, 2, 3}), 0, kStrict),
              Ok(10, 1110));
    // 0 + (2 * ((3 + 4) - 2)).
    EXPECT_EQ(Evaluate(Expr({2, 3, 4, 2}, {0, OpMul, OpAdd, OpSub}, {3, 2, 0, 1}), 1, kStrict),
              Ok(10, 990));
}

TEST(Evaluate, ZeroEarnsItsBonusOnlyWithOtherResultsScored) {
    EXPECT_EQ(Evaluate(Expr({0, 0, 0, 0}), 0, kStrict), Ok(0, 500));
    EXPECT_EQ(Evaluate(Expr({0, 0, 0, 0}), 0, kNoOtherResults), Ok(0, 0));
}

TEST(Evaluate, TriesLowerTheBaseDownToNothing) {
    const ExpressionState s = Expr({1, 2, 3, 4});
    const int32_t expected[] = {800, 780, 760, 740, 720, 700, 700, 700, 700, 700, 700};
    for (int32_t t = 0; t <= 10; ++t) {
        EXPECT_EQ(Evaluate(s, t, kStrict), Ok(10, expected[t])) << "tryCount " << t;
    }
}

TEST(Evaluate, ResultsOtherThanTen) {
    // 0 - (1 + 2 + 3 + 4): a negative multiple of ten earns 50, not 400.
    EXPECT_EQ(Evaluate(Expr({1, 2, 3, 4}, {kSignMinus, 0, 0, 0}, {3, 0, 1, 2}), 0, kStrict),
              Ok(-10, 530));
    EXPECT_EQ(Evaluate(Expr({1, 2, 3, 9}, {kSignMinus, 0, 0, 0}, {3, 0, 1, 2}), 0, kStrict),
              Ok(-15, 0));
    EXPECT_EQ(Evaluate(Expr({1, 2, 3, 9}), 0, kStrict), Ok(15, 0));
    EXPECT_EQ(Evaluate(Expr({4, 2, 3, 1}), 0, kStrict), Ok(10, 800));
    EXPECT_EQ(Evaluate(Expr({9, 9, 1, 1}), 0, kStrict), Ok(20, 450));
    EXPECT_EQ(Evaluate(Expr({9, 9, 1, 1}), 0, kNoOtherResults), Ok(20, 0));
}

TEST(Evaluate, AllowedInexactStepsCostPointsEvenOnATen) {
    const ScoreSwitches lenientDiv{1, 0, 1};
    // 7/2 = 3 (-500): 3+3+5 = 11 keeps the negative total; 3+3+4 = 10 adds 400 to it.
    EXPECT_EQ(Evaluate(Expr({7, 2, 3, 5}, {0, OpDiv, 0, 0}), 0, lenientDiv), Ok(11, -150));
    EXPECT_EQ(Evaluate(Expr({7, 2, 3, 4}, {0, OpDiv, 0, 0}), 0, lenientDiv), Ok(10, 250));
    EXPECT_EQ(Evaluate(Expr({7, 2, 3, 4}, {0, OpDiv, 0, 0}), 0, kStrict), Err(EvalInexactDiv));
}

TEST(Evaluate, PowersFailAtTheReduceThatConsumesTheirOperand) {
    const ExpressionState s =
        Expr({2, 0, 3, 1}, {0, OpDiv, 0, 0}, {0, 1, 2, 3}, {PowSqrt, 0, 0, 0});
    EXPECT_EQ(Evaluate(s, 0, kStrict), Err(EvalInexactRoot));
    EXPECT_EQ(Evaluate(s, 0, ScoreSwitches{0, 1, 1}), Err(EvalDivByZero));

    // Computed first, 1/0 fails before the square root of 2 is ever taken.
    const ExpressionState late =
        Expr({2, 1, 0, 1}, {0, OpAdd, OpDiv, 0}, {3, 1, 0, 2}, {PowSqrt, 0, 0, 0});
    EXPECT_EQ(Evaluate(late, 0, kStrict), Err(EvalDivByZero));
}

TEST(Evaluate, JoinsFormOneNumberWithThePowerOfTheirLastDigit) {
    // 0010 = 10; the order bonus is earned once (3 > 0).
    EXPECT_EQ(Evaluate(Expr({0, 0, 1, 0}, {0, OpJoin, OpJoin, OpJoin}, {3, 0, 1, 2}), 0, kStrict),
              Ok(10, 1120));
    // The cube root of 1000.
    EXPECT_EQ(
        Evaluate(Expr({1, 0, 0, 0}, {0, OpJoin, OpJoin, OpJoin}, {3, 0, 1, 2}, {0, 0, 0, PowCbrt}),
                 0, kStrict),
        Ok(10, 1160));
    // 0 + 07² + 30: the leading zero vanishes, the square applies to the whole 07.
    EXPECT_EQ(
        Evaluate(Expr({0, 7, 3, 0}, {0, OpJoin, OpAdd, OpJoin}, {2, 0, 3, 1}, {0, PowSquare, 0, 0}),
                 0, kStrict),
        Ok(79, 0));
    EXPECT_EQ(
        Evaluate(Expr({1, 2, 9, 0}, {0, OpJoin, OpJoin, OpJoin}, {3, 0, 1, 2}, {0, 0, 0, PowCube}),
                 0, kStrict),
        Ok(2146689000, 830));
    EXPECT_EQ(
        Evaluate(Expr({1, 2, 9, 1}, {0, OpJoin, OpJoin, OpJoin}, {3, 0, 1, 2}, {0, 0, 0, PowCube}),
                 0, kStrict),
        Err(EvalOverflow));
}

TEST(Evaluate, TheSignSlotIsAnOperatorWithARank) {
    EXPECT_EQ(Evaluate(Expr({3, 2, 0, 0}, {kSignMinus, 0, 0, 0}, {0, 1, 2, 3}), 0, kStrict).value,
              -1);
    EXPECT_EQ(Evaluate(Expr({3, 2, 0, 0}, {kSignMinus, 0, 0, 0}, {3, 0, 1, 2}), 0, kStrict).value,
              -5);
}

TEST(Evaluate, MalformedStatesAreRefused) {
    const ExpressionState good = Expr({1, 2, 3, 4});
    const int32_t big = std::numeric_limits<int32_t>::max();
    const int32_t small = std::numeric_limits<int32_t>::min();
    auto refused = [](ExpressionState s, int32_t tries = 0) {
        return Evaluate(s, tries, ScoreSwitches{1, 1, 1}) == Err(EvalBadInput);
    };
    ExpressionState s = good;
    s.digits[3] = 10;
    EXPECT_TRUE(refused(s));
    s = good;
    s.digits[1] = big; // a join would overflow
    s.op[1] = OpJoin;
    EXPECT_TRUE(refused(s));
    s = good;
    s.power[2] = 5;
    EXPECT_TRUE(refused(s));
    s = good;
    s.power[2] = PowSpent;
    EXPECT_TRUE(refused(s));
    s = good;
    s.op[0] = OpJoin;
    EXPECT_TRUE(refused(s));
    s = good;
    s.op[3] = 5;
    EXPECT_TRUE(refused(s));
    s = good;
    s.rank[2] = 1000; // would reduce below the bottom of the stacks
    EXPECT_TRUE(refused(s));
    s = good;
    s.rank[2] = 1;
    EXPECT_TRUE(refused(s));
    s = good;
    s.rank[0] = small;
    EXPECT_TRUE(refused(s));
    EXPECT_TRUE(refused(good, -1));
    EXPECT_TRUE(refused(good, 11));
    EXPECT_TRUE(refused(good, small));
    EXPECT_EQ(Evaluate(good, 10, kStrict), Ok(10, 700));
}

TEST(Evaluate, ArbitraryFieldsAreRefusedWithoutUndefinedBehaviour) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> any(std::numeric_limits<int32_t>::min(),
                                               std::numeric_limits<int32_t>::max());
    std::uniform_int_distribution<int32_t> nearRange(-2, 12);
    for (int i = 0; i < 20000; ++i) {
        ExpressionState s;
        // Mostly near the valid ranges, sometimes anywhere.
        auto field = [&] { return i % 4 == 0 ? any(rng) : nearRange(rng); };
        for (int k = 0; k < 4; ++k) {
            s.digits[k] = field();
            s.power[k] = field() % 6;
            s.op[k] = field() % 6;
            s.rank[k] = field() % 5;
        }
        const EvalResult r = Evaluate(s, field(), ScoreSwitches{field(), field(), field()});
        ASSERT_TRUE(r.status <= EvalOk && r.status >= EvalBadInput) << r.status;
        if (r.status != EvalOk) {
            ASSERT_EQ(r.value, 0);
            ASSERT_EQ(r.points, 0);
        }
    }
}

// An independent evaluator: the operator of highest rank is computed last, so the expression is
// a tree split at it. Reduces run in post-order, and a single operand's power is applied by the
// operator that consumes it, just before that operator; so status, value and points all match.
struct Operands {
    int n = 1; // operand 0 is the implicit zero
    int32_t value[5] = {0};
    int32_t power[5] = {PowNone};
    int32_t op[5] = {0};
    int32_t rank[5] = {0};
};

int32_t Powered(const Operands& e, int i, const ScoreSwitches& sw, int32_t& value,
                int32_t& points) {
    const EvalResult r = ApplyPower(e.value[i], e.power[i], sw);
    value = r.value;
    points += r.points;
    return r.status;
}

// Gives the status of the first failing step. Called with lo < hi.
int32_t TreeEval(const Operands& e, int lo, int hi, const ScoreSwitches& sw, int32_t& value,
                 int32_t& points) {
    int split = lo + 1;
    for (int i = lo + 2; i <= hi; ++i) {
        if (e.rank[i] >= e.rank[split]) {
            split = i;
        }
    }
    int32_t a = 0;
    int32_t b = 0;
    int32_t status = split - 1 > lo ? TreeEval(e, lo, split - 1, sw, a, points) : EvalOk;
    if (status == EvalOk && split < hi) {
        status = TreeEval(e, split, hi, sw, b, points);
    }
    if (status == EvalOk && split - 1 == lo) {
        status = Powered(e, lo, sw, a, points);
    }
    if (status == EvalOk && split == hi) {
        status = Powered(e, hi, sw, b, points);
    }
    if (status != EvalOk) {
        return status;
    }
    const EvalResult r = ApplyOp(a, b, e.op[split], sw);
    value = r.value;
    points += r.points;
    return r.status;
}

int32_t ReferenceEvaluate(const ExpressionState& s, int32_t tries, const ScoreSwitches& sw,
                          int32_t& value, int32_t& points) {
    Operands e;
    points = std::max(0, 100 - 20 * tries);
    for (int k = 0; k < 4; ++k) {
        if (k > 0 && s.op[k] == OpJoin) {
            e.value[e.n - 1] = e.value[e.n - 1] * 10 + s.digits[k];
            e.power[e.n - 1] = s.power[k];
            points += 150;
        } else {
            e.value[e.n] = s.digits[k];
            e.power[e.n] = s.power[k];
            e.op[e.n] = s.op[k];
            e.rank[e.n] = s.rank[k];
            ++e.n;
        }
        if (k < 3 && s.rank[k] > s.rank[k + 1]) {
            points += 80;
        }
    }
    const int32_t status = TreeEval(e, 0, e.n - 1, sw, value, points);
    if (status != EvalOk) {
        return status;
    }
    if (value == 10) {
        points += 400;
    } else if (sw.scoreOtherResults && value == 0) {
        points += 100;
    } else if (sw.scoreOtherResults && value % 10 == 0) {
        points += 50;
    } else if (points > 0) {
        points = 0;
    }
    return EvalOk;
}

TEST(Evaluate, AgreesWithATreeEvaluatorForEveryRankPermutation) {
    std::mt19937 rng(117);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Four perm = {0, 1, 2, 3};
    int successes = 0;
    do {
        for (int i = 0; i < 3000; ++i) {
            ExpressionState s = Expr({pick(0, 9), pick(0, 9), pick(0, 9), pick(0, 9)},
                                     {pick(0, 1), pick(0, 4), pick(0, 4), pick(0, 4)}, perm);
            for (int k = 0; k < 4; ++k) {
                // Mostly no power, so that many expressions get through.
                s.power[k] = pick(0, 2) == 0 ? pick(0, 4) : PowNone;
            }
            const ScoreSwitches sw{pick(0, 1), pick(0, 1), pick(0, 1)};
            const int32_t tries = pick(0, 10);
            int32_t value = 0;
            int32_t points = 0;
            const int32_t status = ReferenceEvaluate(s, tries, sw, value, points);
            const EvalResult r = Evaluate(s, tries, sw);
            if (status == EvalOk) {
                ++successes;
                ASSERT_EQ(r, Ok(value, points))
                    << "digits " << s.digits[0] << s.digits[1] << s.digits[2] << s.digits[3]
                    << " ops " << s.op[0] << s.op[1] << s.op[2] << s.op[3] << " ranks " << perm[0]
                    << perm[1] << perm[2] << perm[3];
            } else {
                ASSERT_EQ(r, Err(status))
                    << "digits " << s.digits[0] << s.digits[1] << s.digits[2] << s.digits[3]
                    << " ops " << s.op[0] << s.op[1] << s.op[2] << s.op[3] << " ranks " << perm[0]
                    << perm[1] << perm[2] << perm[3];
            }
        }
    } while (std::next_permutation(perm.begin(), perm.end()));
    EXPECT_GT(successes, 24 * 1000);
}

TEST(FormatResult, TextsAndAlignments) {
    const ResultDisplay ok = FormatResult(Ok(-15, -150));
    EXPECT_EQ(ok.result, (LabelText{"-15 ", TextAlign::Right}));
    EXPECT_EQ(ok.points, (LabelText{"-150 ", TextAlign::Right}));
    const ResultDisplay extreme = FormatResult(Ok(std::numeric_limits<int32_t>::min(), 0));
    EXPECT_EQ(extreme.result.text, "-2147483648 ");
    EXPECT_EQ(extreme.points.text, "0 ");

    const struct {
        int32_t status;
        const char* text;
    } errors[] = {{EvalDivByZero, "division by 0"}, {EvalOverflow, "over flow"},
                  {EvalInexactDiv, "not integer"},  {EvalInexactRoot, "not integer"},
                  {EvalBadInput, "error"},          {7, "error"}};
    for (const auto& e : errors) {
        const ResultDisplay d = FormatResult({e.status, 0, 0});
        EXPECT_EQ(d.result, (LabelText{e.text, TextAlign::Left})) << e.status;
        EXPECT_EQ(d.points, (LabelText{"----", TextAlign::Center})) << e.status;
    }
}

} // namespace
} // namespace vostrel
