#include "fakes/FakeAppShell.h"

namespace vostrel::fakes {

int32_t FakeAppShell::MessageBox(const std::string& text, const std::string& caption,
                                 uint32_t style) {
    return boxes.MessageBox(text, caption, style);
}

void FakeAppShell::RunGameDialog(CGameApp& app) {
    ++gameDialogRuns;
    if (onGameDialog) {
        onGameDialog(app);
    }
}

} // namespace vostrel::fakes
