#include "ui/platform/SingleInstance.h"

#include "app/SettingsLocation.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <sys/stat.h>
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

// $XDG_RUNTIME_DIR when it is the player's own, else a folder of the player's own in the
// temporary folder; empty when neither is, since anyone who can reach the socket could keep
// the game from starting.
QString PrivateFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/') && IsPrivateFolder(runtime, true)) {
        return QFile::decodeName(runtime);
    }
    const QByteArray own = QFile::encodeName(QDir::tempPath()) + "/vostrel-" +
                           QByteArray::number(static_cast<qulonglong>(::geteuid()));
    ::mkdir(own.constData(), 0700);
    return IsPrivateFolder(own, false) ? QFile::decodeName(own) : QString();
}

// The lock's and the socket's name: the player and the file's real path, hashed to a short
// name that a socket path has room for.
QString GuardName(const std::string& settingsPath) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(static_cast<qulonglong>(::geteuid())));
    hash.addData(QByteArrayView("\0", 1));
    hash.addData(QByteArray::fromStdString(RealSettingsPath(settingsPath)));
    return QStringLiteral("vostrel-") + QString::fromLatin1(hash.result().toHex().left(24));
}

// True when the game listening at socketPath answered. False when nothing listens there, or it
// ended without an answer (it was closing): the lock will soon be free.
bool AskToComeForward(const QString& socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kAnswerMs)) {
        return false;
    }
    char answer = 0;
    return socket.waitForReadyRead(kAnswerMs) && socket.getChar(&answer) && answer == kAnswer;
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

} // namespace

SingleInstance::SingleInstance(const std::string& settingsPath) {
    if (settingsPath.empty()) {
        return;
    }
    const QString folder = PrivateFolder();
    if (folder.isEmpty()) {
        std::fprintf(stderr, "vostrel: no private folder for the one-game lock; not guarded\n");
        return;
    }
    const QString base = folder + QLatin1Char('/') + GuardName(settingsPath);
    lock_ = std::make_unique<QLockFile>(base + QStringLiteral(".lock"));
    // A game runs for hours: only a lock whose process is gone is stale.
    lock_->setStaleLockTime(0);
    const QDeadlineTimer deadline(kWaitMs);
    for (;;) {
        if (lock_->tryLock(0)) {
            role_ = Role::Sole;
            Listen(base + QStringLiteral(".sock"));
            return;
        }
        if (lock_->error() != QLockFile::LockFailedError) {
            lock_.reset();
            return;
        }
        if (AskToComeForward(base + QStringLiteral(".sock"))) {
            role_ = Role::Elsewhere;
            return;
        }
        if (deadline.hasExpired()) {
            // A game holds the file but does not answer: a second game would still lose its
            // scores.
            std::fprintf(stderr, "vostrel: another game holds this settings file\n");
            role_ = Role::Elsewhere;
            return;
        }
        QThread::msleep(50);
    }
}

void SingleInstance::Listen(const QString& socketPath) {
    // A killed game's socket file.
    QLocalServer::removeServer(socketPath);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] { Answer(); });
    // Without the socket later starts find the lock held and end after their wait: the file
    // still has one game.
    if (!server_.listen(socketPath)) {
        std::fprintf(stderr, "vostrel: cannot listen for later starts: %s\n",
                     qPrintable(server_.errorString()));
    }
}

void SingleInstance::Answer() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (QWidget* front = FrontWindow()) {
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
        socket->putChar(kAnswer);
        socket->disconnectFromServer();
    }
}

} // namespace vostrel
