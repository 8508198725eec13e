#pragma once
// The game under way as the text of its own file, kept beside the settings file so that the
// next start goes on with it: a format line, a version, then one "key:numbers" line each, LF
// ended. Reading takes nothing on trust: the expression is rebuilt through the model's own
// choices, and a state the game could not reach is refused.

#include "app/SettingsRecord.h"
#include "game/GameState.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vostrel {

// The version this build writes; a file of a later one is not read.
constexpr int32_t kSavedGameVersion = 1;

enum class SavedGameStatus : int32_t {
    Ok,
    Damaged,    // not the game's text: cut short, junk, a line missing or out of place
    Impossible, // the game's text, but a state no play under these settings reaches
    Newer,      // written by a later version
};

std::string FormatSavedGame(const GameState& s);
// out is set only on Ok. settings are those the game goes on under.
SavedGameStatus ParseSavedGame(std::string_view text, const SettingsRecord& settings,
                               GameState& out);

} // namespace vostrel
