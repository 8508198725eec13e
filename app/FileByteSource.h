#pragma once
// Reads an open file descriptor; the caller keeps ownership of it.

#include "app/IByteSource.h"

namespace vostrel {

class FileByteSource : public IByteSource {
public:
    explicit FileByteSource(int fd) : fd_(fd) {}
    int64_t Read(char* dst, size_t cap) override;
    // The errno value of the read that failed; 0 while none has.
    int error() const { return error_; }

private:
    int fd_;
    int error_ = 0;
};

} // namespace vostrel
