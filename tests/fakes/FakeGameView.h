#pragma once
// The game window for tests: keeps what the flow told each label and chooser list, answers
// message boxes from a script and lets a test decide what the modal dialogs do.

#include "fakes/FakeMessageBoxes.h"
#include "game/IGameView.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vostrel::fakes {

struct FakeLabel {
    std::string text;
    TextAlign align = TextAlign::Left;
    bool visible = true;
    bool enabled = true;
};

struct FakeChooser {
    bool open = false; // shown and dropped down
    int label = 0;     // the label whose list it is
    int32_t selection = -1;
    int popUps = 0; // how often it was dropped down
};

class FakeGameView : public IGameView {
public:
    // By ControlId; a label the flow never touched reads as a default FakeLabel.
    std::map<int, FakeLabel> labels;
    std::map<int, FakeChooser> choosers;
    FakeMessageBoxes boxes;

    // Which control holds the keyboard focus: IDC_EVALUATE or a chooser id; 0 before any.
    int focus = 0;
    std::optional<int32_t> endedWith; // the result EndDialog was given
    std::vector<std::string> spoken;  // what Speak was given, in order

    int hiScoreRuns = 0;
    int settingsRuns = 0;
    int aboutRuns = 0;
    // What the player does inside each modal dialog; nothing when empty.
    std::function<void()> onHiScoreDialog;
    std::function<void()> onSettingsDialog;
    std::function<void()> onAboutDialog;

    // The player picks an item in an open list (the flow takes it at the commit).
    void Pick(int chooserId, int32_t item);
    const FakeLabel& Label(int id) const;
    // The id of the open chooser list, or 0.
    int OpenList() const;

    int32_t MessageBox(const std::string& text, const std::string& caption,
                       uint32_t style) override;
    void SetLabelText(int id, const std::string& text) override;
    void SetLabelAlign(int id, TextAlign align) override;
    void ShowLabel(int id, bool show) override;
    void EnableLabel(int id, bool enable) override;
    void PopUpChooserList(int id, int labelId, int32_t selection) override;
    void HideChooserList(int id) override;
    int32_t ChooserSelection(int id) override;
    void FocusEvaluateButton() override;
    void Speak(const std::string& text) override;
    void RunHiScoreDialog() override;
    void RunSettingsDialog() override;
    void RunAboutDialog() override;
    void EndDialog(int32_t result) override;
};

} // namespace vostrel::fakes
