#pragma once
// Where the one-game guard keeps its socket: a folder only the player may enter, reached from the
// root through folders no one else may change (TrustedPath), since anyone who can reach the
// socket could answer for the game.

#include "app/IFileSystemView.h"

#include <string>

namespace vostrel {

// $XDG_RUNTIME_DIR when it is the player's own, else vostrel in the player's cache folder
// ($XDG_CACHE_HOME, ~/.cache), made (mode 0700) if need be; never a folder in /tmp, which
// another user could make first, nor one under a folder another user may change. Empty when
// there is none.
std::string GuardFolder(const IFileSystemView& fs);

} // namespace vostrel
