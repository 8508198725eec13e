#pragma once
// What the game flow needs from the game window: draw a screen, ask with a message box, run a
// modal dialog, end. CGameDlg implements it with Qt widgets, tests with a recorder.

#include "app/IMessageBoxOwner.h"
#include "app/SettingsRecord.h"
#include "game/Screen.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vostrel {

// The modal dialogs the flow opens over the game window.
enum class DialogKind { HiScore, Settings };

// The end of a game as the high-score dialog shows it.
struct GameEnd {
    HighScoreTable table;   // with the new row in it, still unnamed
    int32_t finalScore = 0; // the mean points per problem
    int32_t row = -1;       // the new row; -1 when the score stayed outside the table

    friend bool operator==(const GameEnd&, const GameEnd&) = default;
};

class IGameView : public IMessageBoxOwner {
public:
    // Draws s; its speech and focus are done once, by this call.
    virtual void Render(const Screen& s) = 0;
    // The high-score dialog at the end of a game: the name entered for the new row, or nothing
    // when there is no row or no name was confirmed.
    virtual std::optional<StoredName> AskName(const GameEnd& end) = 0;
    // The settings dialog: the settings it applied, or nothing when it closed without. A game
    // under way is only thrown away after the player said so.
    virtual std::optional<SettingsRecord> AskSettings(const SettingsRecord& now,
                                                      bool gameRunning) = 0;
    // Ends the game window with IDOK or IDCANCEL.
    virtual void EndDialog(int32_t result) = 0;
};

} // namespace vostrel
