#pragma once
// The change button of the settings dialog: its entries, checked and stored in the application
// object.

#include "app/CGameApp.h"
#include "app/IMessageBoxOwner.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vostrel {

// The entries of the settings dialog when the player presses its change button.
struct SettingsEntries {
    std::string repeatCountText;
    // One per switch of the settings table, in its order; a switch without one is off.
    std::vector<bool> checked;
};

// Validates and stores the entries; message boxes are owned by the settings dialog.
// 0 stored (settingsChanged = 1); -11 not all digits; -12 outside 1..10; -13 the player kept
// the game in progress.
int32_t ApplySettings(CGameApp& app, const SettingsEntries& e, IMessageBoxOwner& owner);

} // namespace vostrel
