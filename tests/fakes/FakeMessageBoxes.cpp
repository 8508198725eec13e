#include "fakes/FakeMessageBoxes.h"

#include "app/WinConstants.h"

#include <gtest/gtest.h>

namespace vostrel::fakes {

int32_t FakeMessageBoxes::MessageBox(const std::string& text, const std::string& caption,
                                     uint32_t style) {
    shown.push_back(ShownBox{text, caption, style});
    if (onShow) {
        onShow(shown.back());
    }
    if (!answers.empty()) {
        const int32_t answer = answers.front();
        answers.pop_front();
        return answer;
    }
    if (defaultAnswer) {
        return *defaultAnswer;
    }
    if ((style & MB_TYPEMASK) == MB_OK) {
        return IDOK;
    }
    ADD_FAILURE() << "unscripted question: " << caption << " / " << text;
    return IDNO;
}

const ShownBox& FakeMessageBoxes::Last() const {
    static const ShownBox kNone{};
    if (shown.empty()) {
        ADD_FAILURE() << "no message box was shown";
        return kNone;
    }
    return shown.back();
}

} // namespace vostrel::fakes
