// The change button of the settings dialog, and the settings command of the game window that
// restarts the game after a change.

#include "app/WinConstants.h"
#include "core/FlowFixture.h"
#include "fakes/FakeGameView.h"
#include "fakes/FakeMessageBoxes.h"
#include "fakes/ScriptedRandom.h"
#include "game/GameFlow.h"
#include "game/SettingsApply.h"

#include <gtest/gtest.h>

#include <optional>

namespace vostrel {
namespace {

using fakes::FakeGameView;
using fakes::FakeMessageBoxes;
using fakes::ScriptedRandom;
using fakes::ShownBox;
using test::Op;
using test::Power;

const std::string kNotDigits = "繰返し回数には正の整数値を入力してください。";
const std::string kOutOfRange = "繰返し回数には1～10の値を入力してください。";

// ticked: the switches of the settings table in its order (nsd, nsr, rto, eu, ...).
SettingsEntries Entries(const std::string& count, std::vector<bool> ticked) {
    return SettingsEntries{count, std::move(ticked)};
}

std::vector<const SettingDef*> Switches() {
    std::vector<const SettingDef*> out;
    for (const SettingDef& d : SettingsTable()) {
        if (d.kind == SettingKind::Switch) {
            out.push_back(&d);
        }
    }
    return out;
}

CGameApp DefaultApp() {
    CGameApp app;
    InstallDefaultSettings(app.settings);
    return app;
}

TEST(ApplySettings, RefusedEntriesStoreNothing) {
    struct Case {
        std::string text;
        int32_t result;
        std::string message;
    };
    const Case cases[] = {
        {"", -11, kNotDigits},
        {" 3", -11, kNotDigits},
        {"+3", -11, kNotDigits},
        {"-3", -11, kNotDigits},
        {"3.0", -11, kNotDigits},
        {"３", -11, kNotDigits},
        {"3 ", -11, kNotDigits},
        {"0", -12, kOutOfRange},
        {"11", -12, kOutOfRange},
        {"00", -12, kOutOfRange},
        {"99999999999", -12, kOutOfRange},
        {"4294967297", -12, kOutOfRange}, // 2^32 + 1 must not wrap into the range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CGameApp app = DefaultApp();
        const SettingsRecord settings = app.settings;
        FakeMessageBoxes boxes;
        EXPECT_EQ(
            ApplySettings(app.settings, Entries(c.text, {true, true, false, false}), false, boxes),
            c.result);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.Last(), (ShownBox{c.message, "入力値不正", MB_OK | MB_ICONEXCLAMATION}));
        EXPECT_EQ(boxes.Last().style, 0x30u);
        EXPECT_EQ(app.settings, settings);
    }
}

TEST(ApplySettings, AcceptedEntriesStoreTheCountAndEachSwitchInItsOwnFieldAsZeroOrOne) {
    const std::vector<const SettingDef*> switches = Switches();
    // None ticked, then each alone: a switch stored in another's field shows.
    for (size_t alone = 0; alone <= switches.size(); ++alone) {
        CGameApp app = DefaultApp();
        std::vector<bool> ticked(switches.size(), false);
        for (size_t k = 0; k < switches.size(); ++k) {
            app.settings.*switches[k]->field = 2; // as a file may hold it
        }
        if (alone < switches.size()) {
            ticked[alone] = true;
        }
        FakeMessageBoxes boxes;
        EXPECT_EQ(ApplySettings(app.settings, Entries("007", ticked), false, boxes), 0);
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(app.settings.repeatCount, 7);
        for (size_t k = 0; k < switches.size(); ++k) {
            EXPECT_EQ(app.settings.*switches[k]->field, ticked[k] ? 1 : 0)
                << switches[k]->key << " with " << alone << " ticked";
        }
    }
    CGameApp app = DefaultApp();
    FakeMessageBoxes boxes;
    EXPECT_EQ(ApplySettings(app.settings, Entries("10", {}), false, boxes), 0);
    EXPECT_EQ(app.settings.repeatCount, 10);
    EXPECT_EQ(ApplySettings(app.settings, Entries("1", {}), false, boxes), 0);
    EXPECT_EQ(app.settings.repeatCount, 1);
}

TEST(ApplySettings, AGameUnderWayIsDiscardedOnlyOnYes) {
    {
        CGameApp app = DefaultApp();
        const SettingsRecord settings = app.settings;
        FakeMessageBoxes boxes;
        boxes.answers = {IDNO};
        EXPECT_EQ(ApplySettings(app.settings, Entries("5", {true, true, true, true}), true, boxes),
                  -13);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.Last(), (ShownBox{"実行中です。これまでの結果を破棄しますか。", "変更確認",
                                          MB_YESNO | MB_ICONQUESTION}));
        EXPECT_EQ(app.settings, settings);

        boxes.answers = {IDYES};
        EXPECT_EQ(ApplySettings(app.settings, Entries("5", {true, true, true, true}), true, boxes),
                  0);
        EXPECT_EQ(app.settings.repeatCount, 5);
    }
}

class OpenSettingsTest : public test::FlowFixture {
protected:
    OpenSettingsTest() {
        app.settings.repeatCount = 3;
        rnd.AddDigits({1, 2, 3, 4});
        flow.StartGame();
    }
    // The player types the entries and presses the change button once.
    void PlayerApplies(const SettingsEntries& e) {
        view.onSettings = [this, e](SettingsRecord now,
                                    bool running) -> std::optional<SettingsRecord> {
            EXPECT_EQ(running, flow.IsGameRunning());
            applied = ApplySettings(now, e, running, view);
            return applied == 0 ? std::optional(now) : std::nullopt;
        };
    }

    int32_t applied = 1;
};

TEST_F(OpenSettingsTest, AppliedMidGameWithYesStartsANewGame) {
    rnd.AddDigits({1, 2, 3, 4});
    flow.GradeProblem();
    flow.OnSlotClicked(Op(1));
    flow.OnItemChosen(OpMul);
    view.boxes.Clear();

    PlayerApplies(Entries("5", {false, false, true, false}));
    view.boxes.answers = {IDYES};
    rnd.AddDigits({6, 6, 6, 6});
    flow.OpenSettings();
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(view.runs[DialogKind::Settings], 1);
    ASSERT_EQ(view.boxes.shown.size(), 1u);
    EXPECT_EQ(view.boxes.Last().caption, "変更確認");
    EXPECT_EQ(app.settings.repeatCount, 5);
    EXPECT_EQ(app.settings.usePower, 0);
    EXPECT_EQ(flow.State().problemIndex, 0);
    EXPECT_EQ(flow.State().gameScore, 0);
    EXPECT_EQ(flow.State().touched, false);
    EXPECT_EQ(Shown().problemNo.text, "No.1");
    EXPECT_EQ(Shown().digits[0], 6);
    EXPECT_EQ(flow.State().expr.op[1], OpAdd);
    EXPECT_FALSE(Shown()[Power(0)].enabled);
}

TEST_F(OpenSettingsTest, AppliedMidGameWithNoLeavesTheGame) {
    rnd.AddDigits({2, 2, 2, 2});
    flow.GradeProblem();
    flow.OnSlotClicked(Op(1));
    flow.OnItemChosen(OpMul);
    flow.EvaluateTry();
    view.boxes.Clear();
    const SettingsRecord settings = app.settings;
    const GameState state = flow.State();

    PlayerApplies(Entries("5", {false, false, true, false}));
    view.boxes.answers = {IDNO};
    flow.OpenSettings();
    EXPECT_EQ(applied, -13);
    EXPECT_EQ(view.boxes.shown.size(), 1u);
    EXPECT_EQ(app.settings, settings);
    EXPECT_EQ(flow.State(), state);
    EXPECT_EQ(Shown().problemNo.text, "No.2");
    EXPECT_EQ(rnd.Remaining(), 0u);
}

TEST_F(OpenSettingsTest, AChangeWithNoGameUnderWayRestartsWithoutAQuestion) {
    PlayerApplies(Entries("1", {false, false, true, true}));
    rnd.AddDigits({9, 9, 9, 9});
    flow.OpenSettings();
    EXPECT_EQ(applied, 0);
    EXPECT_TRUE(view.boxes.shown.empty());
    EXPECT_EQ(Shown().digits[0], 9);
    EXPECT_FALSE(Shown().problemNo.visible);
}

TEST_F(OpenSettingsTest, TheOpenListIsTakenBeforeTheDialogAndClosingLeavesTheGame) {
    flow.OnSlotClicked(Op(2));
    flow.OnItemChosen(OpDiv);
    view.onSettings = [this](const SettingsRecord&, bool) -> std::optional<SettingsRecord> {
        EXPECT_EQ(Shown().list.kind, ChooserNone);
        EXPECT_EQ(flow.State().expr.op[2], OpDiv);
        return std::nullopt;
    };
    flow.OpenSettings();
    EXPECT_EQ(view.runs[DialogKind::Settings], 1);
    EXPECT_EQ(flow.State().touched, true);
    EXPECT_EQ(flow.State().expr.op[2], OpDiv);
    EXPECT_EQ(Shown().digits[0], 1);
    EXPECT_EQ(rnd.Remaining(), 0u);
}

} // namespace
} // namespace vostrel
