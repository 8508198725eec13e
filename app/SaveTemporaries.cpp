#include "app/SaveTemporaries.h"

#include <cstdlib>
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

std::string SaveTarget(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string target(real);
            std::free(real);
            return target;
        }
    }
    return path;
}

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
    if (path.empty()) {
        return 0;
    }
    try {
        const std::string target = SaveTarget(path);
        const std::string name = target.substr(target.rfind('/') + 1);
        DIR* dir = ::opendir(FolderOf(target).c_str());
        if (dir == nullptr) {
            return 0;
        }
        const int fd = ::dirfd(dir);
        int removed = 0;
        while (const dirent* e = ::readdir(dir)) {
            struct stat st;
            if (IsSaveTempName(e->d_name, name) &&
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
