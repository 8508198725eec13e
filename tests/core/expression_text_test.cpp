#include "engine/ExpressionText.h"

#include "core/ExprBuilder.h"

#include <gtest/gtest.h>

#include <array>

namespace vostrel {
namespace {

using test_support::Expr;
using test_support::Four;

TEST(FormatExpression, ParenthesesOnlyWhereTheRanksNeedThem) {
    EXPECT_EQ(FormatExpression(Expr({1, 2, 3, 4}, {0, 0, 0, 0}, {0, 1, 2, 3})), "1 + 2 + 3 + 4");
    EXPECT_EQ(FormatExpression(Expr({5, 0, 5, 1}, {0, OpJoin, OpDiv, OpMul}, {1, 0, 2, 3})),
              "(50 / 5) * 1");
    EXPECT_EQ(FormatExpression(Expr({2, 3, 4, 2}, {0, OpMul, OpAdd, OpSub}, {3, 2, 0, 1})),
              "2 * (3 + 4 - 2)");
    // Right operands of the same level keep their parentheses unless the grouping is free.
    EXPECT_EQ(FormatExpression(Expr({8, 4, 2, 1}, {0, OpSub, OpAdd, OpAdd}, {0, 3, 2, 1})),
              "8 - (4 + 2 + 1)");
    EXPECT_EQ(FormatExpression(Expr({8, 4, 2, 1}, {0, OpAdd, OpSub, OpAdd}, {0, 3, 1, 2})),
              "8 + 4 - 2 + 1");
    EXPECT_EQ(FormatExpression(Expr({8, 4, 2, 1}, {0, OpDiv, OpMul, OpMul}, {0, 3, 2, 1})),
              "8 / (4 * 2 * 1)");
    EXPECT_EQ(FormatExpression(Expr({8, 4, 2, 1}, {0, OpMul, OpDiv, OpMul}, {0, 3, 1, 2})),
              "8 * (4 / 2) * 1");
    // Products inside sums need none.
    EXPECT_EQ(FormatExpression(Expr({8, 4, 2, 1}, {0, OpAdd, OpMul, OpSub}, {0, 2, 1, 3})),
              "8 + 4 * 2 - 1");
}

TEST(FormatExpression, SignPowersAndJoins) {
    EXPECT_EQ(FormatExpression(Expr({3, 2, 0, 0}, {1, 0, 0, 0}, {0, 1, 2, 3})), "-3 + 2 + 0 + 0");
    EXPECT_EQ(FormatExpression(Expr({3, 2, 0, 0}, {1, 0, 0, 0}, {3, 0, 1, 2})), "-(3 + 2 + 0 + 0)");
    EXPECT_EQ(FormatExpression(Expr({3, 2, 5, 1}, {1, OpMul, OpAdd, OpAdd}, {1, 0, 2, 3})),
              "-3 * 2 + 5 + 1");
    EXPECT_EQ(FormatExpression(Expr({1, 6, 8, 3}, {0, OpJoin, OpAdd, OpSub}, {1, 0, 2, 3},
                                    {0, PowSqrt, PowCbrt, PowSquare})),
              "sqrt(16) + cbrt(8) - 3^2");
    // The window's box writes the powers as the player reads them beside the labels.
    EXPECT_EQ(FormatExpression(Expr({1, 6, 8, 3}, {1, OpJoin, OpMul, OpDiv}, {1, 0, 2, 3},
                                    {0, PowSqrt, PowCbrt, PowCube}),
                               Notation::Labels),
              "(-√16 * 8^(1/3)) / 3^3");
    EXPECT_EQ(FormatExpression(Expr({0, 0, 1, 0}, {0, OpJoin, OpJoin, OpJoin}, {3, 0, 1, 2},
                                    {0, 0, 0, PowCube})),
              "10^3");
}

TEST(FormatExpression, MalformedStatesGiveNoText) {
    EXPECT_EQ(FormatExpression(Expr({1, 2, 3, 4}, {0, 0, 0, 0}, {0, 1, 1, 3})), "");
    EXPECT_EQ(FormatExpression(Expr({1, 2, 3, 4}, {OpJoin, 0, 0, 0}, {0, 1, 2, 3})), "");
    EXPECT_EQ(FormatExpression(Expr({1, 12, 3, 4}, {0, 0, 0, 0}, {0, 1, 2, 3})), "");
}

} // namespace
} // namespace vostrel
