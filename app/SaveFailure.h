#pragma once
// What the player is told when the settings file cannot be saved: the message box's text, and
// the line on standard error for the end of a session, when no box can be shown.

#include <string>

namespace vostrel {

// reason is the errno value of the failure.
std::string SaveFailureText(const std::string& path, int reason);
std::string SaveFailureLine(const std::string& path, int reason);

} // namespace vostrel
