#include "app/CGameApp.h"

#include "app/SettingsFile.h"

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

int32_t CGameApp::CheckDigits(std::string_view text) { return vostrel::CheckDigits(text); }

} // namespace vostrel
