#pragma once
// A fresh directory for one test, removed with everything in it afterwards; and whole-file
// helpers that keep every byte.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vostrel::test {

class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vostrel-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) != nullptr) {
            path_ = tmpl;
        }
    }
    ~TempDir() {
        if (!path_.empty()) {
            std::error_code ec;
            std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
            std::filesystem::remove_all(path_, ec);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Names of the entries, sorted, for checking that nothing was left behind.
    std::string Listing() const {
        std::string out;
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        for (const auto& n : names) {
            out += n + "\n";
        }
        return out;
    }

private:
    std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace vostrel::test
