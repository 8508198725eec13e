#include "BoxResponder.h"

namespace vostrel::fakes {

BoxResponder::BoxResponder() {
    previous_ = SetMessageBoxResponder([this](QWidget* owner, const std::string& text,
                                              const std::string& caption, uint32_t style) {
        owners.push_back(owner);
        return MessageBox(text, caption, style);
    });
}

BoxResponder::~BoxResponder() {
    SetMessageBoxResponder(previous_);
}

} // namespace vostrel::fakes
