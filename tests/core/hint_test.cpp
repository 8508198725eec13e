// Hints on the problem on screen: what the first one says, the labels the next ones lay with
// their marks, names and price, and that from any labels they lead to the solver's best.

#include "app/WinConstants.h"
#include "core/FlowFixture.h"
#include "core/Sanitized.h"
#include "engine/Evaluator.h"
#include "engine/PointRules.h"
#include "game/GameFlow.h"
#include "game/SpokenText.h"
#include "search/AllSwitchesSolver.h"
#include "search/LabelOrder.h"
#include "search/Solver.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace vostrel {
namespace {

using fakes::ShownBox;
using test::Op;
using test::Power;
using test::Rank;

Digits DigitsOf(const ExpressionState& e) {
    return {e.digits[0], e.digits[1], e.digits[2], e.digits[3]};
}

class HintTest : public test::FlowFixture {
protected:
    SolveResult Best() const {
        return Solve(DigitsOf(flow.State().expr),
                     {SwitchesOf(app.settings), app.settings.usePower});
    }
    static std::string FirstHint(const SolveResult& b) {
        return (b.tens > 0 ? "この数字で10を作れます。最高得点は"
                           : "この数字では10を作れません。最高得点は") +
               std::to_string(b.best) + "点(結果 " + std::to_string(b.value) + ")です。";
    }
};

TEST_F(HintTest, TheFirstHintSaysWhetherTenCanBeMadeAndTheBestPointsAndLaysNothing) {
    // 0 1 6 0 makes no 10 under the defaults.
    for (const Digits& d : {Digits{0, 1, 6, 0}, Digits{1, 2, 3, 4}}) {
        rnd.AddDigits({d[0], d[1], d[2], d[3]});
        flow.RestartGame();
        view.boxes.Clear();
        const Screen before = Shown();
        const SolveResult best = Best();
        EXPECT_EQ(best.tens > 0, d[0] == 1);
        flow.TakeHint();
        ASSERT_EQ(view.boxes.shown.size(), 1u);
        EXPECT_EQ(view.boxes.Last(),
                  (ShownBox{FirstHint(best), "ヒント", MB_OK | MB_ICONINFORMATION}));
        EXPECT_EQ(flow.State().hints, 1);
        EXPECT_EQ(Shown().labels, before.labels);
        // The problem counts as touched: retry asks first.
        EXPECT_TRUE(flow.IsGameRunning());
        view.boxes.answers = {IDYES};
    }
}

TEST_F(HintTest, EachFurtherHintLaysOneLabelMarksAndNamesItAndCostsItsPrice) {
    rnd.AddDigits({1, 2, 3, 4});
    flow.StartGame();
    const SolveResult best = Best();
    flow.TakeHint();
    view.spoken.clear();

    ExpressionState expected = flow.State().expr;
    const std::optional<LabelChoice> first = NextLabel(expected, best.choice);
    ASSERT_TRUE(first.has_value());
    ApplyLabel(expected, *first, app.settings.usePower);
    flow.TakeHint();
    EXPECT_EQ(flow.State().expr, expected);
    EXPECT_EQ(flow.State().hints, 2);
    const Slot laid = SlotOfLabel(first->label);
    const std::string name = SlotName(laid, expected.digits);
    const std::string word = ChooserItemWord(ChooserOf(laid), first->code);
    EXPECT_TRUE(Shown()[laid].hinted);
    EXPECT_EQ(Shown()[laid].name, HintedLabelName(name));
    EXPECT_EQ(view.spoken, std::vector<std::string>{HintSpeech(name, word)});
    for (int r = 0; r < kRows; ++r) {
        for (int k = 0; k < kPositions; ++k) {
            const Slot s{static_cast<Row>(r), k};
            EXPECT_EQ(Shown()[s].hinted, s == laid) << r << k;
        }
    }

    // "=" and the grade show the points less the price of both hints.
    flow.EvaluateTry();
    const int32_t price = points::HintedPoints(0, 2);
    EXPECT_EQ(price, 2 * points::kHintPrice);
    const int32_t evaluated = Evaluate(expected, 1, SwitchesOf(app.settings)).points;
    EXPECT_EQ(Shown().points.text, std::to_string(evaluated + price) + " ");

    // The player's own choice on the laid label takes its mark away.
    const int32_t other = (first->code + 1) % ChooserItems(ChooserOf(laid));
    Choose(laid, other);
    EXPECT_FALSE(Shown()[laid].hinted);
    EXPECT_EQ(Shown()[laid].name, name);

    rnd.AddDigits({5, 5, 5, 5});
    flow.GradeProblem();
    ASSERT_EQ(view.boxes.shown.size(), 2u);
    const std::string& box = view.boxes.Last().text;
    EXPECT_NE(box.find("\nヒント 2回: " + std::to_string(price) + "点"), std::string::npos) << box;
    EXPECT_EQ(flow.State().hints, 0);
}

// A window that keeps only what the all-ticket run needs: hundreds of thousands of hints.
class QuietView : public IGameView {
public:
    int32_t MessageBox(const std::string&, const std::string&, uint32_t) override { return IDOK; }
    void Render(const Screen&) override {}
    std::optional<StoredName> AskName(const GameEnd&) override { return std::nullopt; }
    std::optional<SettingsRecord> AskSettings(const SettingsRecord&, bool) override {
        return std::nullopt;
    }
    void EndDialog(int32_t) override {}
};

// Every seventh ticket in the slower sanitizer build.
constexpr int kTicketStep = test::kSanitized ? 7 : 1;

// Takes hints until none is left and grades; returns the points graded and the hints taken.
// Each label is laid at most once: a hint never undoes what an earlier one laid.
std::pair<int32_t, int32_t> HintUntilNoneAndGrade(GameFlow& flow) {
    LabelMask laid = 0;
    for (int taken = 0; taken <= 1 + 3 * kPositions; ++taken) {
        const int32_t hints = flow.State().hints;
        const LabelMask marked = flow.State().hinted;
        flow.TakeHint();
        if (flow.State().hints == hints) {
            break; // none left
        }
        const LabelMask now = flow.State().hinted & ~marked;
        if (taken > 0 && (now == 0 || (now & (now - 1)) != 0 || (laid & now) != 0)) {
            ADD_FAILURE() << "hint " << taken << " laid labels " << now << " after " << laid;
        }
        laid |= now;
    }
    const int32_t hints = flow.State().hints;
    const int32_t before = flow.State().gameScore;
    flow.GradeProblem();
    return {flow.State().gameScore - before, hints};
}

// The settings of one switch set, a game long enough never to end.
CGameApp AppFor(const SolveSwitches& sw) {
    CGameApp app;
    InstallDefaultSettings(app.settings);
    app.settings.repeatCount = kMaxRepeatCount;
    app.settings.scoreInexactDivision = sw.score.scoreInexactDivision;
    app.settings.scoreInexactRoot = sw.score.scoreInexactRoot;
    app.settings.scoreOtherResults = sw.score.scoreOtherResults;
    app.settings.usePower = sw.usePower;
    return app;
}

GameState FreshProblem(const Digits& d, int32_t usePower) {
    GameState fresh;
    for (int k = 0; k < kPositions; ++k) {
        fresh.expr.digits[k] = d[k];
    }
    ResetExpression(fresh.expr, usePower);
    return fresh;
}

// Expected: the best of the solver that takes all switch sets at once.
TEST(HintAllTickets, FromTheFreshProblemHintsLeadToTheBestLessTheirPrice) {
    std::vector<CGameApp> apps;
    for (int combo = 0; combo < kSwitchCombinations; ++combo) {
        apps.push_back(AppFor(SwitchCombination(combo)));
    }
    QuietView view;
    std::vector<std::unique_ptr<GameFlow>> flows;
    for (CGameApp& app : apps) {
        flows.push_back(std::make_unique<GameFlow>(app, view, [] { return 0; }));
        flows.back()->StartGame();
    }
    int failures = 0;
    for (int t = 0; t < 10000 && failures < 5; t += kTicketStep) {
        const Digits d = {t / 1000, t / 100 % 10, t / 10 % 10, t % 10};
        const AllSwitchesResult best = SolveAllSwitches(d);
        for (int combo = 0; combo < kSwitchCombinations; ++combo) {
            GameFlow& flow = *flows[static_cast<size_t>(combo)];
            flow.Resume(FreshProblem(d, SwitchCombination(combo).usePower));
            const auto [graded, hints] = HintUntilNoneAndGrade(flow);
            const int32_t expected = best[static_cast<size_t>(combo)].best;
            if (graded != points::HintedPoints(expected, hints)) {
                ++failures;
                ADD_FAILURE() << "combo " << combo << " ticket " << t << ": graded " << graded
                              << " after " << hints << " hints, best " << expected;
            }
        }
    }
}

TEST(HintAllTickets, FromRandomLabelsHintsLeadToTheBestLessTheirPrice) {
    std::mt19937 gen(40);
    for (int combo = 0; combo < kSwitchCombinations; ++combo) {
        const SolveSwitches sw = SwitchCombination(combo);
        CGameApp app = AppFor(sw);
        QuietView view;
        GameFlow flow(app, view, [] { return 0; });
        flow.StartGame();
        for (int n = 0; n < 200 / kTicketStep; ++n) {
            const Digits d = {static_cast<int32_t>(gen() % 10), static_cast<int32_t>(gen() % 10),
                              static_cast<int32_t>(gen() % 10), static_cast<int32_t>(gen() % 10)};
            flow.Resume(FreshProblem(d, sw.usePower));
            // The player's choices, as the lists take them.
            for (int c = static_cast<int>(gen() % 12); c > 0; --c) {
                const Slot s{static_cast<Row>(gen() % kRows), static_cast<int>(gen() % kPositions)};
                flow.OnSlotClicked(s);
                if (flow.OpenChooser() != ChooserNone) {
                    flow.OnItemChosen(static_cast<int32_t>(gen() % ChooserItems(ChooserOf(s))));
                    flow.OnChooserClosed();
                }
            }
            const SolveResult best = Solve(d, sw);
            const auto [graded, hints] = HintUntilNoneAndGrade(flow);
            ASSERT_EQ(graded, points::HintedPoints(best.best, hints))
                << "combo " << combo << " ticket " << d[0] << d[1] << d[2] << d[3];
        }
    }
}

} // namespace
} // namespace vostrel
