#include "app/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vostrel {

namespace {

// The one file this process holds: a process runs one game.
FileLock* g_holder = nullptr;
int* g_heldFd = nullptr;

int LockForWriting(int fd) {
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &fl) == 0 ? 0 : errno;
}

bool SameFile(int fd, dev_t dev, ino_t ino) {
    struct stat st;
    return ::fstat(fd, &st) == 0 && st.st_dev == dev && st.st_ino == ino;
}

} // namespace

FileLock::~FileLock() {
    if (g_holder == this) {
        g_holder = nullptr;
        g_heldFd = nullptr;
    }
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

FileLock::Result FileLock::Take(int folder, const char* name) {
    // A save of the holder may rename a new file in between: the lock must be on the file
    // under the name.
    for (int attempt = 0; attempt < 100; ++attempt) {
        struct stat st;
        if (::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(st.st_mode)) {
            return Result::None;
        }
        const int fd = ::openat(
            folder, name, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
        if (fd < 0) {
            return Result::None;
        }
        struct stat opened;
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            return Result::None;
        }
        const int e = LockForWriting(fd);
        if (e != 0) {
            ::close(fd);
            return e == EAGAIN || e == EACCES ? Result::Busy : Result::None;
        }
        struct stat now;
        if (::fstatat(folder, name, &now, AT_SYMLINK_NOFOLLOW) == 0 &&
            now.st_dev == opened.st_dev && now.st_ino == opened.st_ino) {
            if (fd_ >= 0) {
                ::close(fd_);
            }
            fd_ = fd;
            g_holder = this;
            g_heldFd = &fd_;
            return Result::Held;
        }
        ::close(fd);
    }
    return Result::Busy;
}

int FileLock::CarryOver(dev_t dev, ino_t ino, int newFd) {
    if (g_heldFd == nullptr || !SameFile(*g_heldFd, dev, ino)) {
        return 0;
    }
    return LockForWriting(newFd);
}

void FileLock::Moved(dev_t dev, ino_t ino, int newFd) {
    if (g_heldFd == nullptr || !SameFile(*g_heldFd, dev, ino)) {
        return;
    }
    // The old file's lock goes with its last descriptor; the new file's stays with this one.
    const int kept = ::fcntl(newFd, F_DUPFD_CLOEXEC, 0);
    if (kept >= 0) {
        ::close(*g_heldFd);
        *g_heldFd = kept;
    }
}

} // namespace vostrel
