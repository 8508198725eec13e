#include "app/SettingsLocation.h"

#include "app/TrustedPath.h"

#include <cerrno>
#include <cstdlib>
#include <new>
#include <sys/stat.h>

namespace vostrel {

namespace {

bool IsAbsolute(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

// Only an absolute XDG_DATA_HOME counts; an empty or relative one is ignored.
std::string DataFolder(const IFileSystemView& fs) {
    std::string base = fs.Environment("XDG_DATA_HOME");
    if (!IsAbsolute(base)) {
        const std::string home = fs.HomeDirectory();
        if (!IsAbsolute(home)) {
            return {};
        }
        base = home + (home.back() == '/' ? "" : "/") + ".local/share";
    }
    while (base.size() > 1 && base.back() == '/') {
        base.pop_back();
    }
    return base + (base == "/" ? "" : "/") + "vostrel";
}

} // namespace

SettingsLocation ChooseSettingsLocation(const IFileSystemView& fs,
                                        const std::string& besideExecutable,
                                        std::string_view fileName) {
    try {
        const std::string& beside = besideExecutable;
        const size_t slash = beside.rfind('/');
        // In a folder that others may change (a copy in /tmp, a shared folder), another user
        // could put anything in the file's place.
        if (slash != std::string::npos && fs.IsTrustedDirectory(beside.substr(0, slash + 1)) &&
            (fs.IsWritableDirectory(beside.substr(0, slash + 1)) || fs.IsWritableFile(beside))) {
            return {beside, false};
        }
        const std::string data = DataFolder(fs);
        if (data.empty()) {
            return {beside, false};
        }
        return {data + "/" + std::string(fileName), true};
    } catch (const std::bad_alloc&) {
        return {};
    }
}

int32_t MakeFolderOf(const std::string& path) {
    TrustedPath file;
    return file.Resolve(path, true) == 0 ? 0 : -1;
}

std::string SettingsIdentity(const std::string& path) {
    TrustedPath file;
    if (file.Resolve(path) == 0) {
        if (std::string id = file.Identity(); !id.empty()) {
            return id;
        }
    }
    return RealSettingsPath(path);
}

std::string RealSettingsPath(const std::string& path) {
    try {
        if (path.empty()) {
            return RealSettingsPath(".");
        }
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string out(real);
            std::free(real);
            return out;
        }
        // Missing: its folder's real path and the rest as given.
        const size_t slash = path.rfind('/');
        if (slash == std::string::npos) {
            return path == "." ? path : RealSettingsPath(".") + "/" + path;
        }
        if (slash == 0) {
            return path;
        }
        const std::string folder = RealSettingsPath(path.substr(0, slash));
        return folder + (folder == "/" ? "" : "/") + path.substr(slash + 1);
    } catch (const std::bad_alloc&) {
        return path;
    }
}

} // namespace vostrel
