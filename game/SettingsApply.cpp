// The change button of the settings dialog: validates the entries and stores them in the
// application object.

#include "app/SettingsFile.h"
#include "app/Tr.h"
#include "app/WinConstants.h"
#include "game/GameFlow.h"

namespace vostrel {

int32_t ApplySettings(CGameApp& app, const SettingsEntries& e, IMessageBoxOwner& owner) {
    if (CGameApp::CheckDigits(e.repeatCountText) != 0) {
        //: Message box when the settings' number of problems is not a number.
        owner.MessageBox(Tr("SettingsApply", "繰返し回数には正の整数値を入力してください。"),
                         //: Title of the message boxes about a wrong number of problems.
                         Tr("SettingsApply", "入力値不正"), MB_OK | MB_ICONEXCLAMATION);
        return -11;
    }
    const int32_t count = DigitsToNumber(e.repeatCountText);
    if (count < kMinRepeatCount || count > kMaxRepeatCount) {
        owner.MessageBox(
            //: Message box when the number of problems is out of range: %1 the highest.
            FillText(Tr("SettingsApply", "繰返し回数には1～%1の値を入力してください。"),
                     {std::to_string(kMaxRepeatCount)}),
            Tr("SettingsApply", "入力値不正"), MB_OK | MB_ICONEXCLAMATION);
        return -12;
    }
    //: Question when the settings change during a game.
    if (IsGameRunning(app.state) &&
        owner.MessageBox(Tr("SettingsApply", "実行中です。これまでの結果を破棄しますか。"),
                         //: Title of that question.
                         Tr("SettingsApply", "変更確認"), MB_YESNO | MB_ICONQUESTION) != IDYES) {
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
