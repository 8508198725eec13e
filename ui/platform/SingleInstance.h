#pragma once
// One game per settings file and player. The first start over a file holds a lock beside a
// local socket, both in a folder only the player may enter; a later start over the same file
// asks the running game, through the socket, to bring its window forward, and ends. A lock
// left by a killed game is stale (its process is gone) and is taken over, its socket replaced.

#include <QLocalServer>
#include <QLockFile>

#include <memory>
#include <string>

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
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Role role() const { return role_; }

private:
    void Listen(const QString& socketPath);
    void Answer();

    Role role_ = Role::Unguarded;
    // Declared first, so the socket goes before the lock is given up.
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

} // namespace vostrel
