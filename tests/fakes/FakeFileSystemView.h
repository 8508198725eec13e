#pragma once
// A machine described by a test: the places the player may write, those that others may
// change, the environment and the home directory.

#include "app/IFileSystemView.h"

#include <map>
#include <set>
#include <string>

namespace vostrel::fakes {

class FakeFileSystemView : public IFileSystemView {
public:
    std::set<std::string> writableDirectories; // each with its trailing '/'
    std::set<std::string> writableFiles;
    // Directories that other users can change (each with its trailing '/'); all others are
    // trusted.
    std::set<std::string> sharedDirectories;
    std::map<std::string, std::string> environment;
    std::string home;

    bool IsWritableDirectory(const std::string& path) const override {
        return writableDirectories.count(path) > 0;
    }
    bool IsTrustedDirectory(const std::string& path) const override {
        return sharedDirectories.count(path) == 0;
    }
    bool IsWritableFile(const std::string& path) const override {
        return writableFiles.count(path) > 0;
    }
    std::string Environment(const std::string& name) const override {
        const auto it = environment.find(name);
        return it == environment.end() ? std::string() : it->second;
    }
    std::string HomeDirectory() const override { return home; }
};

} // namespace vostrel::fakes
