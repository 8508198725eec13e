// The chooser lists of the game window as logic: where each list drops down, what it covers,
// what a commit changes, and how clicks are routed.

#include "core/FlowFixture.h"
#include "fakes/FakeGameView.h"
#include "game/ControlIds.h"
#include "game/GameFlow.h"

#include <gtest/gtest.h>

namespace vostrel {
namespace {

using fakes::FakeGameView;

class ChooserTest : public test::FlowFixture {
protected:
    ChooserTest() { app.settings.repeatCount = 3; }
    void Start() {
        rnd.AddDigits({1, 2, 3, 4});
        flow.StartGame();
    }
    std::string RankTexts() const { return LabelTexts(IDC_RANK0); }
};

struct Placement {
    int label;
    int chooser;
    int covered; // the label hidden while the list is open
    int32_t kind;
    int32_t preset; // the value of a fresh problem
};

std::vector<Placement> AllPlacements() {
    std::vector<Placement> all;
    for (int k = 0; k < kPositions; ++k) {
        all.push_back({IDC_POWER0 + k, IDC_POWER_CHOOSER, IDC_POWER0 + k, ChooserPower, PowNone});
    }
    all.push_back({IDC_OP0, IDC_SIGN_CHOOSER, IDC_RANK0, ChooserSign, kSignPlus});
    for (int k = 1; k < kPositions; ++k) {
        all.push_back({IDC_OP0 + k, IDC_OP_CHOOSER, IDC_RANK0 + k, ChooserOp, OpAdd});
    }
    for (int k = 0; k < kPositions; ++k) {
        all.push_back({IDC_RANK0 + k, IDC_RANK_CHOOSER, IDC_RANK0 + k, ChooserRank, k});
    }
    return all;
}

TEST_F(ChooserTest, EveryLabelDropsItsListInPlaceAndClosingTouchesTheProblem) {
    Start();
    for (const Placement& p : AllPlacements()) {
        SCOPED_TRACE(p.label);
        app.state.gameInProgress = 0;
        flow.OnLabelClicked(p.label);
        const auto& c = view.choosers[p.chooser];
        EXPECT_TRUE(c.open);
        EXPECT_EQ(c.label, p.label);
        EXPECT_EQ(c.selection, p.preset);
        EXPECT_EQ(view.focus, p.chooser);
        EXPECT_EQ(flow.OpenChooser(), p.kind);
        EXPECT_FALSE(view.Label(p.covered).visible);
        // The sign and gap labels stay in sight above their list.
        EXPECT_TRUE(view.Label(p.label).visible || p.covered == p.label);

        const ExpressionState before = flow.Expression();
        flow.OnChooserClosed();
        EXPECT_FALSE(view.choosers[p.chooser].open);
        EXPECT_TRUE(view.Label(p.covered).visible);
        EXPECT_EQ(flow.OpenChooser(), ChooserNone);
        EXPECT_EQ(flow.Expression(), before);
        EXPECT_EQ(app.state.gameInProgress, 1);
    }
}

TEST_F(ChooserTest, ListsOpenOnTheCurrentValue) {
    Start();
    Choose(IDC_POWER0 + 2, IDC_POWER_CHOOSER, PowCube);
    Choose(IDC_OP0, IDC_SIGN_CHOOSER, kSignMinus);
    Choose(IDC_OP0 + 2, IDC_OP_CHOOSER, OpDiv);
    Choose(IDC_RANK0 + 3, IDC_RANK_CHOOSER, 0);
    EXPECT_EQ(view.Label(IDC_POWER0 + 2).text, "3");
    EXPECT_EQ(view.Label(IDC_OP0).text, "-");
    EXPECT_EQ(view.Label(IDC_OP0 + 2).text, "/");

    flow.OnLabelClicked(IDC_POWER0 + 2);
    EXPECT_EQ(view.choosers[IDC_POWER_CHOOSER].selection, PowCube);
    flow.OnLabelClicked(IDC_OP0);
    EXPECT_EQ(view.choosers[IDC_SIGN_CHOOSER].selection, kSignMinus);
    flow.OnLabelClicked(IDC_OP0 + 2);
    EXPECT_EQ(view.choosers[IDC_OP_CHOOSER].selection, OpDiv);
    flow.OnLabelClicked(IDC_RANK0 + 3);
    EXPECT_EQ(view.choosers[IDC_RANK_CHOOSER].selection, 0);
    flow.OnBackgroundClicked();
    EXPECT_EQ(view.OpenList(), 0);
}

TEST_F(ChooserTest, ChoosingAnOperatorRetextsTheGapAndBringsBackItsRankLabel) {
    Start();
    flow.OnLabelClicked(IDC_OP0 + 2);
    EXPECT_FALSE(view.Label(IDC_RANK0 + 2).visible);
    EXPECT_TRUE(view.Label(IDC_OP0 + 2).visible);
    view.Pick(IDC_OP_CHOOSER, OpMul);
    flow.OnChooserClosed();
    EXPECT_EQ(view.Label(IDC_OP0 + 2).text, "*");
    EXPECT_EQ(flow.Expression().op[2], OpMul);
    EXPECT_TRUE(view.Label(IDC_RANK0 + 2).visible);
    EXPECT_EQ(app.state.gameInProgress, 1);
}

TEST_F(ChooserTest, ClickingAnotherLabelTakesTheOpenListFirst) {
    Start();
    flow.OnLabelClicked(IDC_OP0 + 2);
    view.Pick(IDC_OP_CHOOSER, OpMul);
    flow.OnLabelClicked(IDC_POWER0 + 1);

    EXPECT_EQ(flow.Expression().op[2], OpMul);
    EXPECT_EQ(view.Label(IDC_OP0 + 2).text, "*");
    EXPECT_TRUE(view.Label(IDC_RANK0 + 2).visible);
    EXPECT_FALSE(view.choosers[IDC_OP_CHOOSER].open);
    const auto& power = view.choosers[IDC_POWER_CHOOSER];
    EXPECT_TRUE(power.open);
    EXPECT_EQ(power.label, IDC_POWER0 + 1);
    EXPECT_FALSE(view.Label(IDC_POWER0 + 1).visible);
    EXPECT_EQ(flow.OpenChooser(), ChooserPower);

    view.Pick(IDC_POWER_CHOOSER, PowSqrt);
    flow.OnChooserClosed();
    EXPECT_EQ(view.Label(IDC_POWER0 + 1).text, "√");
    EXPECT_TRUE(view.Label(IDC_POWER0 + 1).visible);
    EXPECT_EQ(flow.Expression().power[1], PowSqrt);
}

TEST_F(ChooserTest, ARankChoiceRetextsTheRanksItMoves) {
    Start();
    Choose(IDC_RANK0 + 3, IDC_RANK_CHOOSER, 0);
    EXPECT_EQ(RankTexts(), "2341");
    const int32_t ranks[] = {1, 2, 3, 0};
    for (int k = 0; k < kPositions; ++k) {
        EXPECT_EQ(flow.Expression().rank[k], ranks[k]);
    }
}

TEST_F(ChooserTest, AJoinDisablesLabelsWhoseClicksThenLandOnTheBackground) {
    Start();
    Choose(IDC_POWER0, IDC_POWER_CHOOSER, PowSquare);
    Choose(IDC_OP0 + 1, IDC_OP_CHOOSER, OpJoin);
    EXPECT_EQ(view.Label(IDC_OP0 + 1).text, " ");
    EXPECT_FALSE(view.Label(IDC_POWER0).enabled);
    EXPECT_EQ(view.Label(IDC_POWER0).text, "");
    EXPECT_FALSE(view.Label(IDC_RANK0 + 1).enabled);
    EXPECT_EQ(RankTexts(), "2134");

    for (const int disabled : {IDC_POWER0 + 0, IDC_RANK0 + 1}) {
        SCOPED_TRACE(disabled);
        flow.OnLabelClicked(IDC_OP0 + 3);
        view.Pick(IDC_OP_CHOOSER, OpSub);
        view.focus = 0;
        flow.OnLabelClicked(disabled);
        EXPECT_EQ(view.OpenList(), 0);
        EXPECT_EQ(flow.OpenChooser(), ChooserNone);
        EXPECT_EQ(view.focus, IDC_EVALUATE);
        EXPECT_EQ(flow.Expression().op[3], OpSub); // the open list was taken
        EXPECT_TRUE(view.Label(disabled).visible);
    }

    // Releasing the join enables both again.
    Choose(IDC_OP0 + 1, IDC_OP_CHOOSER, OpAdd);
    EXPECT_TRUE(view.Label(IDC_POWER0).enabled);
    EXPECT_TRUE(view.Label(IDC_RANK0 + 1).enabled);
    flow.OnLabelClicked(IDC_RANK0 + 1);
    EXPECT_EQ(flow.OpenChooser(), ChooserRank);
}

TEST_F(ChooserTest, WithoutUsePowerAPowerLabelOpensNothing) {
    app.settings.usePower = 0;
    Start();
    for (int k = 0; k < kPositions; ++k) {
        EXPECT_FALSE(view.Label(IDC_POWER0 + k).enabled);
        EXPECT_EQ(view.Label(IDC_POWER0 + k).text, "");
    }
    flow.OnLabelClicked(IDC_POWER0 + 2);
    EXPECT_EQ(view.OpenList(), 0);
    EXPECT_EQ(view.focus, IDC_EVALUATE);
    EXPECT_EQ(app.state.gameInProgress, 0);
    // Releasing a join keeps the power label disabled.
    Choose(IDC_OP0 + 3, IDC_OP_CHOOSER, OpJoin);
    Choose(IDC_OP0 + 3, IDC_OP_CHOOSER, OpAdd);
    EXPECT_FALSE(view.Label(IDC_POWER0 + 2).enabled);
}

TEST_F(ChooserTest, BackgroundAndPassiveLabelsTakeTheListAndFocusEvaluate) {
    Start();
    for (const int id :
         {int(IDC_PROBLEM_NO), int(IDC_SCORE_CAPTION), int(IDC_POINTS), int(IDC_DIGIT0 + 2), 0}) {
        SCOPED_TRACE(id);
        flow.OnLabelClicked(IDC_OP0 + 1);
        view.Pick(IDC_OP_CHOOSER, OpMul);
        if (id == 0) {
            flow.OnBackgroundClicked();
        } else {
            flow.OnLabelClicked(id);
        }
        EXPECT_EQ(view.OpenList(), 0);
        EXPECT_EQ(view.focus, IDC_EVALUATE);
        EXPECT_EQ(flow.Expression().op[1], OpMul);
        EXPECT_TRUE(view.Label(IDC_RANK0 + 1).visible);
        Choose(IDC_OP0 + 1, IDC_OP_CHOOSER, OpAdd);
    }
    EXPECT_EQ(flow.TryCount(), 0);
}

TEST_F(ChooserTest, TheResultLabelEvaluatesLikeEqualsAndFocusesIt) {
    Start();
    flow.OnLabelClicked(IDC_OP0 + 3);
    view.Pick(IDC_OP_CHOOSER, OpMul);
    flow.OnLabelClicked(IDC_RESULT);
    // ((0+1)+2)+3)*4 = 24: the open list was taken before the evaluation.
    EXPECT_EQ(view.Label(IDC_RESULT).text, "24 ");
    EXPECT_EQ(flow.TryCount(), 1);
    EXPECT_EQ(view.focus, IDC_EVALUATE);
    EXPECT_EQ(view.OpenList(), 0);
}

TEST_F(ChooserTest, ACommitWithNoListOpenChangesNothing) {
    Start();
    flow.CommitChooser();
    flow.OnChooserClosed();
    EXPECT_EQ(app.state.gameInProgress, 0);
    EXPECT_FALSE(flow.IsGameRunning());
}

TEST_F(ChooserTest, AListWithoutASelectionKeepsTheValue) {
    Start();
    Choose(IDC_OP0 + 2, IDC_OP_CHOOSER, OpDiv);
    for (const int32_t bad : {-1, 5, 1000}) {
        Choose(IDC_OP0 + 2, IDC_OP_CHOOSER, bad);
        EXPECT_EQ(flow.Expression().op[2], OpDiv);
        EXPECT_EQ(view.Label(IDC_OP0 + 2).text, "/");
    }
    Choose(IDC_RANK0, IDC_RANK_CHOOSER, 4);
    EXPECT_EQ(RankTexts(), "1234");
    Choose(IDC_OP0, IDC_SIGN_CHOOSER, 2);
    EXPECT_EQ(flow.Expression().op[0], kSignPlus);
    Choose(IDC_POWER0, IDC_POWER_CHOOSER, -1);
    EXPECT_EQ(flow.Expression().power[0], PowNone);
}

// A window whose list reports its closing while the flow hides it.
class EchoingView : public FakeGameView {
public:
    GameFlow* flow = nullptr;
    int selectionReads = 0;
    void HideChooserList(int id) override {
        FakeGameView::HideChooserList(id);
        if (flow != nullptr) {
            flow->OnChooserClosed();
        }
    }
    int32_t ChooserSelection(int id) override {
        ++selectionReads;
        return FakeGameView::ChooserSelection(id);
    }
};

TEST(ChooserEcho, AClosingReportedDuringTheCommitIsNotTakenTwice) {
    CGameApp app;
    InstallDefaultSettings(app.settings);
    EchoingView view;
    GameFlow flow(app, view, [] { return 0; });
    view.flow = &flow;
    flow.StartGame();
    flow.OnLabelClicked(IDC_POWER0 + 3);
    view.Pick(IDC_POWER_CHOOSER, PowCbrt);
    flow.OnChooserClosed();
    EXPECT_EQ(view.selectionReads, 1);
    EXPECT_EQ(flow.Expression().power[3], PowCbrt);
    EXPECT_EQ(view.Label(IDC_POWER0 + 3).text, "1/3");
    EXPECT_EQ(flow.OpenChooser(), ChooserNone);
}

} // namespace
} // namespace vostrel
