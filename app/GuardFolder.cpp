#include "app/GuardFolder.h"

#include "app/TrustedPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vostrel {

namespace {

// Reached from the root through folders no one else may change, and the player's alone.
bool IsPrivateFolder(const std::string& path, bool make) {
    TrustedPath place;
    struct stat st;
    if (place.ResolveFolder(path, make) != 0 || ::fstat(place.folder(), &st) != 0 ||
        st.st_uid != ::geteuid()) {
        return false;
    }
    if ((st.st_mode & 077) != 0 && make) {
        // Made by an earlier version, or by the player, with a wider mode.
        const int fd = ::openat(place.folder(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fchmod(fd, 0700);
            ::close(fd);
        }
        if (::fstat(place.folder(), &st) != 0) {
            return false;
        }
    }
    return (st.st_mode & 077) == 0;
}

} // namespace

std::string GuardFolder(const IFileSystemView& fs) {
    try {
        const std::string runtime = fs.Environment("XDG_RUNTIME_DIR");
        if (runtime.starts_with('/') && IsPrivateFolder(runtime, false)) {
            return runtime;
        }
        std::string cache = fs.Environment("XDG_CACHE_HOME");
        if (!cache.starts_with('/')) {
            const std::string home = fs.HomeDirectory();
            if (!home.starts_with('/')) {
                return {};
            }
            cache = home + "/.cache";
        }
        const std::string own = cache + "/vostrel";
        return IsPrivateFolder(own, true) ? own : std::string();
    } catch (const std::bad_alloc&) {
        return {};
    }
}

} // namespace vostrel
