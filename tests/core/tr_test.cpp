// Texts through the installed translator, and numbers put into translated sentences.
#include "ExprBuilder.h"
#include "app/Tr.h"
#include "engine/Evaluator.h"
#include "game/SpokenText.h"

#include <gtest/gtest.h>

#include <string>

namespace vostrel {
namespace {

TEST(Tr, ArgumentsGoWhereTheSentenceSaysOnceAndTranslationsFallBackToTheSource) {
    EXPECT_EQ(FillText("%3 / %1 = %2", {"10", "5", "50"}), "50 / 10 = 5");
    // An argument is never read again: a name holding "%1" stays as typed.
    EXPECT_EQ(FillText("%1 and %2", {"%2", "b"}), "%2 and b");
    // What is no argument stays as it is.
    EXPECT_EQ(FillText("100% %0 %2 %", {"a"}), "100% %0 %2 %");

    SetTextTranslator([](const char*, const char* source) {
        return std::string(source) == "終了しますか" ? std::string("Quit?") : std::string();
    });
    EXPECT_EQ(Tr("GameFlow", "終了しますか"), "Quit?");
    EXPECT_EQ(Tr("GameFlow", "終了確認"), "終了確認"); // no translation: as written
    SetTextTranslator(nullptr);
    EXPECT_EQ(Tr("GameFlow", "終了しますか"), "終了しますか");
}

// Points below zero are said with their sign: only an error has none.
TEST(SpokenText, AResultIsSaidWithItsPointsAndTheirSign) {
    using namespace test_support;
    const EvalResult r = Evaluate(Expr({7, 2, 3, 5}, {OpAdd, OpDiv}), 0, {1, 0, 1});
    ASSERT_EQ(r.status, EvalOk);
    ASSERT_LT(r.points, 0);
    EXPECT_EQ(ResultSpeech(r),
              "計算結果 " + std::to_string(r.value) + "、得点 " + std::to_string(r.points));
}

} // namespace
} // namespace vostrel
