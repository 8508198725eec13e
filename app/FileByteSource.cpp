#include "app/FileByteSource.h"

#include <cerrno>
#include <unistd.h>

namespace vostrel {

int64_t FileByteSource::Read(char* dst, size_t cap) {
    for (;;) {
        const ssize_t n = ::read(fd_, dst, cap);
        if (n >= 0) {
            return n;
        }
        if (errno != EINTR) {
            error_ = errno;
            return -1;
        }
    }
}

} // namespace vostrel
