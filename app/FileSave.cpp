#include "app/FileSave.h"

#include "app/FileLock.h"
#include "app/PosixFileCalls.h"
#include "app/SaveTemporaries.h"
#include "app/TrustedPath.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace vostrel {

namespace {

int WriteAndSync(int fd, std::string_view bytes) {
    PosixFileCalls calls;
    const int e = calls.WriteAt(fd, bytes, 0);
    return e != 0 ? e : calls.Sync(fd);
}

// A temporary file beside the target, removed again unless it was renamed into place.
struct TempFile {
    int folder = -1;
    std::string name;
    int fd = -1;
    bool renamed = false;

    ~TempFile() {
        if (fd >= 0) {
            ::close(fd);
        }
        if (!name.empty() && !renamed) {
            ::unlinkat(folder, name.c_str(), 0);
        }
    }
};

// These return 0, or the errno value of the step that failed.
int CreateTemp(const TrustedPath& target, mode_t mode, TempFile& tmp) {
    static unsigned counter = 0;
    const std::string stem = SaveTempStem(target.name(), ::getpid());
    tmp.folder = target.folder();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = stem + std::to_string(counter++);
        const int fd = ::openat(target.folder(), name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) {
            tmp.name = std::move(name);
            tmp.fd = fd;
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

// Where the folder refuses a new file.
int RewriteInPlace(const TrustedPath& target, std::string_view bytes, IFileCalls& calls) {
    const int fd = ::openat(target.folder(), target.name().c_str(),
                            O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    struct stat st;
    int r = ::fstat(fd, &st) == 0 ? 0 : errno;
    if (r == 0 && !S_ISREG(st.st_mode)) {
        r = kNotAFile;
    }
    char last = '\n';
    // Old bytes that end inside a line would run on into what the rewrite puts after them.
    if (r == 0 && st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) != 1) {
        r = errno;
    }
    if (r == 0 && last != '\n') {
        r = EINVAL;
    }
    if (r == 0) {
        r = InPlaceRewrite::Write(fd, bytes, calls);
    }
    const int closed = ::close(fd) == 0 ? 0 : errno;
    return r != 0 ? r : closed;
}

int SaveBytes(const std::string& path, std::string_view bytes, IFileCalls& calls) {
    TrustedPath target;
    if (const int e = target.Resolve(path); e != 0) {
        return e;
    }
    const int folder = target.folder();
    const char* name = target.name().c_str();
    struct stat st;
    const bool exists = ::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists) {
        // Replacing something that is not a plain file, or a file the player made read-only,
        // is refused just as an in-place write would be.
        if (!S_ISREG(st.st_mode)) {
            return S_ISDIR(st.st_mode) ? EISDIR : kNotAFile;
        }
        if (::faccessat(folder, name, W_OK, AT_EACCESS) != 0) {
            return errno;
        }
    }
    TempFile tmp;
    if (const int e = CreateTemp(target, exists ? (st.st_mode & 07777) : 0644, tmp); e != 0) {
        // A folder the player may not write, holding a file the player may: only an in-place
        // write can save there. Any other failure keeps the old file whole.
        const bool folderRefused = e == EACCES || e == EPERM;
        return exists && folderRefused ? RewriteInPlace(target, bytes, calls) : e;
    }
    // The umask applied on creation; an existing file's mode is kept exactly.
    if (exists && ::fchmod(tmp.fd, st.st_mode & 07777) != 0) {
        return errno;
    }
    if (const int e = WriteAndSync(tmp.fd, bytes); e != 0) {
        return e;
    }
    // The game that holds the file holds the new one before it takes the name.
    if (exists) {
        if (const int e = FileLock::CarryOver(st.st_dev, st.st_ino, tmp.fd); e != 0) {
            return e;
        }
    }
    if (::renameat(folder, tmp.name.c_str(), folder, name) != 0) {
        return errno;
    }
    tmp.renamed = true;
    if (exists) {
        FileLock::Moved(st.st_dev, st.st_ino, tmp.fd);
    }
    const int fd = tmp.fd;
    tmp.fd = -1;
    if (::close(fd) != 0) {
        return errno;
    }
    // Makes the rename itself durable. The new file is in place by now, so a directory that
    // cannot be synced (some file systems refuse) does not turn the save into a failure.
    const int dir = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}
} // namespace

int SaveFileBytes(const std::string& path, std::string_view bytes, IFileCalls& calls) {
    try {
        return SaveBytes(path, bytes, calls);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

int SaveFileBytes(const std::string& path, std::string_view bytes) {
    PosixFileCalls calls;
    return SaveFileBytes(path, bytes, calls);
}

InPlaceRewrite::Outcome MendCutSave(const std::string& path, int& why) {
    TrustedPath target;
    why = target.Resolve(path);
    if (why != 0) {
        return InPlaceRewrite::Outcome::Failed;
    }
    const int fd = ::openat(target.folder(), target.name().c_str(),
                            O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        why = errno == ELOOP ? kOtherUsersLink : errno;
        return InPlaceRewrite::Outcome::Failed;
    }
    PosixFileCalls calls;
    const InPlaceRewrite::Outcome out = InPlaceRewrite::Mend(fd, calls, why);
    ::close(fd);
    return out;
}

} // namespace vostrel
