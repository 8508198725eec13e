#pragma once
// What the player is told when the settings file cannot be read or saved: the message box's
// text, and the line on standard error for the end of a session, when no box can be shown.

#include <string>

namespace vostrel {

// reason is an errno value or a reason of FileReasons.h.
std::string SaveFailureText(const std::string& path, int reason);
std::string SaveFailureLine(const std::string& path, int reason);
// playing: the game goes on with the defaults and leaves the file as it is.
// The player's record: reading, it could not be read and is left as it is; else not saved.
std::string HistoryFailureText(const std::string& path, int reason, bool reading);
std::string ReadFailureText(const std::string& path, int reason, bool playing);

} // namespace vostrel
