#pragma once
// Values the game window and the secondary dialogs hand to each other; never saved.

#include <cstdint>
#include <string>

namespace vostrel {

// The records' yes-or-no fields: the switches of the settings, gameInProgress, settingsChanged.
constexpr int32_t kFlagOff = 0;
constexpr int32_t kFlagOn = 1;

// How the high-score dialog opens.
enum HiScoreMode : int32_t {
    HiScoreView = 0,   // the table alone
    HiScoreEntry = 1,  // a new row awaits a name
    HiScoreResult = 2, // the final score stayed outside the table
};

struct AppState {
    int32_t hiScoreMode = HiScoreView;
    int32_t hiScoreRow = 0;
    int32_t finalScore = 0;
    int32_t problemIndex = 0; // problems graded in this game
    int32_t gameInProgress = 0;
    int32_t settingsChanged = 0;
    int32_t gameScore = 0;
    // What the name box of a new high-score row holds, as it would be stored (name and
    // fullName of the table); kept if the session ends before the player confirms it.
    std::string typedName;
    std::string typedFullName;

    friend bool operator==(const AppState&, const AppState&) = default;
};

// A game is under way once the problem on screen was touched or a problem was graded; retry,
// exit and the settings dialog ask before they throw such a game away.
inline bool IsGameRunning(const AppState& s) {
    return s.gameInProgress > kFlagOff || s.problemIndex > 0;
}

} // namespace vostrel
