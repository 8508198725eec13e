#pragma once
// The windowing platform of start-up for tests: owner-less message boxes from a script and a
// game dialog whose run a test decides.

#include "app/IAppShell.h"
#include "fakes/FakeMessageBoxes.h"

#include <functional>

namespace vostrel::fakes {

class FakeAppShell : public IAppShell {
public:
    FakeMessageBoxes boxes;
    int gameDialogRuns = 0;
    // What the player does while the game dialog is open; nothing when empty.
    std::function<void(CGameApp&)> onGameDialog;

    int32_t MessageBox(const std::string& text, const std::string& caption,
                       uint32_t style) override;
    void RunGameDialog(CGameApp& app) override;
};

} // namespace vostrel::fakes
