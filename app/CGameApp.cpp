#include "app/CGameApp.h"

#include "app/IAppShell.h"
#include "app/SettingsFile.h"
#include "app/WinConstants.h"

#include <cstdlib>
#include <ctime>

namespace vostrel {

std::string CGameApp::GetSettingsPath(std::string_view fileName) {
    return vostrel::GetSettingsPath(fileName);
}

int32_t CGameApp::LoadSettings(const std::string& path) {
    return vostrel::LoadSettings(path, settings);
}

int32_t CGameApp::SaveSettings(const std::string& path) const {
    return vostrel::SaveSettings(path, settings);
}

int32_t CGameApp::CheckDigits(std::string_view text) {
    return vostrel::CheckDigits(text);
}

int CGameApp::InitInstance(IAppShell& shell, const std::string& settingsPath) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    const int32_t loaded = LoadSettings(settingsPath);
    if (loaded == -1) {
        shell.MessageBox("設定ファイルが見つからないので初期化します。", "設定ファイルエラー",
                         MB_OK | MB_ICONEXCLAMATION);
        InstallDefaultSettings(settings);
        SaveSettings(settingsPath); // a file that cannot be written is not reported
    } else if (loaded != 0) {
        // The file stays as it is, so the player can repair it.
        shell.MessageBox("設定ファイルの読込みに失敗しました。", "設定ファイルエラー",
                         MB_OK | MB_ICONERROR);
        return 1;
    } else if (settings.repeatCount < 1) {
        // A file with rn:0 or without rn would make the final score a division by zero.
        settings.repeatCount = kDefaultRepeatCount;
    }

    state.hiScoreMode = 0;
    state.settingsChanged = 0;
    shell.RunGameDialog(*this);
    SaveSettings(settingsPath);
    return 0;
}

} // namespace vostrel
