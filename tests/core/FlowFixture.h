#pragma once
// A game flow on the fake window, its digits drawn from a script, with the default settings:
// the set-up of the tests that play through GameFlow.

#include "app/CGameApp.h"
#include "fakes/FakeGameView.h"
#include "fakes/ScriptedRandom.h"
#include "game/ControlIds.h"
#include "game/GameFlow.h"

#include <gtest/gtest.h>

#include <string>

namespace vostrel::test {

class FlowFixture : public ::testing::Test {
protected:
    FlowFixture() { InstallDefaultSettings(app.settings); }

    // A click on a label, an item picked in the list it drops down, and the list closed.
    void Choose(int labelId, int chooserId, int32_t item) {
        flow.OnLabelClicked(labelId);
        view.Pick(chooserId, item);
        flow.OnChooserClosed();
    }
    // The texts of the four labels from firstId on, joined.
    std::string LabelTexts(int firstId) const {
        std::string s;
        for (int k = 0; k < kPositions; ++k) {
            s += view.Label(firstId + k).text;
        }
        return s;
    }

    CGameApp app;
    fakes::FakeGameView view;
    fakes::ScriptedRandom rnd;
    GameFlow flow{app, view, rnd.Source()};
};

} // namespace vostrel::test
