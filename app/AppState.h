#pragma once
// Values the game window and the secondary dialogs hand to each other; never saved.

#include <cstdint>

namespace vostrel {

struct AppState {
    int32_t hiScoreMode = 0; // 0 view, 1 a new row awaits a name, 2 the score stayed outside
    int32_t hiScoreRow = 0;
    int32_t finalScore = 0;
    int32_t problemIndex = 0; // problems graded in this game
    int32_t gameInProgress = 0;
    int32_t settingsChanged = 0;
    int32_t gameScore = 0;

    friend bool operator==(const AppState&, const AppState&) = default;
};

} // namespace vostrel
