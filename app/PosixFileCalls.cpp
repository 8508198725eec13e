#include "app/PosixFileCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace vostrel {

int PosixFileCalls::Reserve(int fd, off_t size) {
    return ::posix_fallocate(fd, 0, size);
}

int PosixFileCalls::WriteAt(int fd, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t w = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (w < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<size_t>(w));
        offset += w;
    }
    return 0;
}

int PosixFileCalls::Sync(int fd) {
    return ::fsync(fd) == 0 ? 0 : errno;
}

int PosixFileCalls::Truncate(int fd, off_t size) {
    return ::ftruncate(fd, size) == 0 ? 0 : errno;
}

} // namespace vostrel
