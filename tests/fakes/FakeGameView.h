#pragma once
// The game window for tests: records every screen the flow hands it, answers message boxes from
// a script and lets a test decide what the modal dialogs do.

#include "fakes/FakeMessageBoxes.h"
#include "game/IGameView.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vostrel::fakes {

// Where the keyboard focus is, as far as the flow moves it.
enum class FakeFocus { None, Evaluate, List };

class FakeGameView : public IGameView {
public:
    std::vector<Screen> screens; // every screen drawn, in order
    FakeMessageBoxes boxes;
    FakeFocus focus = FakeFocus::None;
    std::optional<int32_t> endedWith; // the result EndDialog was given
    std::vector<std::string> spoken;  // the speech of every screen, in order
    int drops = 0;                    // how often a list was dropped down
    int closings = 0;                 // how often a dropped list went away

    std::map<DialogKind, int> runs;
    std::vector<GameEnd> ends; // what each high-score dialog was given
    // What the player does inside the modal dialogs; missing: closes them without a value.
    std::function<std::optional<std::string>(const GameEnd&)> onHiScore;
    std::function<std::optional<SettingsRecord>(const SettingsRecord&, bool)> onSettings;

    // The screen drawn last; a fresh one before any.
    const Screen& Shown() const;

    int32_t MessageBox(const std::string& text, const std::string& caption,
                       uint32_t style) override;
    void Render(const Screen& s) override;
    std::optional<StoredName> AskName(const GameEnd& end) override;
    std::optional<SettingsRecord> AskSettings(const SettingsRecord& now, bool gameRunning) override;
    void EndDialog(int32_t result) override;
};

} // namespace vostrel::fakes
