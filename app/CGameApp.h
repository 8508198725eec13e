#pragma once
// The application object: owns the settings record and the application state record for the
// whole run, reads and writes the settings file, and runs start-up and shutdown.

#include "app/AppState.h"
#include "app/SettingsLocation.h"
#include "app/SettingsRecord.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vostrel {

class IAppShell;

class CGameApp {
public:
    SettingsRecord settings;
    AppState state;
    // The settings file of this run, set at start-up; empty before.
    std::string settingsPath;

    // The settings file beside the executable; empty when that directory cannot be found.
    static std::string GetSettingsPath(std::string_view fileName);
    // Where the real program keeps the file: beside the executable or in the player's data
    // folder (ChooseSettingsLocation over this machine).
    static SettingsLocation FindSettingsLocation(std::string_view fileName);
    int32_t LoadSettings(const std::string& path);
    int32_t SaveSettings(const std::string& path) const;
    // 0 all digits, 1 empty, 2 anything else.
    static int32_t CheckDigits(std::string_view text);

    // The whole life of the program; returns the process exit status. The location is where
    // the file is read and written (FindSettingsLocation("vostrel.dat") in the real program).
    int InitInstance(IAppShell& shell, const SettingsLocation& location);
    int InitInstance(IAppShell& shell, const std::string& settingsPath) {
        return InitInstance(shell, SettingsLocation{settingsPath, false});
    }

private:
    void SaveTo(const SettingsLocation& location) const;
};

} // namespace vostrel
