#pragma once
// A place reached without trusting anyone else on the machine. Every folder on the way, from the
// root down, is opened one by one without following links, and each must be the player's or
// root's and writable by no one else; a folder that others may write is passed through only
// when it is root's and sticky (as /tmp is), and is never the place itself. A symbolic link is
// followed only when the player or root owns it. The place's folder is held open, and every
// later step works from it, so a folder swapped for another afterwards is not followed.

#include "app/FileReasons.h"

#include <string>
#include <sys/stat.h>

namespace vostrel {

class TrustedPath {
public:
    TrustedPath() = default;
    ~TrustedPath();
    TrustedPath(const TrustedPath&) = delete;
    TrustedPath& operator=(const TrustedPath&) = delete;

    // 0, or why the file's folder cannot be reached: an errno value (ENOENT: a folder on the
    // way is missing), kOtherUsersLink or kSharedFolder. A missing file is no failure: its
    // folder and name are where it would be made; a link of the player's at the file itself is
    // followed to the file it names, which may also be missing. makeFolders: missing folders
    // on the way are made (mode 0700) as they are reached.
    int Resolve(const std::string& path, bool makeFolders = false);
    // The same for a folder: afterwards folder() is that folder and name() is empty.
    int ResolveFolder(const std::string& path, bool makeFolders = false);
    // The open folder (O_PATH, for the *at calls) and the file's name in it.
    int folder() const { return folder_; }
    const std::string& name() const { return name_; }
    // The folder's device and inode with the name: one text for every path that reaches the
    // same place, bind mounts and links included.
    std::string Identity() const;

    // A folder that may hold the player's files: the player's or root's, writable by neither
    // its group nor others.
    static bool MayHoldFiles(const struct stat& st);

private:
    int Walk(const std::string& path, bool toFile, bool makeFolders);

    int folder_ = -1;
    std::string name_;
};

} // namespace vostrel
