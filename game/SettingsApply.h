#pragma once
// The change button of the settings dialog: its entries, checked and stored in a settings
// record.

#include "app/IMessageBoxOwner.h"
#include "app/SettingsRecord.h"

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

// Validates the entries and stores them in settings; message boxes are owned by the settings
// dialog, which asks before a game under way is thrown away. 0 stored; -11 not all digits;
// -12 outside 1..10; -13 the player kept the game in progress. Only 0 changes settings.
int32_t ApplySettings(SettingsRecord& settings, const SettingsEntries& e, bool gameRunning,
                      IMessageBoxOwner& owner);

} // namespace vostrel
