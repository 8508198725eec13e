#include "app/SaveTemporaries.h"

#include "app/TrustedPath.h"

#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace vostrel {

namespace {

constexpr std::string_view kTempMark = ".tmp-";

// Skips one or more decimal digits; false when there is none.
bool SkipDigits(std::string_view& s) {
    size_t n = 0;
    while (n < s.size() && s[n] >= '0' && s[n] <= '9') {
        ++n;
    }
    s.remove_prefix(n);
    return n > 0;
}

} // namespace

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string SaveTempStem(const std::string& target, pid_t pid) {
    return target + std::string(kTempMark) + std::to_string(pid) + "-";
}

bool IsSaveTempName(std::string_view name, std::string_view targetName) {
    if (name.substr(0, targetName.size()) != targetName) {
        return false;
    }
    name.remove_prefix(targetName.size());
    if (name.substr(0, kTempMark.size()) != kTempMark) {
        return false;
    }
    name.remove_prefix(kTempMark.size());
    if (!SkipDigits(name) || name.empty() || name.front() != '-') {
        return false;
    }
    name.remove_prefix(1);
    return SkipDigits(name) && name.empty();
}

int RemoveSaveLeftovers(const std::string& path) {
    try {
        TrustedPath target;
        if (target.Resolve(path) != 0) {
            return 0;
        }
        const int fd = ::openat(target.folder(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
        if (dir == nullptr) {
            if (fd >= 0) {
                ::close(fd);
            }
            return 0;
        }
        int removed = 0;
        while (const dirent* e = ::readdir(dir)) {
            struct stat st;
            if (IsSaveTempName(e->d_name, target.name()) &&
                ::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
                st.st_uid == ::geteuid() && ::unlinkat(fd, e->d_name, 0) == 0) {
                ++removed;
            }
        }
        ::closedir(dir);
        return removed;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

} // namespace vostrel
