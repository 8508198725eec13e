#include "ui/QtAppShell.h"

#include "ui/CGameDlg.h"
#include "ui/platform/MessageBoxes.h"

namespace vostrel {

int32_t QtAppShell::MessageBox(const std::string& text, const std::string& caption,
                               uint32_t style) {
    return ShowMessageBox(nullptr, text, caption, style);
}

void QtAppShell::RunGameDialog(CGameApp& app) {
    CGameDlg dlg(app);
    dlg.exec();
}

} // namespace vostrel
