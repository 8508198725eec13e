#pragma once
// Serves the given bytes, then fails every read instead of reporting the end.

#include "app/IByteSource.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace vostrel::test {

class FailingByteSource : public IByteSource {
public:
    explicit FailingByteSource(std::string bytes) : bytes_(std::move(bytes)) {}
    int64_t Read(char* dst, size_t cap) override {
        if (pos_ == bytes_.size()) {
            return -1;
        }
        const size_t n = std::min(cap, bytes_.size() - pos_);
        std::memcpy(dst, bytes_.data() + pos_, n);
        pos_ += n;
        return static_cast<int64_t>(n);
    }

private:
    std::string bytes_;
    size_t pos_ = 0;
};

} // namespace vostrel::test
