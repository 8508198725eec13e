#pragma once
// A game flow on the fake window, its digits drawn from a script, with the default settings:
// the set-up of the tests that play through GameFlow.

#include "app/CGameApp.h"
#include "fakes/FakeGameView.h"
#include "fakes/ScriptedRandom.h"
#include "game/GameFlow.h"

#include <gtest/gtest.h>

#include <string>

namespace vostrel::test {

constexpr Slot Power(int k) {
    return {Row::Power, k};
}
constexpr Slot Op(int k) {
    return {Row::Op, k};
}
constexpr Slot Rank(int k) {
    return {Row::Rank, k};
}

class FlowFixture : public ::testing::Test {
protected:
    FlowFixture() { InstallDefaultSettings(app.settings); }

    // A click on a label, an item picked in the list it drops down, and the list closed.
    void Choose(Slot s, int32_t item) {
        flow.OnSlotClicked(s);
        EXPECT_NE(Shown().list.kind, ChooserNone) << "picking in a list that is not down";
        flow.OnItemChosen(item);
        flow.OnChooserClosed();
    }
    const Screen& Shown() const { return view.Shown(); }
    // The texts of a row's four labels, joined.
    std::string RowTexts(Row row) const {
        std::string s;
        for (int k = 0; k < kPositions; ++k) {
            s += Shown()[{row, k}].text;
        }
        return s;
    }
    std::string DigitTexts() const {
        std::string s;
        for (const int32_t d : Shown().digits) {
            s += std::to_string(d);
        }
        return s;
    }

    CGameApp app;
    fakes::FakeGameView view;
    fakes::ScriptedRandom rnd;
    GameFlow flow{app, view, rnd.Source()};
};

} // namespace vostrel::test
