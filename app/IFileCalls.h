#pragma once
// The calls that change a file's bytes in place, so that tests can fail any of them, or cut a
// rewrite off after any byte as a kill would.

#include <string_view>
#include <sys/types.h>

namespace vostrel {

class IFileCalls {
public:
    virtual ~IFileCalls() = default;
    // Each returns 0 or an errno value.
    // Makes the file at least size bytes long with its blocks allocated.
    virtual int Reserve(int fd, off_t size) = 0;
    // All of bytes at offset.
    virtual int WriteAt(int fd, std::string_view bytes, off_t offset) = 0;
    virtual int Sync(int fd) = 0;
    virtual int Truncate(int fd, off_t size) = 0;
};

} // namespace vostrel
