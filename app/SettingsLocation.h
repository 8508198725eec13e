#pragma once
// Where vostrel.dat lives. Beside the executable when the player may write there (a portable
// copy, or a file already placed there) and no other user may change that folder; otherwise
// in the player's data folder, $XDG_DATA_HOME/vostrel (~/.local/share/vostrel by default), as
// for any installed game.

#include "app/IFileSystemView.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vostrel {

struct SettingsLocation {
    std::string path;
    // The file's folder is the player's data folder, made (with its parents) when first saved.
    bool makeFolder = false;

    bool operator==(const SettingsLocation&) const = default;
};

// Chosen once at start-up. besideExecutable is GetSettingsPath(fileName): empty when the
// executable's folder is unknown.
SettingsLocation ChooseSettingsLocation(const IFileSystemView& fs,
                                        const std::string& besideExecutable,
                                        std::string_view fileName);
// Makes the folder of the file at path and every missing parent (mode 0700), each reached as
// TrustedPath reaches it: 0 when the folder is there afterwards and trusted, -1 otherwise.
int32_t MakeFolderOf(const std::string& path);
// What the one-game guard is keyed on: the device and inode of the file's folder with the
// file's name, so that links and bind mounts of one folder meet; the real path when the folder
// cannot be reached.
std::string SettingsIdentity(const std::string& path);
// The file's one name: every symbolic link resolved, in the file and in its folders as far as
// they exist, so that every path to the same file (and to the file still to be made) gives the
// same text. A relative path is taken from the working folder.
std::string RealSettingsPath(const std::string& path);

} // namespace vostrel
