#include "ui/desktop/SingleInstance.h"

#include "app/PosixFileSystemView.h"
#include "app/SettingsLocation.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace vostrel {

namespace {

// How long a later start waits for the running game: it may still be starting, or ending.
constexpr int kWaitMs = 10000;
// How long the running game has to answer one request.
constexpr int kAnswerMs = 3000;
// After this, a window that the window manager did not activate asks for attention instead.
constexpr int kActivationMs = 500;
constexpr char kAnswer = '1';

bool IsPrivateFolder(const QByteArray& path, bool followLink) {
    struct stat st;
    const int r = followLink ? ::stat(path.constData(), &st) : ::lstat(path.constData(), &st);
    return r == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

// $XDG_RUNTIME_DIR when it is the player's own, else vostrel in the player's cache folder
// ($XDG_CACHE_HOME, ~/.cache), which only the player can have made; never a folder in /tmp,
// which another user could make first. Empty when there is none, since anyone who can reach
// the socket could keep the game from starting.
QString PrivateFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/') && IsPrivateFolder(runtime, true)) {
        return QFile::decodeName(runtime);
    }
    QByteArray cache = qgetenv("XDG_CACHE_HOME");
    if (!cache.startsWith('/')) {
        const std::string home = PosixFileSystemView().HomeDirectory();
        if (home.empty() || home.front() != '/') {
            return {};
        }
        cache = QByteArray::fromStdString(home) + "/.cache";
    }
    const QByteArray own = cache + "/vostrel";
    MakeFolderOf(own.toStdString() + "/lock");
    // Made by an earlier version, or by the player, with a wider mode.
    struct stat st;
    if (::lstat(own.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
        (st.st_mode & 077) != 0) {
        ::chmod(own.constData(), 0700);
    }
    return IsPrivateFolder(own, false) ? QFile::decodeName(own) : QString();
}

// False when the path does not fit a socket address.
bool SocketAddress(const QByteArray& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.size() >= static_cast<qsizetype>(sizeof addr.sun_path)) {
        return false;
    }
    std::memcpy(addr.sun_path, path.constData(), static_cast<size_t>(path.size()));
    return true;
}

// Waits up to ms for fd to become ready for `events`.
bool WaitFor(int fd, short events, int ms) {
    const QDeadlineTimer deadline(ms);
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, static_cast<int>(deadline.remainingTime()));
        if (r > 0) {
            return true;
        }
        if (r == 0 || errno != EINTR) {
            return false;
        }
    }
}

// The window the player sees: a message box or dialog over the game, else the game.
QWidget* FrontWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !(w->windowFlags() & Qt::Popup) && !w->parentWidget()) {
            return w;
        }
    }
    return nullptr;
}

void BringForward() {
    QWidget* front = FrontWindow();
    if (front == nullptr) {
        return;
    }
    // A dialog over a minimised game window brings the game back with it.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->isMinimized()) {
            w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        }
    }
    front->raise();
    front->activateWindow();
    QTimer::singleShot(kActivationMs, front, [front] {
        if (!front->isActiveWindow()) {
            QApplication::alert(front);
        }
    });
}

} // namespace

QString SingleInstance::GuardBase(const std::string& settingsPath, const QString& folder) {
    // The player and the file's identity (its folder's device and inode, and its name), hashed
    // to a short name that a socket path has room for.
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(static_cast<qulonglong>(::geteuid())));
    hash.addData(QByteArrayView("\0", 1));
    hash.addData(QByteArray::fromStdString(SettingsIdentity(settingsPath)));
    return folder + QStringLiteral("/vostrel-") +
           QString::fromLatin1(hash.result().toHex().left(24));
}

bool SingleInstance::AskToComeForward(const QString& socketPath) {
    sockaddr_un addr;
    if (!SocketAddress(QFile::encodeName(socketPath), addr)) {
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

SingleInstance::SingleInstance(const std::string& settingsPath) {
    if (settingsPath.empty()) {
        return;
    }
    const QString folder = PrivateFolder();
    if (folder.isEmpty()) {
        std::fprintf(stderr, "vostrel: no private folder for the one-game lock; not guarded\n");
        return;
    }
    Decide(settingsPath, folder, kWaitMs);
}

SingleInstance::SingleInstance(const std::string& settingsPath, const QString& folder, int waitMs) {
    Decide(settingsPath, folder, waitMs);
}

SingleInstance::~SingleInstance() {
    notifier_.reset();
    if (listenFd_ >= 0) {
        // The socket file goes while the lock is still held, so it is never a later game's.
        ::unlink(socketPath_.constData());
        ::close(listenFd_);
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
    }
}

void SingleInstance::Decide(const std::string& settingsPath, const QString& folder, int waitMs) {
    const QString base = GuardBase(settingsPath, folder);
    const QByteArray lockPath = QFile::encodeName(base + QStringLiteral(".lock"));
    socketPath_ = QFile::encodeName(base + QStringLiteral(".sock"));
    lockFd_ = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ < 0) {
        return;
    }
    const QDeadlineTimer deadline(waitMs);
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
        if (AskToComeForward(QFile::decodeName(socketPath_))) {
            role_ = Role::Elsewhere;
            break;
        }
        if (deadline.hasExpired()) {
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

void SingleInstance::Listen() {
    sockaddr_un addr;
    // A killed game's socket file.
    ::unlink(socketPath_.constData());
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
    notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { Answer(); });
}

void SingleInstance::Answer() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            return;
        }
        BringForward();
        // One byte into a fresh socket's empty buffer: never blocks.
        (void)::send(fd, &kAnswer, 1, MSG_NOSIGNAL);
        ::close(fd);
    }
}

} // namespace vostrel
