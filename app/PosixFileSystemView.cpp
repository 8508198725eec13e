#include "app/PosixFileSystemView.h"

#include "app/TrustedPath.h"

#include <cstdlib>
#include <fcntl.h>
#include <new>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vostrel {

bool PosixFileSystemView::IsWritableDirectory(const std::string& path) const {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool PosixFileSystemView::IsTrustedDirectory(const std::string& path) const {
    TrustedPath folder;
    return folder.ResolveFolder(path) == 0;
}

bool PosixFileSystemView::IsWritableFile(const std::string& path) const {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

std::string PosixFileSystemView::Environment(const std::string& name) const {
    const char* value = std::getenv(name.c_str());
    return value != nullptr ? value : "";
}

std::string PosixFileSystemView::HomeDirectory() const {
    std::string home = Environment("HOME");
    if (!home.empty()) {
        return home;
    }
    try {
        const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
        std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
        struct passwd pw;
        struct passwd* found = nullptr;
        if (::getpwuid_r(::geteuid(), &pw, buffer.data(), buffer.size(), &found) == 0 &&
            found != nullptr && found->pw_dir != nullptr) {
            home = found->pw_dir;
        }
    } catch (const std::bad_alloc&) {
        home.clear();
    }
    return home;
}

} // namespace vostrel
