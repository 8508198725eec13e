#pragma once
// What the game flow needs from the game window: draw a screen, ask with a message box, run a
// modal dialog, end. CGameDlg implements it with Qt widgets, tests with a recorder.

#include "app/IMessageBoxOwner.h"
#include "game/Screen.h"

#include <cstdint>

namespace vostrel {

// The modal dialogs the flow opens over the game window.
enum class DialogKind { HiScore, Settings };

class IGameView : public IMessageBoxOwner {
public:
    // Draws s; its speech and focus are done once, by this call.
    virtual void Render(const Screen& s) = 0;
    virtual void RunDialog(DialogKind kind) = 0;
    // Ends the game window with IDOK or IDCANCEL.
    virtual void EndDialog(int32_t result) = 0;
};

} // namespace vostrel
