#pragma once
// One game per settings file and player. The first start over a file holds a lock beside a
// local socket, both in a folder only the player may enter; a later start over the same file
// asks the running game, through the socket, to bring its window forward, and ends. The lock is
// the kernel's (flock), held as long as the game's process lives and given up when it ends,
// however it ends: a killed game's lock is free at once, a running game's never.
//
// Plain POSIX calls and a QSocketNotifier rather than QLocalServer: QtNetwork would bring a
// dozen libraries (Kerberos, GSSAPI, proxies) into every start for one byte on a local socket.

#include <QString>

#include <memory>
#include <string>

class QSocketNotifier;

namespace vostrel {

class SingleInstance {
public:
    enum class Role {
        // This start holds the file: it answers later starts for as long as it lives.
        Sole,
        // Another game holds the file and was asked to come forward (or did not answer).
        Elsewhere,
        // No private folder for the lock, or no file: the game runs as if alone.
        Unguarded,
    };

    // Decides at once; as Elsewhere, after the running game has answered. Needs the
    // QApplication.
    explicit SingleInstance(const std::string& settingsPath);
    // The same with the lock and the socket in `folder`, which must be the player's own, and
    // waiting at most waitMs for a game that holds the lock but does not answer.
    SingleInstance(const std::string& settingsPath, const QString& folder, int waitMs);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Role role() const { return role_; }

    // Asks the game listening at socketPath to come forward: true when it answered. Needs no
    // QApplication.
    static bool AskToComeForward(const QString& socketPath);
    // Where the lock and the socket for a file are, in `folder`: the same for every path that
    // reaches the same file, through links or bind mounts of its folder.
    static QString GuardBase(const std::string& settingsPath, const QString& folder);

private:
    void Decide(const std::string& settingsPath, const QString& folder, int waitMs);
    void Listen();
    void Answer();

    Role role_ = Role::Unguarded;
    int lockFd_ = -1;
    int listenFd_ = -1;
    QByteArray socketPath_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace vostrel
