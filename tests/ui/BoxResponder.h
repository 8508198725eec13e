#pragma once
// The tests' one message-box fake, answering the windows' boxes for as long as it lives and
// keeping which window owned each one.

#include "fakes/FakeMessageBoxes.h"
#include "ui/platform/MessageBoxes.h"

#include <vector>

class QWidget;

namespace vostrel::fakes {

class BoxResponder : public FakeMessageBoxes {
public:
    BoxResponder();
    ~BoxResponder() override;
    BoxResponder(const BoxResponder&) = delete;
    BoxResponder& operator=(const BoxResponder&) = delete;

    // The owner of each box in `shown`, in the same order.
    std::vector<QWidget*> owners;
    void Clear() {
        FakeMessageBoxes::Clear();
        owners.clear();
    }

private:
    MessageBoxResponder previous_;
};

} // namespace vostrel::fakes
