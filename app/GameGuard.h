#pragma once
// One game per settings file and player. The first start over a file holds a lock beside a
// local socket, both in a folder only the player may enter; a later start over the same file
// asks the running game, through the socket, to bring its window forward, and ends. The lock is
// the kernel's (flock), held as long as the game's process lives and given up when it ends,
// however it ends: a killed game's lock is free at once, a running game's never.
//
// Plain POSIX calls: the window only watches ListenFd() and calls Answer() when it is readable.

#include <functional>
#include <string>

namespace vostrel {

class GameGuard {
public:
    enum class Role {
        // This start holds the file: it answers later starts for as long as it lives.
        Sole,
        // Another game holds the file and was asked to come forward (or did not answer).
        Elsewhere,
        // No private folder for the lock, or no file: the game runs as if alone.
        Unguarded,
    };

    // The lock and the socket for settingsPath in `folder`, which must be the player's own (empty:
    // Unguarded). Decides at once; as Elsewhere, after the running game has answered, or after
    // waitMs when it holds the lock but does not answer.
    GameGuard(const std::string& settingsPath, const std::string& folder, int waitMs);
    ~GameGuard();
    GameGuard(const GameGuard&) = delete;
    GameGuard& operator=(const GameGuard&) = delete;

    Role role() const { return role_; }
    // As Sole, the socket that later starts knock at, non-blocking; -1 when there is none.
    int ListenFd() const { return listenFd_; }
    // Answers every later start waiting at the socket, each after comeForward has run; how many.
    int Answer(const std::function<void()>& comeForward);

    // Asks the game listening at socketPath to come forward: true when it answered.
    static bool AskToComeForward(const std::string& socketPath);
    // Where the lock (".lock") and the socket (".sock") for a file are, in `folder`: the same
    // for every path that reaches the same file, through links or bind mounts of its folder.
    static std::string Base(const std::string& settingsPath, const std::string& folder);

private:
    void Decide(const std::string& settingsPath, const std::string& folder, int waitMs);
    void Listen();

    Role role_ = Role::Unguarded;
    int lockFd_ = -1;
    int listenFd_ = -1;
    std::string socketPath_;
};

} // namespace vostrel
