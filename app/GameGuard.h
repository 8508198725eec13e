#pragma once
// One game per settings file. The first start over a file holds the file's lock (FileLock): a
// lock on the file itself, which every game over the file meets, whatever its environment and
// whoever plays. It also listens on a local socket in a folder only the player may enter, so
// that a later start over the same file asks the running game, through the socket, to bring
// its window forward, and ends. A later start that finds the file held but cannot reach the
// game that holds it (another player's, a stopped one, or one started with another runtime
// folder) does not run either: it tells the player why.
//
// Plain POSIX calls: the window only watches ListenFd() and calls Answer() when it is readable.

#include "app/FileLock.h"

#include <functional>
#include <string>

namespace vostrel {

class GameGuard {
public:
    enum class Role {
        // This start holds the file: it answers later starts for as long as it lives.
        Sole,
        // Another game holds the file and was brought forward.
        Elsewhere,
        // Another game holds the file but gave no answer in time, or could not be asked.
        Unreachable,
        // No lock can be had: the file cannot be written (its save fails and is told), or
        // its place is refused (its load tells why). The game runs as if alone.
        Unguarded,
    };

    // The lock on the file at settingsPath and the socket in `folder`, which must be the
    // player's own, reached as TrustedPath reaches it (empty or not so: no socket). Decides at
    // once; when another game holds the file, after it answered, or after waitMs.
    GameGuard(const std::string& settingsPath, const std::string& folder, int waitMs);
    ~GameGuard();
    GameGuard(const GameGuard&) = delete;
    GameGuard& operator=(const GameGuard&) = delete;

    Role role() const { return role_; }
    // Whether the socket's folder was there and the player's alone.
    bool hasFolder() const { return folderFd_ >= 0; }
    // As Sole, the socket that later starts knock at, non-blocking; -1 when there is none.
    int ListenFd() const { return listenFd_; }
    // Answers every later start waiting at the socket, each after comeForward has run; how many.
    int Answer(const std::function<void()>& comeForward);

    // Asks the game listening at socketPath to come forward: true when it answered within
    // waitMs.
    static bool AskToComeForward(const std::string& socketPath, int waitMs = 3000);
    // Where the socket (".sock") for a file is, in `folder`: the same for every path that
    // reaches the same file, through links or bind mounts of its folder.
    static std::string Base(const std::string& settingsPath, const std::string& folder);

private:
    void Decide(const std::string& settingsPath, const std::string& folder, int waitMs);
    bool OpenFolder(const std::string& folder);
    void Listen();

    Role role_ = Role::Unguarded;
    FileLock lock_;
    int folderFd_ = -1;
    int listenFd_ = -1;
    std::string socketName_;
    std::string socketPath_;
};

} // namespace vostrel
