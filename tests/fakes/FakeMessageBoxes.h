#pragma once
// Message boxes for tests: records every box shown and answers from a script.

#include "app/IMessageBoxOwner.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vostrel::fakes {

struct ShownBox {
    std::string text;
    std::string caption;
    uint32_t style = 0;

    friend bool operator==(const ShownBox&, const ShownBox&) = default;
};

class FakeMessageBoxes : public IMessageBoxOwner {
public:
    // Every box, in order.
    std::vector<ShownBox> shown;
    // Answers taken one per box, front first.
    std::deque<int32_t> answers;
    // Used when the script is empty. Without it an OK box answers IDOK and a Yes/No question
    // fails the test (and answers IDNO), so that no question goes unnoticed.
    std::optional<int32_t> defaultAnswer;
    // Called while the box is up, before it is answered: lets a test look at the window then.
    std::function<void(const ShownBox&)> onShow;

    int32_t MessageBox(const std::string& text, const std::string& caption,
                       uint32_t style) override;

    const ShownBox& Last() const;
    void Clear() { shown.clear(); }
};

} // namespace vostrel::fakes
