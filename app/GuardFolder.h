#pragma once
// Where the one-game guard keeps its lock and socket: a folder only the player may enter, since
// anyone who can reach the socket could keep the game from starting.

#include "app/IFileSystemView.h"

#include <string>

namespace vostrel {

// $XDG_RUNTIME_DIR when it is the player's own, else vostrel in the player's cache folder
// ($XDG_CACHE_HOME, ~/.cache), made if need be; never a folder in /tmp, which another user
// could make first. Empty when there is none.
std::string GuardFolder(const IFileSystemView& fs);

} // namespace vostrel
