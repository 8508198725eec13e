#pragma once
// The temporary files a save writes beside the settings file before renaming one into place,
// and the clean-up of those that a killed save left behind.

#include <string>
#include <string_view>
#include <sys/types.h>

namespace vostrel {

// The folder of a path; "." without a slash.
std::string FolderOf(const std::string& path);
// The names of the temporaries that process pid writes while saving target: this, then a count.
std::string SaveTempStem(const std::string& target, pid_t pid);
// Whether a folder entry's name is one of those temporaries for a file named targetName, of
// any process and count.
bool IsSaveTempName(std::string_view name, std::string_view targetName);
// Removes the temporaries beside the file at path that saves killed midway left: regular files
// of this user with exactly such a name; links and everything else stay. The file's place is
// found as a save finds it (TrustedPath): through the player's links, never another user's. Only
// the one game that holds the file may call it, since a running save's temporary looks the same.
// Returns how many were removed.
int RemoveSaveLeftovers(const std::string& path);

} // namespace vostrel
