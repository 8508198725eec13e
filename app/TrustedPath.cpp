#include "app/TrustedPath.h"

#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace vostrel {

namespace {

// As many as the kernel follows in one path.
constexpr int kMaxLinks = 40;

void Split(const std::string& path, std::deque<std::string>& parts) {
    size_t start = 0;
    while (start <= path.size()) {
        const size_t slash = path.find('/', start);
        const size_t end = slash == std::string::npos ? path.size() : slash;
        if (end > start) {
            parts.emplace_back(path, start, end - start);
        }
        start = end + 1;
    }
}

int OpenStart(bool absolute) {
    return ::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// The folder reached so far, closed unless handed on.
struct OpenFolder {
    int fd = -1;
    ~OpenFolder() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    // False, keeping errno, when next failed to open.
    bool Reset(int next) {
        if (next < 0) {
            return false;
        }
        if (fd >= 0) {
            ::close(fd);
        }
        fd = next;
        return true;
    }
    int Release() {
        const int out = fd;
        fd = -1;
        return out;
    }
};

} // namespace

TrustedPath::~TrustedPath() {
    if (folder_ >= 0) {
        ::close(folder_);
    }
}

int TrustedPath::Resolve(const std::string& path) {
    if (folder_ >= 0) {
        ::close(folder_);
        folder_ = -1;
    }
    name_.clear();
    try {
        // A path of the root alone, or "/" at its end, names no file.
        if (path.empty() || path.back() == '/') {
            return path.empty() ? ENOENT : EISDIR;
        }
        OpenFolder dir;
        if (!dir.Reset(OpenStart(path.front() == '/'))) {
            return errno;
        }
        std::deque<std::string> parts;
        Split(path, parts);
        int links = 0;
        while (!parts.empty()) {
            const std::string part = std::move(parts.front());
            parts.pop_front();
            const bool last = parts.empty();
            if (part == "." || part == "..") {
                if (last) {
                    return EISDIR;
                }
                if (part == ".." &&
                    !dir.Reset(::openat(dir.fd, "..", O_PATH | O_DIRECTORY | O_CLOEXEC))) {
                    return errno;
                }
                continue;
            }
            struct stat st;
            if (::fstatat(dir.fd, part.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno != ENOENT || !last) {
                    return errno;
                }
                // The file is still to be made.
                folder_ = dir.Release();
                name_ = part;
                return 0;
            }
            if (S_ISLNK(st.st_mode)) {
                if (st.st_uid != ::geteuid() && st.st_uid != 0) {
                    return kOtherUsersLink;
                }
                if (++links > kMaxLinks) {
                    return ELOOP;
                }
                std::string target(static_cast<size_t>(st.st_size) + 1, '\0');
                const ssize_t n = ::readlinkat(dir.fd, part.c_str(), target.data(), target.size());
                if (n <= 0 || static_cast<size_t>(n) >= target.size()) {
                    // Changed since it was looked at: not followed.
                    return n < 0 ? errno : EAGAIN;
                }
                target.resize(static_cast<size_t>(n));
                if (target.front() == '/' && !dir.Reset(OpenStart(true))) {
                    return errno;
                }
                // A link to a folder, as the last part, names that folder: no file.
                if (last && target.back() == '/') {
                    return EISDIR;
                }
                std::deque<std::string> more;
                Split(target, more);
                parts.insert(parts.begin(), more.begin(), more.end());
                continue;
            }
            if (last) {
                folder_ = dir.Release();
                name_ = part;
                return 0;
            }
            // O_NOFOLLOW refuses a link put in the part's place since it was looked at.
            if (!dir.Reset(::openat(dir.fd, part.c_str(),
                                    O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC))) {
                return errno == ELOOP ? kOtherUsersLink : errno;
            }
        }
        return EISDIR;
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

std::string TrustedPath::Identity() const {
    struct stat st;
    if (folder_ < 0 || ::fstat(folder_, &st) != 0) {
        return {};
    }
    return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + "/" + name_;
}

} // namespace vostrel
