#pragma once
// The window's side of the one-game guard (GameGuard): the lock in the player's own folder,
// and, as the first game, the socket watched from the event loop, each later start bringing
// the window the player sees forward.

#include "app/GameGuard.h"

#include <memory>
#include <string>

class QSocketNotifier;

namespace vostrel {

class SingleInstance {
public:
    using Role = GameGuard::Role;

    // Decides at once; as Elsewhere, after the running game has answered; as Unreachable after
    // a short wait. Needs the QApplication.
    explicit SingleInstance(const std::string& settingsPath);
    // The same with the lock and the socket in `folder`, which must be the player's own, and
    // waiting at most waitMs for a game that holds the lock but does not answer.
    SingleInstance(const std::string& settingsPath, const std::string& folder, int waitMs);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Role role() const { return guard_.role(); }
    // Whether there is a private folder for the socket (GameGuard::hasFolder).
    bool hasFolder() const { return guard_.hasFolder(); }

private:
    void Watch();

    GameGuard guard_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace vostrel
