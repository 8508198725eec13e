#include "fakes/FakeGameView.h"

#include <gtest/gtest.h>

namespace vostrel::fakes {

const Screen& FakeGameView::Shown() const {
    static const Screen kFresh{};
    return screens.empty() ? kFresh : screens.back();
}

int32_t FakeGameView::MessageBox(const std::string& text, const std::string& caption,
                                 uint32_t style) {
    return boxes.MessageBox(text, caption, style);
}

void FakeGameView::Render(const Screen& s) {
    const ListView& was = Shown().list;
    const bool dropped = s.list.kind != ChooserNone && s.list.opening != was.opening;
    if (was.kind != ChooserNone && (s.list.kind == ChooserNone || dropped)) {
        ++closings;
        focus = FakeFocus::None;
    }
    if (s.list.kind != ChooserNone) {
        EXPECT_FALSE(s[s.list.covered].visible) << "a dropped list leaves its label in sight";
    }
    spoken.insert(spoken.end(), s.speech.begin(), s.speech.end());
    if (s.focusEvaluate) {
        focus = FakeFocus::Evaluate;
    }
    if (dropped) {
        ++drops;
        focus = FakeFocus::List;
    }
    screens.push_back(s);
}

std::optional<StoredName> FakeGameView::AskName(const GameEnd& end) {
    ++runs[DialogKind::HiScore];
    ends.push_back(end);
    const std::optional<std::string> name = onHiScore ? onHiScore(end) : std::nullopt;
    return name ? std::optional(StoredName{*name, ""}) : std::nullopt;
}

std::optional<SettingsRecord> FakeGameView::AskSettings(const SettingsRecord& now,
                                                        bool gameRunning) {
    ++runs[DialogKind::Settings];
    return onSettings ? onSettings(now, gameRunning) : std::nullopt;
}

void FakeGameView::EndDialog(int32_t result) {
    EXPECT_FALSE(endedWith.has_value()) << "the dialog was ended twice";
    endedWith = result;
}

} // namespace vostrel::fakes
