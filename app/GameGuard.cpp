#include "app/GameGuard.h"

#include "app/SettingsLocation.h"
#include "app/Sha256.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vostrel {

namespace {

using Clock = std::chrono::steady_clock;

// How long the running game has to answer one request.
constexpr int kAnswerMs = 3000;
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
    // to a short name that a socket path has room for.
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

bool GameGuard::AskToComeForward(const std::string& socketPath) {
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
        WaitFor(fd, POLLIN, kAnswerMs) && ::recv(fd, &answer, 1, 0) == 1) {
        answered = answer == kAnswer;
    }
    ::close(fd);
    return answered;
}

GameGuard::GameGuard(const std::string& settingsPath, const std::string& folder, int waitMs) {
    if (settingsPath.empty() || folder.empty()) {
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
        ::unlink(socketPath_.c_str());
        ::close(listenFd_);
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
    }
}

void GameGuard::Decide(const std::string& settingsPath, const std::string& folder, int waitMs) {
    const std::string base = Base(settingsPath, folder);
    const std::string lockPath = base + ".lock";
    socketPath_ = base + ".sock";
    // Never through a link planted where the lock goes: it would lock, or make, another file.
    lockFd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ < 0) {
        return;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        // A game runs for hours: the lock is held for as long as its process lives, never
        // judged by its age.
        if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
            role_ = Role::Sole;
            Listen();
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(lockFd_);
            lockFd_ = -1;
            return;
        }
        if (AskToComeForward(socketPath_)) {
            role_ = Role::Elsewhere;
            break;
        }
        if (Clock::now() >= deadline) {
            // A game holds the file but does not answer: a second game would still lose its
            // scores.
            std::fprintf(stderr, "vostrel: another game holds this settings file\n");
            role_ = Role::Elsewhere;
            break;
        }
        ::usleep(50000);
    }
    ::close(lockFd_);
    lockFd_ = -1;
}

void GameGuard::Listen() {
    sockaddr_un addr;
    // A killed game's socket file.
    ::unlink(socketPath_.c_str());
    // Without the socket later starts find the lock held and end after their wait: the file
    // still has one game.
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
