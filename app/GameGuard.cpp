#include "app/GameGuard.h"

#include "app/SettingsLocation.h"
#include "app/Sha256.h"
#include "app/TrustedPath.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace vostrel {

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kAnswer = '1';

// False when the path does not fit a socket address.
bool SocketAddress(const std::string& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) {
        return false;
    }
    std::memcpy(addr.sun_path, path.data(), path.size());
    return true;
}

int MsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits up to ms for fd to become ready for `events`.
bool WaitFor(int fd, short events, int ms) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, MsLeft(deadline));
        if (r > 0) {
            return true;
        }
        if (r == 0 || errno != EINTR) {
            return false;
        }
    }
}

} // namespace

std::string GameGuard::Base(const std::string& settingsPath, const std::string& folder) {
    // The player and the file's identity (its folder's device and inode, and its name), hashed
    // to a short name that a socket path has room for, as earlier versions named it.
    std::string key = std::to_string(::geteuid());
    key += '\0';
    key += SettingsIdentity(settingsPath);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string name;
    for (const uint8_t b : Sha256(key)) {
        if (name.size() == 24) {
            break;
        }
        name += kHex[b >> 4];
        name += kHex[b & 15];
    }
    return folder + "/vostrel-" + name;
}

bool GameGuard::AskToComeForward(const std::string& socketPath, int waitMs) {
    sockaddr_un addr;
    if (!SocketAddress(socketPath, addr)) {
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return false;
    }
    // Nothing listening, or the game ended without an answer (it was closing): the lock will
    // soon be free. A full backlog fails the connect at once (a local socket does not wait in
    // the background); the later start asks again until its wait is over.
    bool answered = false;
    char answer = 0;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0 &&
        WaitFor(fd, POLLIN, waitMs) && ::recv(fd, &answer, 1, 0) == 1) {
        answered = answer == kAnswer;
    }
    ::close(fd);
    return answered;
}

GameGuard::GameGuard(const std::string& settingsPath, const std::string& folder, int waitMs) {
    if (settingsPath.empty()) {
        return;
    }
    try {
        Decide(settingsPath, folder, waitMs);
    } catch (const std::bad_alloc&) {
        role_ = Role::Unguarded;
    }
}

GameGuard::~GameGuard() {
    if (listenFd_ >= 0) {
        // The socket file goes while the lock is still held, so it is never a later game's.
        ::unlinkat(folderFd_, socketName_.c_str(), 0);
        ::close(listenFd_);
    }
    if (folderFd_ >= 0) {
        ::close(folderFd_);
    }
}

bool GameGuard::OpenFolder(const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    TrustedPath place;
    struct stat st;
    if (place.ResolveFolder(folder) != 0 || ::fstat(place.folder(), &st) != 0 ||
        st.st_uid != ::geteuid() || (st.st_mode & 077) != 0) {
        return false;
    }
    folderFd_ = ::fcntl(place.folder(), F_DUPFD_CLOEXEC, 0);
    return folderFd_ >= 0;
}

void GameGuard::Decide(const std::string& settingsPath, const std::string& folder, int waitMs) {
    TrustedPath file;
    if (file.Resolve(settingsPath) != 0) {
        return;
    }
    FileLock::Result held = lock_.Take(file.folder(), file.name().c_str());
    if (held == FileLock::Result::None) {
        return;
    }
    if (OpenFolder(folder)) {
        const std::string base = Base(settingsPath, folder);
        socketName_ = base.substr(base.rfind('/') + 1) + ".sock";
        // Through the folder held open, never its path again: a folder swapped in since it was
        // checked is not used, and a long path still fits a socket address.
        socketPath_ = "/proc/self/fd/" + std::to_string(folderFd_) + "/" + socketName_;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        // A game runs for hours: the lock is held for as long as its process lives, never
        // judged by its age.
        if (held == FileLock::Result::Held) {
            role_ = Role::Sole;
            Listen();
            return;
        }
        if (folderFd_ >= 0 && AskToComeForward(socketPath_, std::max(MsLeft(deadline), 100))) {
            role_ = Role::Elsewhere;
            return;
        }
        if (Clock::now() >= deadline) {
            // A game holds the file but does not answer: a second game would still lose its
            // scores.
            role_ = Role::Unreachable;
            return;
        }
        ::usleep(50000);
        held = lock_.Take(file.folder(), file.name().c_str());
        if (held == FileLock::Result::None) {
            return;
        }
    }
}

void GameGuard::Listen() {
    if (folderFd_ < 0) {
        return;
    }
    sockaddr_un addr;
    // A killed game's socket file.
    ::unlinkat(folderFd_, socketName_.c_str(), 0);
    // Without the socket later starts find the file held and tell the player they cannot
    // reach this game: the file still has one game.
    const int fd = SocketAddress(socketPath_, addr)
                       ? ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)
                       : -1;
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(fd, 8) != 0) {
        std::fprintf(stderr, "vostrel: cannot listen for later starts: %s\n",
                     fd < 0 ? "no socket" : std::strerror(errno));
        if (fd >= 0) {
            ::close(fd);
        }
        return;
    }
    listenFd_ = fd;
}

int GameGuard::Answer(const std::function<void()>& comeForward) {
    int answered = 0;
    while (listenFd_ >= 0) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            break;
        }
        comeForward();
        // One byte into a fresh socket's empty buffer: never blocks.
        (void)::send(fd, &kAnswer, 1, MSG_NOSIGNAL);
        ::close(fd);
        ++answered;
    }
    return answered;
}

} // namespace vostrel
