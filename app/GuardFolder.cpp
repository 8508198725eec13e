#include "app/GuardFolder.h"

#include "app/SettingsLocation.h"

#include <sys/stat.h>
#include <unistd.h>

namespace vostrel {

namespace {

bool IsPrivateFolder(const std::string& path, bool followLink) {
    struct stat st;
    const int r = followLink ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    return r == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

} // namespace

std::string GuardFolder(const IFileSystemView& fs) {
    try {
        const std::string runtime = fs.Environment("XDG_RUNTIME_DIR");
        if (runtime.starts_with('/') && IsPrivateFolder(runtime, true)) {
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
        MakeFolderOf(own + "/lock");
        // Made by an earlier version, or by the player, with a wider mode.
        struct stat st;
        if (::lstat(own.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
            (st.st_mode & 077) != 0) {
            ::chmod(own.c_str(), 0700);
        }
        return IsPrivateFolder(own, false) ? own : std::string();
    } catch (const std::bad_alloc&) {
        return {};
    }
}

} // namespace vostrel
