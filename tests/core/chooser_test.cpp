// The chooser lists of the game window as logic: where each list drops down, what it covers,
// what a commit changes, and how clicks are routed.

#include "core/FlowFixture.h"
#include "fakes/FakeGameView.h"
#include "game/GameFlow.h"

#include <gtest/gtest.h>

namespace vostrel {
namespace {

using fakes::FakeFocus;
using fakes::FakeGameView;
using test::Op;
using test::Power;
using test::Rank;

class ChooserTest : public test::FlowFixture {
protected:
    ChooserTest() { app.settings.repeatCount = 3; }
    void Start() {
        rnd.AddDigits({1, 2, 3, 4});
        flow.StartGame();
    }
    std::string RankTexts() const { return RowTexts(Row::Rank); }
};

struct Placement {
    Slot label;
    Slot covered; // the label hidden while the list is open
    ChooserKind kind;
    int32_t preset; // the value of a fresh problem
};

std::vector<Placement> AllPlacements() {
    std::vector<Placement> all;
    for (int k = 0; k < kPositions; ++k) {
        all.push_back({Power(k), Power(k), ChooserPower, PowNone});
    }
    all.push_back({Op(0), Rank(0), ChooserSign, kSignPlus});
    for (int k = 1; k < kPositions; ++k) {
        all.push_back({Op(k), Rank(k), ChooserOp, OpAdd});
    }
    for (int k = 0; k < kPositions; ++k) {
        all.push_back({Rank(k), Rank(k), ChooserRank, k});
    }
    return all;
}

TEST_F(ChooserTest, EveryLabelDropsItsListInPlaceAndClosingTouchesTheProblem) {
    Start();
    for (const Placement& p : AllPlacements()) {
        SCOPED_TRACE(static_cast<int>(p.label.row) * 10 + p.label.pos);
        GameState untouched = flow.State();
        untouched.touched = false;
        flow.Resume(untouched);
        const int drops = view.drops;
        flow.OnSlotClicked(p.label);
        const ListView& list = Shown().list;
        EXPECT_EQ(list.kind, p.kind);
        EXPECT_EQ(list.owner, p.label);
        EXPECT_EQ(list.covered, p.covered);
        EXPECT_EQ(list.selection, p.preset);
        EXPECT_EQ(view.drops, drops + 1);
        EXPECT_EQ(view.focus, FakeFocus::List);
        EXPECT_FALSE(Shown()[p.covered].visible);
        // The sign and gap labels stay in sight above their list.
        EXPECT_TRUE(Shown()[p.label].visible || p.covered == p.label);

        const ExpressionState before = flow.State().expr;
        flow.OnChooserClosed();
        EXPECT_EQ(Shown().list.kind, ChooserNone);
        EXPECT_TRUE(Shown()[p.covered].visible);
        EXPECT_EQ(flow.State().expr, before);
        EXPECT_EQ(flow.State().touched, true);
    }
}

TEST_F(ChooserTest, ListsOpenOnTheCurrentValue) {
    Start();
    Choose(Power(2), PowCube);
    Choose(Op(0), kSignMinus);
    Choose(Op(2), OpDiv);
    Choose(Rank(3), 0);
    EXPECT_EQ(Shown()[Power(2)].text, "3");
    EXPECT_EQ(Shown()[Op(0)].text, "-");
    EXPECT_EQ(Shown()[Op(2)].text, "/");

    flow.OnSlotClicked(Power(2));
    EXPECT_EQ(Shown().list.selection, PowCube);
    flow.OnSlotClicked(Op(0));
    EXPECT_EQ(Shown().list.selection, kSignMinus);
    flow.OnSlotClicked(Op(2));
    EXPECT_EQ(Shown().list.selection, OpDiv);
    flow.OnSlotClicked(Rank(3));
    EXPECT_EQ(Shown().list.selection, 0);
    flow.OnBackgroundClicked();
    EXPECT_EQ(Shown().list.kind, ChooserNone);
}

TEST_F(ChooserTest, ChoosingAnOperatorRetextsTheGapAndBringsBackItsRankLabel) {
    Start();
    flow.OnSlotClicked(Op(2));
    EXPECT_FALSE(Shown()[Rank(2)].visible);
    EXPECT_TRUE(Shown()[Op(2)].visible);
    flow.OnItemChosen(OpMul);
    flow.OnChooserClosed();
    EXPECT_EQ(Shown()[Op(2)].text, "*");
    EXPECT_EQ(flow.State().expr.op[2], OpMul);
    EXPECT_TRUE(Shown()[Rank(2)].visible);
    EXPECT_EQ(flow.State().touched, true);
}

TEST_F(ChooserTest, ClickingAnotherLabelTakesTheOpenListFirst) {
    Start();
    flow.OnSlotClicked(Op(2));
    flow.OnItemChosen(OpMul);
    flow.OnSlotClicked(Power(1));

    EXPECT_EQ(flow.State().expr.op[2], OpMul);
    EXPECT_EQ(Shown()[Op(2)].text, "*");
    EXPECT_TRUE(Shown()[Rank(2)].visible);
    EXPECT_EQ(Shown().list.kind, ChooserPower);
    EXPECT_EQ(Shown().list.owner, Power(1));
    EXPECT_FALSE(Shown()[Power(1)].visible);
    EXPECT_EQ(flow.OpenChooser(), ChooserPower);

    flow.OnItemChosen(PowSqrt);
    flow.OnChooserClosed();
    EXPECT_EQ(Shown()[Power(1)].text, "√");
    EXPECT_TRUE(Shown()[Power(1)].visible);
    EXPECT_EQ(flow.State().expr.power[1], PowSqrt);
}

TEST_F(ChooserTest, ARankChoiceRetextsTheRanksItMoves) {
    Start();
    Choose(Rank(3), 0);
    EXPECT_EQ(RankTexts(), "2341");
    const int32_t ranks[] = {1, 2, 3, 0};
    for (int k = 0; k < kPositions; ++k) {
        EXPECT_EQ(flow.State().expr.rank[k], ranks[k]);
    }
}

TEST_F(ChooserTest, AJoinDisablesLabelsWhoseClicksThenLandOnTheBackground) {
    Start();
    Choose(Power(0), PowSquare);
    Choose(Op(1), OpJoin);
    EXPECT_EQ(Shown()[Op(1)].text, " ");
    EXPECT_FALSE(Shown()[Power(0)].enabled);
    EXPECT_EQ(Shown()[Power(0)].text, "");
    EXPECT_FALSE(Shown()[Rank(1)].enabled);
    EXPECT_EQ(RankTexts(), "2134");

    for (const Slot disabled : {Power(0), Rank(1)}) {
        SCOPED_TRACE(static_cast<int>(disabled.row));
        flow.OnSlotClicked(Op(3));
        flow.OnItemChosen(OpSub);
        view.focus = FakeFocus::None;
        flow.OnSlotClicked(disabled);
        EXPECT_EQ(Shown().list.kind, ChooserNone);
        EXPECT_EQ(flow.OpenChooser(), ChooserNone);
        EXPECT_EQ(view.focus, FakeFocus::Evaluate);
        EXPECT_EQ(flow.State().expr.op[3], OpSub); // the open list was taken
        EXPECT_TRUE(Shown()[disabled].visible);
    }

    // Releasing the join enables both again.
    Choose(Op(1), OpAdd);
    EXPECT_TRUE(Shown()[Power(0)].enabled);
    EXPECT_TRUE(Shown()[Rank(1)].enabled);
    flow.OnSlotClicked(Rank(1));
    EXPECT_EQ(flow.OpenChooser(), ChooserRank);
}

TEST_F(ChooserTest, WithoutUsePowerAPowerLabelOpensNothing) {
    app.settings.usePower = 0;
    Start();
    for (int k = 0; k < kPositions; ++k) {
        EXPECT_FALSE(Shown()[Power(k)].enabled);
        EXPECT_EQ(Shown()[Power(k)].text, "");
    }
    flow.OnSlotClicked(Power(2));
    EXPECT_EQ(Shown().list.kind, ChooserNone);
    EXPECT_EQ(view.focus, FakeFocus::Evaluate);
    EXPECT_EQ(flow.State().touched, false);
    // Releasing a join keeps the power label disabled.
    Choose(Op(3), OpJoin);
    Choose(Op(3), OpAdd);
    EXPECT_FALSE(Shown()[Power(2)].enabled);
}

TEST_F(ChooserTest, TheBackgroundTakesTheListAndFocusesEvaluate) {
    Start();
    flow.OnSlotClicked(Op(1));
    flow.OnItemChosen(OpMul);
    flow.OnBackgroundClicked();
    EXPECT_EQ(Shown().list.kind, ChooserNone);
    EXPECT_EQ(view.focus, FakeFocus::Evaluate);
    EXPECT_EQ(flow.State().expr.op[1], OpMul);
    EXPECT_TRUE(Shown()[Rank(1)].visible);
    EXPECT_EQ(flow.State().tries, 0);
}

TEST_F(ChooserTest, TheResultLabelEvaluatesLikeEqualsAndFocusesIt) {
    Start();
    flow.OnSlotClicked(Op(3));
    flow.OnItemChosen(OpMul);
    flow.OnResultClicked();
    // ((0+1)+2)+3)*4 = 24: the open list was taken before the evaluation.
    EXPECT_EQ(Shown().result.text, "24 ");
    EXPECT_EQ(flow.State().tries, 1);
    EXPECT_EQ(view.focus, FakeFocus::Evaluate);
    EXPECT_EQ(Shown().list.kind, ChooserNone);
}

TEST_F(ChooserTest, ACommitWithNoListOpenChangesNothing) {
    Start();
    flow.CommitChooser();
    flow.OnChooserClosed();
    EXPECT_EQ(flow.State().touched, false);
    EXPECT_FALSE(flow.IsGameRunning());
}

TEST_F(ChooserTest, AListWithoutASelectionKeepsTheValue) {
    Start();
    Choose(Op(2), OpDiv);
    for (const int32_t bad : {-1, 5, 1000}) {
        Choose(Op(2), bad);
        EXPECT_EQ(flow.State().expr.op[2], OpDiv);
        EXPECT_EQ(Shown()[Op(2)].text, "/");
    }
    Choose(Rank(0), 4);
    EXPECT_EQ(RankTexts(), "1234");
    Choose(Op(0), 2);
    EXPECT_EQ(flow.State().expr.op[0], kSignPlus);
    Choose(Power(0), -1);
    EXPECT_EQ(flow.State().expr.power[0], PowNone);
}

// A window whose list reports its closing while the flow has it drawn closed.
class EchoingView : public FakeGameView {
public:
    GameFlow* flow = nullptr;
    void Render(const Screen& s) override {
        const bool closing = Shown().list.kind != ChooserNone && s.list.kind == ChooserNone;
        FakeGameView::Render(s);
        if (closing && flow != nullptr) {
            flow->OnItemChosen(PowSquare);
            flow->OnChooserClosed();
        }
    }
};

TEST(ChooserEcho, AClosingReportedDuringTheCommitIsNotTakenTwice) {
    CGameApp app;
    InstallDefaultSettings(app.settings);
    EchoingView view;
    GameFlow flow(app, view, [] { return 0; });
    view.flow = &flow;
    flow.StartGame();
    flow.OnSlotClicked(test::Power(3));
    flow.OnItemChosen(PowCbrt);
    flow.OnChooserClosed();
    EXPECT_EQ(view.closings, 1);
    EXPECT_EQ(flow.State().expr.power[3], PowCbrt);
    EXPECT_EQ(view.Shown()[test::Power(3)].text, ChooserItemText(ChooserPower, PowCbrt));
    EXPECT_EQ(flow.OpenChooser(), ChooserNone);
}

} // namespace
} // namespace vostrel
