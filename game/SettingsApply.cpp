// The change button of the settings dialog: validates the entries and stores them in the
// application object.

#include "app/SettingsFile.h"
#include "app/WinConstants.h"
#include "game/GameFlow.h"

#include <cstdio>

namespace vostrel {

namespace {

constexpr int32_t kMinRepeatCount = 1;
constexpr int32_t kMaxRepeatCount = 10;

} // namespace

int32_t ApplySettings(CGameApp& app, const SettingsEntries& e, IMessageBoxOwner& owner) {
    if (CGameApp::CheckDigits(e.repeatCountText) != 0) {
        owner.MessageBox("繰返し回数には正の整数値を入力してください。", "入力値不正",
                         MB_OK | MB_ICONEXCLAMATION);
        return -11;
    }
    const int32_t count = DigitsToNumber(e.repeatCountText);
    if (count < kMinRepeatCount || count > kMaxRepeatCount) {
        char text[128];
        std::snprintf(text, sizeof text, "繰返し回数には1～%dの値を入力してください。",
                      kMaxRepeatCount);
        owner.MessageBox(text, "入力値不正", MB_OK | MB_ICONEXCLAMATION);
        return -12;
    }
    if (IsGameRunning(app.state) &&
        owner.MessageBox("実行中です。これまでの結果を破棄しますか。", "変更確認",
                         MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return -13;
    }

    app.state.settingsChanged = kFlagOn;
    app.settings.repeatCount = count;
    app.settings.scoreInexactDivision = e.checked[0] ? 1 : 0;
    app.settings.scoreInexactRoot = e.checked[1] ? 1 : 0;
    app.settings.scoreOtherResults = e.checked[2] ? 1 : 0;
    app.settings.usePower = e.checked[3] ? 1 : 0;
    return 0;
}

} // namespace vostrel
