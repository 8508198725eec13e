#include "app/GameFile.h"

#include "app/FileReasons.h"
#include "app/FileSave.h"
#include "app/SaveTemporaries.h"
#include "app/SettingsFile.h"
#include "app/TrustedPath.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace vostrel {

std::string GameFilePath(const std::string& settingsPath) {
    return FolderOf(settingsPath) + "/" + kGameFileName;
}

int ReadGameFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    TrustedPath file;
    if (const int e = file.Resolve(path); e != 0) {
        return e;
    }
    // Without O_NONBLOCK a FIFO would hold the start until a writer came.
    const int fd = ::openat(file.folder(), file.name().c_str(),
                            O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return errno == ELOOP ? kOtherUsersLink : errno;
    }
    struct stat st;
    int e = 0;
    if (::fstat(fd, &st) != 0) {
        e = errno;
    } else if (!S_ISREG(st.st_mode)) {
        e = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    } else {
        try {
            // One byte past the limit tells a file that grew after fstat.
            bytes.resize(kMaxGameFileBytes + 1);
            size_t got = 0;
            while (got < bytes.size()) {
                const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
                if (n < 0 && errno == EINTR) {
                    continue;
                }
                if (n <= 0) {
                    e = n < 0 ? errno : 0;
                    break;
                }
                got += static_cast<size_t>(n);
            }
            bytes.resize(got);
            if (e == 0 && got > kMaxGameFileBytes) {
                e = kFileTooLarge;
            }
        } catch (const std::bad_alloc&) {
            e = ENOMEM;
        }
    }
    ::close(fd);
    if (e != 0) {
        bytes.clear();
    }
    return e;
}

int WriteGameFile(const std::string& path, const std::string& bytes) {
    return SaveFileBytes(path, bytes);
}

} // namespace vostrel
