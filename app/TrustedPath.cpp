#include "app/TrustedPath.h"

#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <new>
#include <unistd.h>
#include <vector>

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

bool OwnedByPlayerOrRoot(const struct stat& st) {
    return st.st_uid == ::geteuid() || st.st_uid == 0;
}

// A folder on the way: one that may hold files, or root's sticky one, where others may add
// entries but not rename or remove the player's.
bool MayPassThrough(const struct stat& st) {
    return TrustedPath::MayHoldFiles(st) ||
           (S_ISDIR(st.st_mode) && st.st_uid == 0 && (st.st_mode & S_ISVTX) != 0);
}

// The folders from the root down to the one reached so far, each held open; ".." steps back
// to the one before, as the kernel would.
class FolderChain {
public:
    FolderChain() = default;
    FolderChain(const FolderChain&) = delete;
    FolderChain& operator=(const FolderChain&) = delete;
    ~FolderChain() { Clear(); }

    int top() const { return fds_.back(); }
    // 0, or why the root cannot be used.
    int StartAtRoot() {
        Clear();
        return Push(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    }
    // fd: just opened (or -1, with errno). 0, or why it is not passed through.
    int Push(int fd) {
        if (fd < 0) {
            return errno == ELOOP ? kOtherUsersLink : errno;
        }
        struct stat st;
        if (::fstat(fd, &st) != 0) {
            const int e = errno;
            ::close(fd);
            return e;
        }
        fds_.push_back(fd);
        return MayPassThrough(st) ? 0 : kSharedFolder;
    }
    void Up() {
        if (fds_.size() > 1) {
            ::close(fds_.back());
            fds_.pop_back();
        }
    }
    // The top folder, when it may hold files; -1 and kSharedFolder in `why` otherwise.
    int ReleaseTop(int& why) {
        struct stat st;
        if (::fstat(top(), &st) != 0 || !TrustedPath::MayHoldFiles(st)) {
            why = kSharedFolder;
            return -1;
        }
        const int out = fds_.back();
        fds_.pop_back();
        return out;
    }

private:
    void Clear() {
        for (const int fd : fds_) {
            ::close(fd);
        }
        fds_.clear();
    }
    std::vector<int> fds_;
};

} // namespace

bool TrustedPath::MayHoldFiles(const struct stat& st) {
    return S_ISDIR(st.st_mode) && OwnedByPlayerOrRoot(st) && (st.st_mode & 022) == 0;
}

TrustedPath::~TrustedPath() {
    if (folder_ >= 0) {
        ::close(folder_);
    }
}

int TrustedPath::Resolve(const std::string& path, bool makeFolders) {
    return Walk(path, true, makeFolders);
}

int TrustedPath::ResolveFolder(const std::string& path, bool makeFolders) {
    return Walk(path, false, makeFolders);
}

int TrustedPath::Walk(const std::string& path, bool toFile, bool makeFolders) {
    if (folder_ >= 0) {
        ::close(folder_);
        folder_ = -1;
    }
    name_.clear();
    try {
        if (path.empty()) {
            return ENOENT;
        }
        // A path of the root alone, or "/" at its end, names no file.
        if (toFile && path.back() == '/') {
            return EISDIR;
        }
        std::deque<std::string> parts;
        // A relative path is checked from the root too, through the working folder.
        if (path.front() != '/') {
            std::string cwd(4096, '\0');
            if (::getcwd(cwd.data(), cwd.size()) == nullptr) {
                return errno;
            }
            Split(cwd.c_str(), parts);
        }
        Split(path, parts);
        FolderChain chain;
        if (const int e = chain.StartAtRoot(); e != 0) {
            return e;
        }
        // The place is reached: its folder is kept when it may hold the player's files.
        const auto settle = [&](const std::string& name) {
            int why = 0;
            folder_ = chain.ReleaseTop(why);
            if (folder_ >= 0) {
                name_ = name;
            }
            return why;
        };
        int links = 0;
        while (!parts.empty()) {
            const std::string part = std::move(parts.front());
            parts.pop_front();
            const bool last = parts.empty();
            if (part == "." || part == "..") {
                if (last && toFile) {
                    return EISDIR;
                }
                if (part == "..") {
                    chain.Up();
                }
                continue;
            }
            const int dir = chain.top();
            struct stat st;
            if (::fstatat(dir, part.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno != ENOENT) {
                    return errno;
                }
                if (last && toFile) {
                    // The file is still to be made.
                    return settle(part);
                }
                if (!makeFolders) {
                    return ENOENT;
                }
                if (::mkdirat(dir, part.c_str(), 0700) != 0 && errno != EEXIST) {
                    return errno;
                }
                if (::fstatat(dir, part.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                    return errno;
                }
            }
            if (S_ISLNK(st.st_mode)) {
                if (!OwnedByPlayerOrRoot(st)) {
                    return kOtherUsersLink;
                }
                if (++links > kMaxLinks) {
                    return ELOOP;
                }
                std::string target(static_cast<size_t>(st.st_size) + 1, '\0');
                const ssize_t n = ::readlinkat(dir, part.c_str(), target.data(), target.size());
                if (n <= 0 || static_cast<size_t>(n) >= target.size()) {
                    // Changed since it was looked at: not followed.
                    return n < 0 ? errno : EAGAIN;
                }
                target.resize(static_cast<size_t>(n));
                if (target.front() == '/') {
                    if (const int e = chain.StartAtRoot(); e != 0) {
                        return e;
                    }
                }
                // A link to a folder, as the last part, names that folder: no file.
                if (last && toFile && target.back() == '/') {
                    return EISDIR;
                }
                std::deque<std::string> more;
                Split(target, more);
                parts.insert(parts.begin(), more.begin(), more.end());
                continue;
            }
            if (last && toFile) {
                return settle(part);
            }
            // O_NOFOLLOW refuses a link put in the part's place since it was looked at.
            if (const int e = chain.Push(
                    ::openat(dir, part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
                e != 0) {
                return e;
            }
        }
        return toFile ? EISDIR : settle({});
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
