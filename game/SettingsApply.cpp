#include "game/SettingsApply.h"

#include "app/SettingsFile.h"
#include "app/Tr.h"
#include "app/WinConstants.h"

namespace vostrel {

int32_t ApplySettings(SettingsRecord& settings, const SettingsEntries& e, bool gameRunning,
                      IMessageBoxOwner& owner) {
    if (CheckDigits(e.repeatCountText) != 0) {
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
    if (gameRunning &&
        owner.MessageBox(Tr("SettingsApply", "実行中です。これまでの結果を破棄しますか。"),
                         //: Title of that question.
                         Tr("SettingsApply", "変更確認"), MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return -13;
    }

    settings.repeatCount = count;
    size_t k = 0;
    for (const SettingDef& d : SettingsTable()) {
        if (d.kind == SettingKind::Switch) {
            settings.*d.field = k < e.checked.size() && e.checked[k] ? kFlagOn : kFlagOff;
            ++k;
        }
    }
    return 0;
}

} // namespace vostrel
