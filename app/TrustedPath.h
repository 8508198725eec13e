#pragma once
// A path to the settings file reached without trusting anyone else on the machine: a symbolic
// link is followed only when the player or root owns it, so that another user's link cannot
// turn a save into a write over some other file of the player's. The file's folder is held
// open, and every later step works from it, so a folder swapped for a link afterwards is not
// followed either.

#include "app/FileReasons.h"

#include <string>

namespace vostrel {

class TrustedPath {
public:
    TrustedPath() = default;
    ~TrustedPath();
    TrustedPath(const TrustedPath&) = delete;
    TrustedPath& operator=(const TrustedPath&) = delete;

    // 0, or why the file's folder cannot be reached: an errno value (ENOENT: a folder on the
    // way is missing) or kOtherUsersLink. A missing file is no failure: its folder and name
    // are where it would be made; a link of the player's at the file itself is followed to the
    // file it names, which may also be missing.
    int Resolve(const std::string& path);
    // The open folder (for the *at calls) and the file's name in it, after Resolve gave 0.
    int folder() const { return folder_; }
    const std::string& name() const { return name_; }
    // The folder's device and inode with the name: one text for every path that reaches the
    // same place, bind mounts and links included.
    std::string Identity() const;

private:
    int folder_ = -1;
    std::string name_;
};

} // namespace vostrel
