#pragma once
// What choosing the settings file's place needs to know about the machine and the player, so
// that the choice can be tried against any file system in tests.

#include <string>

namespace vostrel {

class IFileSystemView {
public:
    virtual ~IFileSystemView() = default;
    // A directory in which the player may create files.
    virtual bool IsWritableDirectory(const std::string& path) const = 0;
    // A directory whose entries no one but the player, or root, can change: it and every
    // folder above it the player's or root's and writable by neither group nor others, save
    // a sticky one of root's above it (TrustedPath).
    virtual bool IsTrustedDirectory(const std::string& path) const = 0;
    // A regular file that the player may write.
    virtual bool IsWritableFile(const std::string& path) const = 0;
    // An environment variable; empty when unset.
    virtual std::string Environment(const std::string& name) const = 0;
    // The player's home directory: $HOME, or the account's when that is unset.
    virtual std::string HomeDirectory() const = 0;
};

} // namespace vostrel
