#pragma once
// Where the line reader gets its bytes: a file, or memory for the fuzzer and the tests.

#include <cstddef>
#include <cstdint>

namespace vostrel {

class IByteSource {
public:
    virtual ~IByteSource() = default;
    // Up to cap bytes into dst: the count read, 0 at the end, -1 on a read failure.
    virtual int64_t Read(char* dst, size_t cap) = 0;
};

} // namespace vostrel
