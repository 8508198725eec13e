#pragma once
// What start-up needs from the windowing platform, so that the whole start-up and shutdown
// sequence runs in tests without a window.

#include <cstdint>
#include <string>

namespace vostrel {

class CGameApp;

class IAppShell {
public:
    virtual ~IAppShell() = default;
    // A message box with no owner window; returns IDOK, IDYES or IDNO. Texts are UTF-8.
    virtual int32_t MessageBox(const std::string& text, const std::string& caption,
                               uint32_t style) = 0;
    // Runs the game dialog modally until the player leaves it.
    virtual void RunGameDialog(CGameApp& app) = 0;
};

} // namespace vostrel
