#pragma once
// One line that never ends: fills every read with the same byte.

#include "app/IByteSource.h"

#include <cstring>

namespace vostrel::test {

class EndlessByteSource : public IByteSource {
public:
    explicit EndlessByteSource(char fill) : fill_(fill) {}
    int64_t Read(char* dst, size_t cap) override {
        std::memset(dst, fill_, cap);
        return static_cast<int64_t>(cap);
    }

private:
    char fill_;
};

} // namespace vostrel::test
