#include "engine/ExpressionModel.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

namespace vostrel {
namespace {

using Ranks = std::array<int32_t, 4>;

Ranks RanksOf(const ExpressionState& s) {
    return {s.rank[0], s.rank[1], s.rank[2], s.rank[3]};
}

ExpressionState Fresh(int32_t usePower = 1) {
    ExpressionState s;
    ResetExpression(s, usePower);
    return s;
}

TEST(ExpressionModel, ListTexts) {
    const char* powers[] = {"", "√", "1/3", "2", "3"};
    const char* ops[] = {"+", "-", "*", "/", " "};
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(PowerText(i), powers[i]);
        EXPECT_STREQ(OpText(i), ops[i]);
    }
    EXPECT_STREQ(SignText(0), "");
    EXPECT_STREQ(SignText(1), "-");
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(RankText(r), std::to_string(r + 1));
    }
    EXPECT_STREQ(PowerText(5), "");
    EXPECT_STREQ(SignText(-1), "");
    EXPECT_STREQ(OpText(1000), "");
    EXPECT_STREQ(RankText(4), "");
}

TEST(ExpressionModel, ResetRestoresTheDefaultsAndReportsWhatChanged) {
    ExpressionState s = Fresh();
    s.digits[2] = 7;
    SetPower(s, 3, PowCube);
    SetSign(s, kSignMinus);
    SetGapOp(s, 1, OpJoin, 1);
    SetGapOp(s, 2, OpDiv, 1);
    SetRank(s, 3, 1);

    const LabelMask m = ResetExpression(s, 1);
    EXPECT_EQ(RanksOf(s), (Ranks{0, 1, 2, 3}));
    EXPECT_EQ(s.digits[2], 7);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(s.power[k], PowNone);
        EXPECT_EQ(s.op[k], OpAdd);
        EXPECT_TRUE(s.powerOn[k]);
        EXPECT_TRUE(s.rankOn[k]);
    }
    // The power label of digit 0 changed only its enabled state; digits 1 and 2 not at all.
    EXPECT_EQ(m, PowerLabelBit(0) | PowerLabelBit(3) | OpLabelBit(0) | OpLabelBit(1) |
                     OpLabelBit(2) | RankLabelBit(0) | RankLabelBit(1) | RankLabelBit(2) |
                     RankLabelBit(3));
    EXPECT_EQ(ResetExpression(s, 1), 0u);
}

TEST(ExpressionModel, WithoutPowersEveryPowerLabelStaysDisabled) {
    ExpressionState s = Fresh(1);
    EXPECT_EQ(ResetExpression(s, 0),
              PowerLabelBit(0) | PowerLabelBit(1) | PowerLabelBit(2) | PowerLabelBit(3));
    for (int k = 0; k < 4; ++k) {
        EXPECT_FALSE(s.powerOn[k]);
        EXPECT_EQ(SetPower(s, k, PowSquare), 0u);
        EXPECT_EQ(s.power[k], PowNone);
    }
    SetGapOp(s, 2, OpJoin, 0);
    EXPECT_EQ(SetGapOp(s, 2, OpMul, 0), OpLabelBit(2) | RankLabelBit(2));
    EXPECT_FALSE(s.powerOn[1]);
}

TEST(ExpressionModel, JoinClearsTheLeftPowerAndKeepsTheRight) {
    ExpressionState s = Fresh();
    SetPower(s, 0, PowSquare);
    SetPower(s, 1, PowCube);
    const LabelMask m = SetGapOp(s, 1, OpJoin, 1);
    EXPECT_EQ(s.power[0], PowNone);
    EXPECT_EQ(s.power[1], PowCube);
    EXPECT_FALSE(s.powerOn[0]);
    EXPECT_TRUE(s.powerOn[1]);
    EXPECT_FALSE(s.rankOn[1]);
    EXPECT_EQ(RanksOf(s), (Ranks{1, 0, 2, 3}));
    EXPECT_EQ(m, PowerLabelBit(0) | OpLabelBit(1) | RankLabelBit(0) | RankLabelBit(1));
    // The left digit of a join takes no power.
    EXPECT_EQ(SetPower(s, 0, PowSqrt), 0u);
    EXPECT_EQ(s.power[0], PowNone);
}

TEST(ExpressionModel, JoinedGapsHoldTheLowestRanksInPositionOrder) {
    ExpressionState s = Fresh();
    SetGapOp(s, 1, OpJoin, 1);
    EXPECT_EQ(RanksOf(s), (Ranks{1, 0, 2, 3}));
    SetGapOp(s, 3, OpJoin, 1);
    EXPECT_EQ(RanksOf(s), (Ranks{2, 0, 3, 1}));
    // Releasing gap 1 gives it the last rank of the block; gap 3 closes up to rank 0.
    const LabelMask m = SetGapOp(s, 1, OpAdd, 1);
    EXPECT_EQ(RanksOf(s), (Ranks{2, 1, 3, 0}));
    EXPECT_TRUE(s.powerOn[0]);
    EXPECT_TRUE(s.rankOn[1]);
    EXPECT_EQ(m, PowerLabelBit(0) | OpLabelBit(1) | RankLabelBit(1) | RankLabelBit(3));
}

TEST(ExpressionModel, JoiningLeftOfAJoinShiftsItUp) {
    ExpressionState s = Fresh();
    SetGapOp(s, 3, OpJoin, 1);
    EXPECT_EQ(RanksOf(s), (Ranks{1, 2, 3, 0}));
    SetGapOp(s, 2, OpJoin, 1);
    EXPECT_EQ(RanksOf(s), (Ranks{2, 3, 0, 1}));
    SetGapOp(s, 1, OpJoin, 1);
    EXPECT_EQ(RanksOf(s), (Ranks{3, 0, 1, 2}));
}

TEST(ExpressionModel, RechoosingAnOperatorChangesNothing) {
    ExpressionState s = Fresh();
    SetGapOp(s, 1, OpJoin, 1);
    SetGapOp(s, 3, OpJoin, 1);
    SetGapOp(s, 2, OpDiv, 1);
    const ExpressionState before = s;
    EXPECT_EQ(SetGapOp(s, 3, OpJoin, 1), 0u);
    EXPECT_EQ(SetGapOp(s, 1, OpJoin, 1), 0u);
    EXPECT_EQ(SetGapOp(s, 2, OpDiv, 1), 0u);
    EXPECT_EQ(SetSign(s, kSignPlus), 0u);
    EXPECT_EQ(s, before);
}

TEST(ExpressionModel, RankChoicesAreClampedBehindTheJoinedBlock) {
    ExpressionState s = Fresh();
    for (int k = 1; k <= 3; ++k) {
        SetGapOp(s, k, OpJoin, 1);
    }
    EXPECT_EQ(RanksOf(s), (Ranks{3, 0, 1, 2}));
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(SetRank(s, 0, r), 0u);
        EXPECT_EQ(s.rank[0], 3);
    }

    s = Fresh();
    SetGapOp(s, 1, OpJoin, 1);
    SetGapOp(s, 2, OpJoin, 1);
    EXPECT_EQ(SetRank(s, 3, 0), RankLabelBit(0) | RankLabelBit(3));
    EXPECT_EQ(RanksOf(s), (Ranks{3, 0, 1, 2}));
    // A joined gap's rank label is disabled.
    EXPECT_EQ(SetRank(s, 1, 3), 0u);
    EXPECT_EQ(RanksOf(s), (Ranks{3, 0, 1, 2}));
}

TEST(ExpressionModel, MoveRankShiftsThePositionsInBetween) {
    ExpressionState s = Fresh();
    EXPECT_EQ(MoveRank(s, 3, 3, 0),
              RankLabelBit(0) | RankLabelBit(1) | RankLabelBit(2) | RankLabelBit(3));
    EXPECT_EQ(RanksOf(s), (Ranks{1, 2, 3, 0}));
    s = Fresh();
    EXPECT_EQ(MoveRank(s, 0, 0, 2), RankLabelBit(0) | RankLabelBit(1) | RankLabelBit(2));
    EXPECT_EQ(RanksOf(s), (Ranks{2, 0, 1, 3}));
    EXPECT_EQ(MoveRank(s, 2, 1, 1), 0u);
}

TEST(ExpressionModel, ChoicesTheWindowCannotIssueChangeNothing) {
    ExpressionState s = Fresh();
    SetGapOp(s, 2, OpJoin, 1);
    const ExpressionState before = s;
    EXPECT_EQ(SetPower(s, -1, PowSqrt), 0u);
    EXPECT_EQ(SetPower(s, 4, PowSqrt), 0u);
    EXPECT_EQ(SetPower(s, 0, 5), 0u);
    EXPECT_EQ(SetPower(s, 0, PowSpent), 0u);
    EXPECT_EQ(SetSign(s, 2), 0u);
    EXPECT_EQ(SetSign(s, OpJoin), 0u);
    EXPECT_EQ(SetGapOp(s, 0, OpJoin, 1), 0u);
    EXPECT_EQ(SetGapOp(s, 4, OpAdd, 1), 0u);
    EXPECT_EQ(SetGapOp(s, 1, 5, 1), 0u);
    EXPECT_EQ(SetRank(s, 4, 0), 0u);
    EXPECT_EQ(SetRank(s, 0, 4), 0u);
    EXPECT_EQ(SetRank(s, 0, -1), 0u);
    // A stale old rank would duplicate a rank.
    EXPECT_EQ(MoveRank(s, 3, 0, 2), 0u);
    EXPECT_EQ(MoveRank(s, 3, 3, 4), 0u);
    EXPECT_EQ(s, before);

    ExpressionState broken = Fresh();
    broken.rank[1] = 0x7fffffff;
    const ExpressionState brokenBefore = broken;
    EXPECT_EQ(SetRank(broken, 0, 2), 0u);
    EXPECT_EQ(SetGapOp(broken, 2, OpJoin, 1), 0u);
    EXPECT_EQ(broken, brokenBefore);
}

// Labels as the window sees them: text and enabled state.
LabelMask LabelsThatDiffer(const ExpressionState& a, const ExpressionState& b) {
    LabelMask m = 0;
    for (int k = 0; k < 4; ++k) {
        if (std::string(PowerText(a.power[k])) != PowerText(b.power[k]) ||
            a.powerOn[k] != b.powerOn[k]) {
            m |= PowerLabelBit(k);
        }
        const auto opText = [k](const ExpressionState& s) {
            return std::string(k == 0 ? SignText(s.op[0]) : OpText(s.op[k]));
        };
        if (opText(a) != opText(b)) {
            m |= OpLabelBit(k);
        }
        if (std::string(RankText(a.rank[k])) != RankText(b.rank[k]) || a.rankOn[k] != b.rankOn[k]) {
            m |= RankLabelBit(k);
        }
    }
    return m;
}

void ExpectInvariants(const ExpressionState& s, bool usePower) {
    unsigned seen = 0;
    for (int k = 0; k < 4; ++k) {
        ASSERT_GE(s.rank[k], 0);
        ASSERT_LE(s.rank[k], 3);
        seen |= 1u << s.rank[k];
        ASSERT_GE(s.power[k], PowNone);
        ASSERT_LE(s.power[k], PowCube);
        ASSERT_GE(s.op[k], OpAdd);
        ASSERT_LE(s.op[k], k == 0 ? kSignMinus : OpJoin);
        if (!usePower) {
            ASSERT_EQ(s.power[k], PowNone);
        }
    }
    ASSERT_EQ(seen, 0xFu);
    int32_t nextJoinRank = 0;
    for (int k = 1; k < 4; ++k) {
        if (s.op[k] == OpJoin) {
            ASSERT_EQ(s.rank[k], nextJoinRank++) << "joined gap " << k;
            ASSERT_EQ(s.power[k - 1], PowNone) << "left digit of gap " << k;
        }
    }
    for (int k = 0; k < 4; ++k) {
        const bool leftOfJoin = k < 3 && s.op[k + 1] == OpJoin;
        ASSERT_EQ(s.powerOn[k], usePower && !leftOfJoin) << "power label " << k;
        ASSERT_EQ(s.rankOn[k], k == 0 || s.op[k] != OpJoin) << "rank label " << k;
    }
}

TEST(ExpressionModel, RandomChoicesKeepEveryInvariant) {
    std::mt19937 rng(20050117);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int run = 0; run < 400; ++run) {
        const int32_t usePower = run % 4 == 3 ? 0 : 1;
        ExpressionState s;
        ResetExpression(s, usePower);
        for (int step = 0; step < 60; ++step) {
            const ExpressionState before = s;
            LabelMask m = 0;
            // Arguments stray one past each end so that refusals are exercised too.
            switch (pick(0, 9)) {
            case 0:
                m = ResetExpression(s, usePower);
                break;
            case 1:
            case 2:
                m = SetPower(s, pick(-1, 4), pick(-1, 5));
                break;
            case 3:
                m = SetSign(s, pick(-1, 2));
                break;
            case 4:
            case 5:
            case 6:
                m = SetGapOp(s, pick(0, 4), pick(-1, 5), usePower);
                break;
            default: {
                const int p = pick(-1, 4);
                const int32_t r = pick(-1, 4);
                m = SetRank(s, p, r);
                if (p >= 0 && p < 4 && r >= 0 && r < 4 && before.rankOn[p]) {
                    int32_t j = -1;
                    for (int k = 1; k < 4; ++k) {
                        if (before.op[k] == OpJoin && before.rank[k] > j) {
                            j = before.rank[k];
                        }
                    }
                    ASSERT_EQ(s.rank[p], r > j ? r : j + 1);
                    // The other positions keep their order among themselves.
                    for (int a = 0; a < 4; ++a) {
                        for (int b = 0; b < 4; ++b) {
                            if (a != p && b != p) {
                                ASSERT_EQ(before.rank[a] < before.rank[b], s.rank[a] < s.rank[b]);
                            }
                        }
                    }
                }
                break;
            }
            }
            ASSERT_EQ(m, LabelsThatDiffer(before, s)) << "run " << run << " step " << step;
            ASSERT_EQ(s.digits[0], before.digits[0]);
            ExpectInvariants(s, usePower != 0);
            if (HasFatalFailure()) {
                FAIL() << "run " << run << " step " << step;
            }
        }
    }
}

} // namespace
} // namespace vostrel
