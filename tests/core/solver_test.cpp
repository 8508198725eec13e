#include "core/Sanitized.h"
#include "engine/Evaluator.h"
#include "engine/ExpressionModel.h"
#include "search/AllSwitchesSolver.h"
#include "search/ChoiceSets.h"
#include "search/LabelOrder.h"
#include "search/Solver.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace vostrel {
namespace {

// The sanitizer build checks fewer tickets per switch combination, but still every combination.
constexpr int kTicketsPerCombination = test::kSanitized ? 1 : 3;

// Zeros, repeats, the extremes, tickets that need joins or powers, tickets without 10. The
// last three never make 10: with other results unscored, ties alone pick their answer (0159
// the nearest result, 9; 0034 no power, 12 before 3^2 + 0; 0038 the nearest, 11).
const std::vector<Digits> kTickets = {
    {0, 0, 0, 0}, {9, 9, 9, 9}, {5, 0, 5, 1}, {1, 2, 3, 4}, {0, 0, 1, 0}, {7, 7, 7, 7},
    {1, 1, 1, 1}, {2, 3, 4, 2}, {9, 0, 0, 1}, {4, 8, 1, 6}, {1, 0, 0, 0}, {3, 8, 0, 7},
    {6, 6, 6, 9}, {2, 0, 3, 1}, {8, 8, 8, 8}, {1, 2, 9, 1}, {0, 5, 0, 2}, {9, 7, 5, 3},
    {0, 1, 5, 9}, {0, 0, 3, 4}, {0, 0, 3, 8},
};

TEST(ChoiceSets, CountsMatchTheWindowsOptions) {
    const Digits d = {1, 2, 3, 4};
    // One bit per possible state: powers, sign, gap operators and ranks as digits of a number.
    std::vector<bool> seen(625u * 2 * 125 * 256);
    uint32_t repeats = 0;
    const uint32_t withPower = ForEachChoiceSet(d, 1, [&](const ExpressionState& s) {
        uint32_t code = 0;
        for (int k = 0; k < kPositions; ++k) {
            code = code * 5 + static_cast<uint32_t>(s.power[k]);
            code = code * (k == 0 ? 2 : 5) + static_cast<uint32_t>(s.op[k]);
            code = code * 4 + static_cast<uint32_t>(s.rank[k]);
        }
        repeats += seen[code] ? 1 : 0;
        seen[code] = true;
    });
    EXPECT_EQ(withPower, 1993210u);
    EXPECT_EQ(repeats, 0u); // no choice set twice
    EXPECT_EQ(ForEachChoiceSet(d, 0, [](const ExpressionState&) {}), 3698u);
}

TEST(ChoiceSets, EveryChoiceSetIsReachableThroughTheModelOneLabelAtATime) {
    // Laying a choice set label by label through the window's operations, from a fresh
    // expression and from another choice set, gives exactly that state, each label laid once:
    // the set holds nothing the player could not build, and a hint never undoes an earlier one.
    int checked = 0;
    ExpressionState previous;
    ForEachChoiceSet({1, 2, 3, 4}, 1, [&](const ExpressionState& target) {
        if (++checked % 97 != 0) {
            return;
        }
        ExpressionState fresh = target;
        ResetExpression(fresh, 1);
        if (checked == 97) {
            previous = fresh;
        }
        for (ExpressionState s : {fresh, previous}) {
            LabelMask laid = 0;
            while (const std::optional<LabelChoice> c = NextLabel(s, target)) {
                ASSERT_EQ(laid & c->label, 0u);
                laid |= c->label;
                ASSERT_NE(ApplyLabel(s, *c, 1), 0u);
            }
            ASSERT_EQ(s, target);
        }
        previous = target;
    });
}

TEST(Solve, AgreesWithTheBruteForceOnEverySwitchCombination) {
    size_t next = 0;
    for (int combo = 0; combo < 16; ++combo) {
        const SolveSwitches sw = SwitchCombination(combo);
        // Without powers the brute force is cheap: every ticket.
        const size_t count = sw.usePower != 0 ? kTicketsPerCombination : kTickets.size();
        for (size_t n = 0; n < count; ++n) {
            const Digits& d = kTickets[sw.usePower != 0 ? next++ % kTickets.size() : n];
            SCOPED_TRACE(testing::Message()
                         << "combo " << combo << " ticket " << d[0] << d[1] << d[2] << d[3]);
            const SolveResult fast = Solve(d, sw);
            const SolveResult slow = SolveBruteForce(d, sw);
            EXPECT_EQ(fast.status, EvalOk);
            EXPECT_TRUE(fast.found);
            EXPECT_EQ(fast.best, slow.best);
            EXPECT_EQ(fast.value, slow.value);
            EXPECT_EQ(fast.tens, slow.tens);
            EXPECT_EQ(fast.states, slow.states);
            EXPECT_EQ(fast.states, sw.usePower != 0 ? 1993210u : 3698u);
            // Ties may pick different choice sets, but equally good ones.
            EXPECT_EQ(JoinsAndPowers(fast.choice), JoinsAndPowers(slow.choice));
            const EvalResult again = Evaluate(fast.choice, 0, sw.score);
            EXPECT_EQ(again, (EvalResult{EvalOk, fast.value, fast.best}));
        }
    }
}

TEST(SolveAllSwitches, EqualsSolveUnderEachCombination) {
    // Each switch has a bit of its own: an index names its combination, and nothing else.
    for (int combo = 0; combo < kSwitchCombinations; ++combo) {
        EXPECT_EQ(SwitchCombinationIndex(SwitchCombination(combo)), combo);
    }
    // The sanitizer build checks every third ticket.
    const size_t step = kTicketsPerCombination == 1 ? 3 : 1;
    for (size_t n = 0; n < kTickets.size(); n += step) {
        const Digits& d = kTickets[n];
        const AllSwitchesResult all = SolveAllSwitches(d);
        for (int combo = 0; combo < kSwitchCombinations; ++combo) {
            SCOPED_TRACE(testing::Message()
                         << "combo " << combo << " ticket " << d[0] << d[1] << d[2] << d[3]);
            const SolveResult one = Solve(d, SwitchCombination(combo));
            EXPECT_EQ(
                all[static_cast<size_t>(combo)],
                (SolveSummary{one.status, one.found, one.best, one.value, one.tens, one.states}));
        }
    }
}

TEST(SolveAllSwitches, AHundredTicketsSharingTheirMiddleEqualOneAtATime) {
    // 0000 and 9001 share the middle with tickets that make 10 only through powers or joins.
    MiddleBlock block;
    SolveAllSwitchesMiddle(0, 0, block);
    for (int32_t d0 = 0; d0 < 10; ++d0) {
        for (int32_t d3 = 0; d3 < 10; ++d3) {
            SCOPED_TRACE(testing::Message() << "ticket " << d0 << "00" << d3);
            EXPECT_EQ(block[static_cast<size_t>(d0 * 10 + d3)], SolveAllSwitches({d0, 0, 0, d3}));
        }
    }
}

TEST(Solve, KnownTickets) {
    const SolveSwitches defaults; // a new settings file: 0, 0, 1, power on
    // 0000: nothing reaches 10; sign and zeros give 0.
    const SolveResult zeros = Solve({0, 0, 0, 0}, defaults);
    EXPECT_EQ(zeros.tens, 0u);
    EXPECT_EQ(zeros.value, 0);
    // 1234 reaches 10 in many ways; the best earns more than the plain sum's 800.
    const SolveResult easy = Solve({1, 2, 3, 4}, defaults);
    EXPECT_EQ(easy.value, 10);
    EXPECT_GT(easy.best, 800);
    EXPECT_GT(easy.tens, 0u);
}

TEST(Solve, RefusesDigitsOutOfRange) {
    const SolveResult r = Solve({1, 2, 10, 4}, SolveSwitches{});
    EXPECT_EQ(r.status, EvalBadInput);
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.states, 0u);
    EXPECT_EQ(SolveBruteForce({-1, 0, 0, 0}, SolveSwitches{}).status, EvalBadInput);
    EXPECT_EQ(SolveAllSwitches({0, 0, 0, 10})[kSwitchCombinations - 1].status, EvalBadInput);
    MiddleBlock block;
    SolveAllSwitchesMiddle(0, -1, block);
    EXPECT_EQ(block[kTicketsPerMiddle - 1][0].status, EvalBadInput);
}

TEST(BetterSolution, OrdersPointsThenTenThenSimplicityThenNearness) {
    EXPECT_TRUE(BetterSolution(900, 3, 4, 800, 10, 0));
    EXPECT_TRUE(BetterSolution(0, 10, 4, 0, 7, 0));
    EXPECT_TRUE(BetterSolution(800, 10, 1, 800, 10, 2));
    EXPECT_TRUE(BetterSolution(0, 9, 0, 0, 12, 0));
    EXPECT_TRUE(BetterSolution(0, 8, 0, 0, 12, 0));
    EXPECT_FALSE(BetterSolution(0, 12, 0, 0, 8, 0));
    EXPECT_FALSE(BetterSolution(800, 10, 1, 800, 10, 1)); // equal: the first stays
}

} // namespace
} // namespace vostrel
