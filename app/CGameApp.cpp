#include "app/CGameApp.h"

#include "app/IAppShell.h"
#include "app/PosixFileSystemView.h"
#include "app/SettingsFile.h"
#include "app/Tr.h"
#include "app/WinConstants.h"

#include <cstdlib>
#include <ctime>

namespace vostrel {

std::string CGameApp::GetSettingsPath(std::string_view fileName) {
    return vostrel::GetSettingsPath(fileName);
}

SettingsLocation CGameApp::FindSettingsLocation(std::string_view fileName) {
    return ChooseSettingsLocation(PosixFileSystemView(), GetSettingsPath(fileName), fileName);
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

void CGameApp::SaveTo(const SettingsLocation& location) const {
    // A folder that cannot be made leaves the save to fail like any other; neither is reported.
    if (location.makeFolder) {
        MakeFolderOf(location.path);
    }
    SaveSettings(location.path);
}

int CGameApp::InitInstance(IAppShell& shell, const SettingsLocation& location) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    settingsPath = location.path;

    const int32_t loaded = LoadSettings(location.path);
    if (loaded == -1) {
        shell.MessageBox(Tr("CGameApp", "設定ファイルが見つからないので初期化します。"),
                         Tr("CGameApp", "設定ファイルエラー"), MB_OK | MB_ICONEXCLAMATION);
        InstallDefaultSettings(settings);
        SaveTo(location); // a file that cannot be written is not reported
    } else if (loaded != 0) {
        // The file stays as it is, so the player can repair it.
        shell.MessageBox(Tr("CGameApp", "設定ファイルの読込みに失敗しました。"),
                         Tr("CGameApp", "設定ファイルエラー"), MB_OK | MB_ICONERROR);
        return 1;
    } else if (settings.repeatCount < 1) {
        // A file with rn:0 or without rn would make the final score a division by zero.
        settings.repeatCount = kDefaultRepeatCount;
    }

    state.hiScoreMode = 0;
    state.settingsChanged = 0;
    shell.RunGameDialog(*this);
    SaveTo(location);
    return 0;
}

} // namespace vostrel
