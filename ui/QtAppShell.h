#pragma once
// Start-up's view of the platform on Qt: message boxes with no owner window, and the game
// window run modally.

#include "app/IAppShell.h"

namespace vostrel {

class QtAppShell : public IAppShell {
public:
    int32_t MessageBox(const std::string& text, const std::string& caption,
                       uint32_t style) override;
    void RunGameDialog(CGameApp& app) override;
};

} // namespace vostrel
