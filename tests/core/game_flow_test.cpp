// Whole games played through the fake window: problems, tries, grading, game end, retry, exit.

#include "app/WinConstants.h"
#include "core/FlowFixture.h"
#include "engine/Evaluator.h"
#include "engine/ExpressionText.h"
#include "engine/PointRules.h"
#include "fakes/FakeGameView.h"
#include "game/GameFlow.h"
#include "game/SpokenText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace vostrel {
namespace {

using fakes::FakeFocus;
using fakes::FakeGameView;
using fakes::ShownBox;
using test::Op;
using test::Power;
using test::Rank;

class GameFlowTest : public test::FlowFixture {
protected:
    void Start(int32_t repeatCount) {
        app.settings.repeatCount = repeatCount;
        flow.StartGame();
    }
    void Press(int times) {
        for (int i = 0; i < times; ++i) {
            flow.EvaluateTry();
        }
    }
    void ChooseOp(int gap, int32_t kind) { Choose(Op(gap), kind); }
    // What the engine awards the expression on screen after `tries` presses of "=".
    int32_t PointsNow(int32_t tries) const {
        return Evaluate(flow.State().expr, tries, SwitchesOf(app.settings)).points;
    }
    // The box between two problems.
    static std::string NextBox(int32_t points, int32_t total, int next) {
        return "今回のスコア:" + std::to_string(points) + "(" + std::to_string(total) + ")\n" +
               std::to_string(next) + "番目の計算を始めます。";
    }
};

TEST_F(GameFlowTest, StartShowsAFreshProblem) {
    rnd.AddDigits({7, 0, 9, 3});
    Start(3);

    // No power, no sign, additions, ranks in reading order; each label named after its digit.
    Screen fresh;
    fresh.problemNo.text = "No.1";
    fresh.problemNo.visible = true;
    fresh.digits = {7, 0, 9, 3};
    const char* const texts[kRows][kPositions] = {
        {"", "", "", ""}, {"", "+", "+", "+"}, {"1", "2", "3", "4"}};
    for (int r = 0; r < kRows; ++r) {
        for (int k = 0; k < kPositions; ++k) {
            const Slot slot{static_cast<Row>(r), k};
            const int32_t code = slot.row == Row::Rank ? k : 0;
            fresh[slot].text = texts[r][k];
            fresh[slot].word = ChooserItemWord(ChooserOf(slot), code);
            fresh[slot].name = SlotName(slot, flow.State().expr.digits);
        }
    }
    fresh.result.name = ResultName();
    fresh.points.text = "0 ";
    fresh.points.name = PointsName();
    fresh.speech = {"1問目、数字 7、0、9、3"};
    // "=" says the problem too, for a braille display beside it.
    fresh.evaluateName = "= 1問目、数字 7、0、9、3";
    fresh.focusEvaluate = true;
    EXPECT_EQ(Shown(), fresh);
    EXPECT_EQ(view.screens.size(), 1u);
    EXPECT_EQ(DigitTexts(), "7093");
    GameState state;
    state.expr.digits[0] = 7;
    state.expr.digits[2] = 9;
    state.expr.digits[3] = 3;
    EXPECT_EQ(flow.State(), state);
    EXPECT_EQ(flow.OpenChooser(), ChooserNone);
    EXPECT_FALSE(flow.IsGameRunning());
}

// A reader hears each problem's digits as it starts, and each try's result and points; a grade
// says nothing of its own (its box is read), a problem that starts after it says its digits.
TEST_F(GameFlowTest, AReaderHearsTheDigitsOfEachProblemAndEveryResult) {
    rnd.AddDigits({3, 1, 2, 4, 1, 6, 0, 3, 9, 9, 9, 9, 5, 5, 5, 5});
    Start(2);
    EXPECT_EQ(view.spoken, std::vector<std::string>{"1問目、数字 3、1、2、4"});
    view.spoken.clear();
    Press(2);
    EXPECT_EQ(view.spoken,
              (std::vector<std::string>{"計算結果 10、得点 " + std::to_string(PointsNow(1)),
                                        "計算結果 10、得点 " + std::to_string(PointsNow(2))}));
    view.spoken.clear();
    view.boxes.answers = {IDOK};
    flow.GradeProblem();
    EXPECT_EQ(view.spoken, std::vector<std::string>{"2問目、数字 1、6、0、3"});
    view.spoken.clear();
    // The result label shows an error: the reader hears that text, and no points.
    ChooseOp(2, OpDiv); // 6 / 0
    flow.EvaluateTry();
    EXPECT_EQ(view.spoken, std::vector<std::string>{"計算結果 division by 0、得点 なし"});
    view.spoken.clear();
    view.boxes.answers = {IDYES};
    flow.RetryGame();
    EXPECT_EQ(view.spoken, std::vector<std::string>{"1問目、数字 9、9、9、9"});
    // A game of one problem has no problem number to say.
    view.spoken.clear();
    app.settings.repeatCount = 1;
    flow.RestartGame();
    EXPECT_EQ(view.spoken, std::vector<std::string>{"数字 5、5、5、5"});
}

TEST_F(GameFlowTest, ThreeProblemGameAnnouncesEachProblemAndEndsInTheTable) {
    rnd.AddDigits({0, 0, 0, 0});
    Start(3);

    // 0+0+0+0 after one try: the base of one try, the implicit zero and four plain operands,
    // four additions, the bonus for the result 0.
    using namespace points;
    const int32_t zeros = BasePoints(1) + 5 * kPlainOperand + 4 * kAdd + kZeroBonus;
    Press(1);
    EXPECT_EQ(Shown().points.text, std::to_string(zeros) + " ");
    rnd.AddDigits({1, 2, 3, 4});
    view.boxes.onShow = [&](const ShownBox&) {
        // The graded problem stays on screen while the box is up.
        EXPECT_EQ(Shown().problemNo.text, "No.1");
        EXPECT_EQ(Shown().result.text, "0 ");
        EXPECT_EQ(Shown().points.text, std::to_string(zeros) + " ");
        EXPECT_EQ(DigitTexts(), "0000");
    };
    flow.GradeProblem();
    view.boxes.onShow = nullptr;
    ASSERT_EQ(view.boxes.shown.size(), 1u);
    EXPECT_EQ(view.boxes.Last(),
              (ShownBox{NextBox(zeros, zeros, 2), "次計算開始", MB_OK | MB_ICONINFORMATION}));
    EXPECT_EQ(view.boxes.Last().style, 0x40u);
    EXPECT_EQ(Shown().problemNo.text, "No.2");
    EXPECT_EQ(DigitTexts(), "1234");
    EXPECT_EQ(flow.State().problemIndex, 1);
    EXPECT_EQ(flow.State().gameScore, zeros);
    EXPECT_EQ(flow.State().touched, false);
    EXPECT_EQ(flow.State().tries, 0);
    EXPECT_EQ(Shown().points.text, "0 ");
    EXPECT_EQ(Shown().result.text, "");

    // Graded untouched: 1+2+3+4 = 10 with no try.
    const int32_t ten = BasePoints(0) + 5 * kPlainOperand + 4 * kAdd + kTargetBonus;
    rnd.AddDigits({0, 0, 0, 0});
    flow.GradeProblem();
    ASSERT_EQ(view.boxes.shown.size(), 2u);
    EXPECT_EQ(view.boxes.Last().text, NextBox(ten, zeros + ten, 3));
    EXPECT_EQ(Shown().problemNo.text, "No.3");
    // Each graded problem is kept for the player's record, with the tries it took.
    EXPECT_EQ(flow.State().graded[0], (ProblemResult{0, zeros, 1, 0}));
    EXPECT_EQ(flow.State().graded[1], (ProblemResult{10, ten, 0, 0}));

    // The last problem, 0+0+0+0 with no try: the mean enters the default table at the top.
    const int32_t last = PointsNow(0);
    const int32_t mean = (zeros + ten + last) / 3;
    ASSERT_GT(mean, app.settings.highScores.score[0]);
    rnd.AddDigits({5, 6, 7, 8});
    view.onHiScore = [&](const GameEnd& end) -> std::optional<std::string> {
        EXPECT_EQ(end.row, 0);
        EXPECT_EQ(end.finalScore, mean);
        EXPECT_EQ(end.table, app.settings.highScores);
        EXPECT_EQ(end.table.name[0], "none");
        EXPECT_EQ(end.table.score[0], mean);
        EXPECT_EQ(end.table.name[1], "ABC");
        return "Taro"; // the player names the row
    };
    flow.GradeProblem();
    EXPECT_EQ(view.runs[DialogKind::HiScore], 1);
    EXPECT_EQ(view.boxes.shown.size(), 2u);
    EXPECT_EQ(app.settings.highScores.name[0], "Taro");
    EXPECT_EQ(app.settings.highScores.score[4], 350);
    EXPECT_EQ(Shown().problemNo.text, "No.1");
    EXPECT_EQ(DigitTexts(), "5678");
    EXPECT_EQ(flow.State().problemIndex, 0);
    EXPECT_EQ(flow.State().gameScore, 0);
    EXPECT_EQ(flow.State().graded, GameState{}.graded);
    EXPECT_EQ(flow.State().touched, false);
    EXPECT_FALSE(flow.IsGameRunning());
    // The player's record holds the game as graded, under the settings it was played with.
    ASSERT_EQ(app.history.games.size(), 1u);
    const HistoryGame& g = app.history.games[0];
    EXPECT_TRUE(g.finished);
    EXPECT_EQ(g.finalScore, mean);
    EXPECT_EQ(g.set, SetOf(app.settings));
    EXPECT_EQ(g.set.problems, 3);
    EXPECT_EQ(g.problems,
              (std::vector<HistoryProblem>{{zeros, 0, 1, 0}, {ten, 10, 0, 0}, {last, 0, 0, 0}}));
}

TEST_F(GameFlowTest, OneProblemGamesEndAtEveryGradeAndPlaceEqualScoresBelow) {
    // Scores reachable with 0+0+0+0: with no try, and from the last try with a base on.
    using namespace points;
    const int32_t early = BasePoints(0) + 5 * kPlainOperand + 4 * kAdd + kZeroBonus;
    const int32_t late = early - BasePoints(0);
    app.settings.highScores.score[0] = early + 400;
    app.settings.highScores.score[1] = early + 100;
    app.settings.highScores.score[2] = early;
    app.settings.highScores.score[3] = late + 50;
    app.settings.highScores.score[4] = late + 20;
    ASSERT_GT(early, late + 50);
    rnd.AddDigits({0, 0, 0, 0});
    Start(1);
    EXPECT_FALSE(Shown().problemNo.visible);

    rnd.AddDigits({0, 0, 0, 0});
    flow.GradeProblem();
    ASSERT_EQ(view.ends.size(), 1u);
    EXPECT_EQ(view.ends[0].finalScore, early);
    EXPECT_EQ(view.ends[0].row, 3); // below the equal score already there
    EXPECT_EQ(app.settings.highScores.score[2], early);
    EXPECT_EQ(app.settings.highScores.name[2], "PYR");
    EXPECT_EQ(app.settings.highScores.name[3], "none");
    EXPECT_EQ(app.settings.highScores.score[4], late + 50);
    EXPECT_FALSE(Shown().problemNo.visible);

    // The late score is not above the last row: the table stays, the dialog shows the result.
    const HighScoreTable before = app.settings.highScores;
    Press(kTriesWithoutBase);
    rnd.AddDigits({0, 0, 0, 0});
    flow.GradeProblem();
    EXPECT_EQ(view.runs[DialogKind::HiScore], 2);
    EXPECT_EQ(view.ends.back(), (GameEnd{before, late, -1}));
    EXPECT_EQ(app.settings.highScores, before);
    EXPECT_TRUE(view.boxes.shown.empty());
    EXPECT_FALSE(Shown().problemNo.visible);
}

TEST_F(GameFlowTest, NegativePointsLowerTheScoreAndTheMeanTruncatesTowardZero) {
    app.settings.scoreInexactDivision = 1;
    rnd.AddDigits({1, 3, 0, 0});
    Start(3);

    // 0+1, then 1/3 = 0 with its penalty, then +0+0; the result 0 adds its bonus.
    using namespace points;
    const int32_t third =
        BasePoints(0) + 5 * kPlainOperand + 3 * kAdd + kInexactPenalty + kZeroBonus;
    ASSERT_LT(third, 0);
    ASSERT_NE(2 * third % 3, 0);
    ChooseOp(1, OpDiv);
    rnd.AddDigits({1, 3, 0, 0});
    flow.GradeProblem();
    EXPECT_EQ(view.boxes.Last().text, NextBox(third, third, 2));
    ChooseOp(1, OpDiv);
    rnd.AddDigits({5, 5, 5, 0});
    flow.GradeProblem();
    EXPECT_EQ(view.boxes.Last().text, NextBox(third, 2 * third, 3));
    EXPECT_EQ(flow.State().gameScore, 2 * third);

    // 5+5+5+0 = 15 earns nothing. The mean truncates toward zero.
    EXPECT_EQ(PointsNow(0), 0);
    const HighScoreTable before = app.settings.highScores;
    // A name for no row is not stored.
    view.onHiScore = [](const GameEnd&) { return std::optional<std::string>("X"); };
    rnd.AddDigits({1, 1, 1, 1});
    flow.GradeProblem();
    EXPECT_EQ(view.ends, (std::vector<GameEnd>{{before, -((-2 * third) / 3), -1}}));
    EXPECT_EQ(app.settings.highScores, before);
}

TEST_F(GameFlowTest, FinalScoreOfMinusSevenOverTwoIsMinusThree) {
    rnd.AddDigits({5, 5, 5, 0});
    Start(2);
    rnd.AddDigits({5, 5, 5, 0});
    flow.GradeProblem(); // 15: no points
    EXPECT_EQ(flow.State().gameScore, 0);
    // Points are always multiples of ten; a game kept with another score shows the rounding.
    GameState kept = flow.State();
    kept.gameScore = -7;
    flow.Resume(kept);
    EXPECT_EQ(flow.State(), kept);
    rnd.AddDigits({5, 5, 5, 0});
    flow.GradeProblem();
    ASSERT_EQ(view.ends.size(), 1u);
    EXPECT_EQ(view.ends[0].finalScore, -3);
    EXPECT_EQ(view.ends[0].row, -1);
}

TEST_F(GameFlowTest, TryCountStopsAtTenAndGradingIsNoTry) {
    rnd.AddDigits({1, 2, 3, 4});
    Start(2);
    Press(1);
    EXPECT_EQ(flow.State().tries, 1);
    EXPECT_EQ(Shown().points.text, std::to_string(PointsNow(1)) + " ");
    EXPECT_EQ(Shown().result.text, "10 ");
    EXPECT_EQ(Shown().result.align, TextAlign::Right);
    EXPECT_EQ(flow.State().touched, true);
    Press(11);
    EXPECT_EQ(flow.State().tries, 10);
    const int32_t tenth = PointsNow(points::kMaxTries);
    EXPECT_EQ(tenth, PointsNow(0) - points::BasePoints(0));
    EXPECT_EQ(Shown().points.text, std::to_string(tenth) + " ");

    rnd.AddDigits({1, 2, 3, 4});
    flow.GradeProblem();
    EXPECT_EQ(view.boxes.Last().text, NextBox(tenth, tenth, 2));
    EXPECT_EQ(flow.State().tries, 0);
}

TEST_F(GameFlowTest, GradingAnErrorLeavesEveryPieceOfStateUnchanged) {
    rnd.AddDigits({1, 0, 0, 0});
    Start(3);
    ChooseOp(1, OpDiv); // 1 / 0
    Press(2);
    EXPECT_EQ(Shown().result.text, "division by 0");
    const GameState state = flow.State();
    const SettingsRecord settings = app.settings;

    flow.GradeProblem();
    ASSERT_EQ(view.boxes.shown.size(), 1u);
    EXPECT_EQ(view.boxes.Last(), (ShownBox{"エラー発生。式見直し後、採点してください。",
                                           "計算エラー", MB_OK | MB_ICONERROR}));
    EXPECT_EQ(view.boxes.Last().style, 0x10u);
    EXPECT_EQ(flow.State(), state);
    EXPECT_EQ(app.settings, settings);
    EXPECT_EQ(flow.State().tries, 2);
    EXPECT_EQ(DigitTexts(), "1000");
    EXPECT_EQ(Shown().problemNo.text, "No.1");
    EXPECT_EQ(Shown().result.text, "division by 0");
    EXPECT_EQ(Shown().result.align, TextAlign::Left);
    EXPECT_EQ(Shown().points.text, "----");
    EXPECT_EQ(Shown().points.align, TextAlign::Center);
    EXPECT_EQ(rnd.Remaining(), 0u);

    // Corrected, the same problem grades with the tries it already has.
    ChooseOp(1, OpAdd);
    rnd.AddDigits({2, 2, 2, 2});
    flow.GradeProblem();
    EXPECT_EQ(flow.State().problemIndex, 1);
    EXPECT_EQ(view.boxes.shown.size(), 2u);
}

TEST_F(GameFlowTest, RetryOnAnUntouchedFirstProblemAsksNothing) {
    rnd.AddDigits({1, 2, 3, 4});
    Start(3);
    rnd.AddDigits({9, 8, 7, 6});
    flow.RetryGame();
    EXPECT_TRUE(view.boxes.shown.empty());
    EXPECT_EQ(DigitTexts(), "9876");
    EXPECT_EQ(Shown().problemNo.text, "No.1");
}

TEST_F(GameFlowTest, RetryOfAWorkedProblemAsksAndGoesAheadOnlyOnYes) {
    rnd.AddDigits({1, 2, 3, 4});
    Start(3);
    Press(2);
    const GameState state = flow.State();

    view.boxes.answers = {IDNO};
    flow.RetryGame();
    ASSERT_EQ(view.boxes.shown.size(), 1u);
    EXPECT_EQ(view.boxes.Last(), (ShownBox{"実行中です。これまでの結果を破棄しますか。",
                                           "結果破棄確認", MB_YESNO | MB_ICONQUESTION}));
    EXPECT_EQ(view.boxes.Last().style, 0x24u);
    EXPECT_EQ(flow.State(), state);

    view.boxes.answers = {IDYES};
    rnd.AddDigits({4, 4, 4, 4});
    flow.RetryGame();
    EXPECT_EQ(view.boxes.shown.size(), 2u);
    EXPECT_EQ(DigitTexts(), "4444");
    EXPECT_EQ(flow.State().tries, 0);
    EXPECT_FALSE(flow.IsGameRunning());
}

TEST_F(GameFlowTest, RetryAfterAGradeAsksEvenOnAFreshProblem) {
    rnd.AddDigits({1, 2, 3, 4});
    Start(3);
    const int32_t graded = PointsNow(0);
    rnd.AddDigits({1, 2, 3, 4});
    flow.GradeProblem();
    EXPECT_EQ(flow.State().touched, false);
    view.boxes.Clear();

    view.boxes.answers = {IDNO};
    flow.RetryGame();
    EXPECT_EQ(view.boxes.shown.size(), 1u);
    EXPECT_EQ(flow.State().problemIndex, 1);
    EXPECT_EQ(flow.State().gameScore, graded);

    EXPECT_TRUE(app.history.games.empty());

    view.boxes.answers = {IDYES};
    rnd.AddDigits({3, 3, 3, 3});
    flow.RetryGame();
    EXPECT_EQ(flow.State().problemIndex, 0);
    EXPECT_EQ(flow.State().gameScore, 0);
    EXPECT_EQ(Shown().problemNo.text, "No.1");
    // Given up after a grade: played, not finished, with the problem graded.
    ASSERT_EQ(app.history.games.size(), 1u);
    EXPECT_FALSE(app.history.games[0].finished);
    EXPECT_EQ(app.history.games[0].problems, (std::vector<HistoryProblem>{{graded, 10, 0, 0}}));
}

TEST_F(GameFlowTest, ExitOnAnUntouchedFirstProblemEndsAtOnceWithItsResult) {
    rnd.AddDigits({1, 2, 3, 4});
    Start(3);
    flow.RequestExit(IDCANCEL);
    EXPECT_TRUE(view.boxes.shown.empty());
    EXPECT_EQ(view.endedWith, IDCANCEL);
}

TEST_F(GameFlowTest, ExitOfARunningGameAsksWithNoAsDefault) {
    rnd.AddDigits({1, 2, 3, 4});
    Start(3);
    Press(1);

    view.boxes.answers = {IDNO};
    flow.RequestExit(IDOK);
    ASSERT_EQ(view.boxes.shown.size(), 1u);
    EXPECT_EQ(view.boxes.Last(),
              (ShownBox{"終了しますか", "終了確認", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2}));
    EXPECT_EQ(view.boxes.Last().style, 0x124u);
    EXPECT_FALSE(view.endedWith.has_value());
    EXPECT_EQ(flow.State().touched, true);

    view.boxes.answers = {IDYES};
    flow.RequestExit(IDOK);
    EXPECT_EQ(view.endedWith, IDOK);
}

TEST_F(GameFlowTest, ExitTakesTheOpenListFirstAndAnUnchangedListCountsAsTouched) {
    rnd.AddDigits({1, 2, 3, 4});
    Start(1);
    flow.OnSlotClicked(Rank(2));
    view.boxes.answers = {IDNO};
    flow.RequestExit(IDCANCEL);
    EXPECT_EQ(view.boxes.shown.size(), 1u);
    EXPECT_FALSE(view.endedWith.has_value());
    EXPECT_EQ(Shown().list.kind, ChooserNone);
    EXPECT_EQ(flow.State().expr.rank[2], 2);

    flow.OnSlotClicked(Op(3));
    flow.OnItemChosen(OpMul);
    view.boxes.answers = {IDNO};
    flow.RequestExit(IDCANCEL);
    EXPECT_EQ(flow.State().expr.op[3], OpMul);
    EXPECT_EQ(Shown()[Op(3)].text, "*");
}

TEST_F(GameFlowTest, ScriptedGeneratorValuesScaleByTenOver32768) {
    rnd.AddRaw({0, 3276, 3277, 32767});
    Start(3);
    EXPECT_EQ(DigitTexts(), "0019");
    rnd.AddRaw({16383, 16384, 29491, 29492});
    flow.RetryGame();
    EXPECT_EQ(DigitTexts(), "4589");
}

TEST_F(GameFlowTest, RemembersTheLastGradedProblemForItsBestExpression) {
    rnd.AddDigits({9, 0, 1, 2});
    Start(3);
    EXPECT_FALSE(flow.State().lastGraded.valid);
    flow.ShowLastGradedBest(); // nothing graded yet: no box
    EXPECT_TRUE(view.boxes.shown.empty());
    ChooseOp(1, OpDiv); // 9 / 0: an error is no grade
    flow.GradeProblem();
    EXPECT_FALSE(flow.State().lastGraded.valid);
    ChooseOp(1, OpAdd);

    app.settings.scoreInexactDivision = 1; // as the settings stood at grading time
    app.settings.usePower = 0;
    rnd.AddDigits({9, 9, 9, 9});
    flow.GradeProblem();
    const GradedProblem& g = flow.State().lastGraded;
    ASSERT_TRUE(g.valid);
    EXPECT_EQ(g.digits, (Digits{9, 0, 1, 2}));
    EXPECT_EQ(g.switches.score.scoreInexactDivision, 1);
    EXPECT_EQ(g.switches.score.scoreOtherResults, 1);
    EXPECT_EQ(g.switches.usePower, 0);

    // Later changes to the settings do not reach the remembered problem: with powers these
    // digits have another best.
    app.settings.scoreInexactDivision = 0;
    app.settings.usePower = 1;
    ASSERT_NE(Solve({9, 0, 1, 2}, {SwitchesOf(app.settings), 1}).best,
              Solve({9, 0, 1, 2}, g.switches).best);
    const size_t before = view.boxes.shown.size();
    flow.ShowLastGradedBest();
    ASSERT_EQ(view.boxes.shown.size(), before + 1);
    const SolveResult r = Solve({9, 0, 1, 2}, g.switches);
    EXPECT_EQ(
        view.boxes.Last(),
        (ShownBox{"前の問題 9 0 1 2 の最善解:\n" + FormatExpression(r.choice, Notation::Labels) +
                      " = " + std::to_string(r.value) + "\n得点: " + std::to_string(r.best),
                  "最善解", MB_OK | MB_ICONINFORMATION}));
    // The problem on screen and the game state are untouched.
    EXPECT_EQ(DigitTexts(), "9999");
    EXPECT_EQ(flow.State().problemIndex, 1);
    EXPECT_EQ(flow.State().tries, 0);
}

TEST(GameFlowDigits, EveryDigitOccursAndNoOther) {
    CGameApp app;
    InstallDefaultSettings(app.settings);
    FakeGameView view;
    std::mt19937 gen(20050117);
    std::uniform_int_distribution<int32_t> dist(0, 32767);
    GameFlow flow(app, view, [&] { return dist(gen); });
    flow.StartGame();

    std::set<int32_t> seen;
    for (int problem = 0; problem < 200; ++problem) {
        flow.RetryGame(); // untouched: no question
        for (int k = 0; k < kPositions; ++k) {
            const int32_t d = flow.State().expr.digits[k];
            ASSERT_GE(d, 0);
            ASSERT_LE(d, 9);
            EXPECT_EQ(view.Shown().digits[k], d);
            seen.insert(d);
        }
    }
    EXPECT_EQ(seen.size(), 10u);
    EXPECT_TRUE(view.boxes.shown.empty());
}

TEST(GameFlowDigits, TheCLibrarySourceGivesFifteenBits) {
    std::srand(7);
    int32_t high = 0;
    for (int i = 0; i < 20000; ++i) {
        const int32_t r = CRandSource();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        high = std::max(high, r);
    }
    EXPECT_GT(high, 32000);
}

} // namespace
} // namespace vostrel
