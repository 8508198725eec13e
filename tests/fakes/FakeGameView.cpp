#include "fakes/FakeGameView.h"

#include "game/ControlIds.h"

#include <gtest/gtest.h>

namespace vostrel::fakes {

void FakeGameView::Pick(int chooserId, int32_t item) {
    FakeChooser& c = choosers[chooserId];
    EXPECT_TRUE(c.open) << "picking in chooser " << chooserId << ", which is not open";
    c.selection = item;
}

const FakeLabel& FakeGameView::Label(int id) const {
    static const FakeLabel kUntouched{};
    const auto it = labels.find(id);
    return it == labels.end() ? kUntouched : it->second;
}

int FakeGameView::OpenList() const {
    for (const auto& [id, c] : choosers) {
        if (c.open) {
            return id;
        }
    }
    return 0;
}

int32_t FakeGameView::MessageBox(const std::string& text, const std::string& caption,
                                 uint32_t style) {
    return boxes.MessageBox(text, caption, style);
}

void FakeGameView::SetLabelText(int id, const std::string& text) {
    labels[id].text = text;
}

void FakeGameView::SetLabelAlign(int id, TextAlign align) {
    labels[id].align = align;
}

void FakeGameView::ShowLabel(int id, bool show) {
    labels[id].visible = show;
}

void FakeGameView::EnableLabel(int id, bool enable) {
    labels[id].enabled = enable;
}

void FakeGameView::PopUpChooserList(int id, int labelId, int32_t selection) {
    EXPECT_EQ(OpenList(), 0) << "chooser " << id << " dropped down over another open list";
    FakeChooser& c = choosers[id];
    c.open = true;
    c.label = labelId;
    c.selection = selection;
    ++c.popUps;
    focus = id;
}

void FakeGameView::HideChooserList(int id) {
    choosers[id].open = false;
    if (focus == id) {
        focus = 0;
    }
}

int32_t FakeGameView::ChooserSelection(int id) {
    return choosers[id].selection;
}

void FakeGameView::FocusEvaluateButton() {
    focus = IDC_EVALUATE;
}

void FakeGameView::Speak(const std::string& text) {
    spoken.push_back(text);
}

void FakeGameView::RunHiScoreDialog() {
    ++hiScoreRuns;
    if (onHiScoreDialog) {
        onHiScoreDialog();
    }
}

void FakeGameView::RunSettingsDialog() {
    ++settingsRuns;
    if (onSettingsDialog) {
        onSettingsDialog();
    }
}

void FakeGameView::RunAboutDialog() {
    ++aboutRuns;
    if (onAboutDialog) {
        onAboutDialog();
    }
}

void FakeGameView::EndDialog(int32_t result) {
    EXPECT_FALSE(endedWith.has_value()) << "the dialog was ended twice";
    endedWith = result;
}

} // namespace vostrel::fakes
