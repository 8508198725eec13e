#pragma once
// A window that can own a message box.

#include <cstdint>
#include <string>

namespace vostrel {

class IMessageBoxOwner {
public:
    virtual ~IMessageBoxOwner() = default;
    // Texts are UTF-8; style is made of MB_* flags; returns IDOK, IDYES or IDNO.
    virtual int32_t MessageBox(const std::string& text, const std::string& caption,
                               uint32_t style) = 0;
};

} // namespace vostrel
