#pragma once
// What the player is told when the settings file cannot be read or saved: the message box's
// text, and the line on standard error for the end of a session, when no box can be shown.

#include <string>

namespace vostrel {

// reason is an errno value or a reason of FileReasons.h.
std::string SaveFailureText(const std::string& path, int reason);
// reading: the file could not be read rather than saved.
std::string SaveFailureLine(const std::string& path, int reason, bool reading = false);
// Why a file could not be read (reading) or saved, in the player's language.
std::string FileReasonText(int reason, bool reading);
// playing: the game goes on with the defaults and leaves the file as it is.
// The player's record: reading, it could not be read and is left as it is; else not saved.
std::string HistoryFailureText(const std::string& path, int reason, bool reading);
std::string ReadFailureText(const std::string& path, int reason, bool playing);
// A rewrite in place that was cut off has been finished (the bytes it was saving are in) or
// undone (the bytes before it are back).
std::string MendedText(const std::string& path, bool finished);
// A later start finds its file held by a game it cannot bring forward: noFolder, it has no
// private folder for the socket; otherwise the game did not answer.
std::string UnreachableText(const std::string& path, bool noFolder);
// The first game has no private folder for its socket: later starts cannot bring it forward.
std::string NoGuardFolderText();

} // namespace vostrel
