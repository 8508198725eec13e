#include "app/SettingsFile.h"

#include "app/FileByteSource.h"
#include "app/LineReader.h"
#include "app/SaveTemporaries.h"
#include "app/Version.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace vostrel {

namespace {

constexpr int kLineCount = 18;
constexpr int32_t kScoreFallback = 500;

using SettingsLines = std::array<std::string, kLineCount>;

SettingsLines LinesOf(const SettingsRecord& s) {
    SettingsLines l;
    l[0] = std::string(":") + kProductName;
    l[1] = std::string(":Ver. ") + kVersion;
    l[2] = ":Copyright (C) 2026 The Vostrel developers";
    l[3] = "rn:" + std::to_string(s.repeatCount);
    l[4] = "nsd:" + std::to_string(s.scoreInexactDivision);
    l[5] = "nsr:" + std::to_string(s.scoreInexactRoot);
    l[6] = "rto:" + std::to_string(s.scoreOtherResults);
    l[7] = "eu:" + std::to_string(s.usePower);
    for (int i = 0; i < kHighScoreRows; ++i) {
        const std::string row(1, static_cast<char>('0' + i));
        l[8 + 2 * i] = "hsn" + row + ":" + s.highScores.name[i];
        l[9 + 2 * i] = "hss" + row + ":" + std::to_string(s.highScores.score[i]);
    }
    return l;
}

int32_t NumberOr(std::string_view value, int32_t fallback) {
    return CheckDigits(value) == 0 ? DigitsToNumber(value) : fallback;
}

// The row of a key made of the prefix and one row digit; -1 for any other key.
int RowOf(std::string_view key, std::string_view prefix) {
    if (key.size() != prefix.size() + 1 || key.substr(0, prefix.size()) != prefix) {
        return -1;
    }
    const char d = key.back();
    return d >= '0' && d < '0' + kHighScoreRows ? d - '0' : -1;
}

void ApplyLine(std::string_view line, SettingsRecord& s) {
    // The line is handled as C text: an embedded NUL ends it.
    line = line.substr(0, line.find('\0'));
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        return;
    }
    const std::string_view key = line.substr(0, colon);
    const std::string_view value = line.substr(colon + 1);
    if (key == "rn") {
        s.repeatCount = NumberOr(value, kDefaultRepeatCount);
    } else if (key == "nsd") {
        s.scoreInexactDivision = NumberOr(value, 0);
    } else if (key == "nsr") {
        s.scoreInexactRoot = NumberOr(value, 0);
    } else if (key == "rto") {
        s.scoreOtherResults = NumberOr(value, 1);
    } else if (key == "eu") {
        s.usePower = NumberOr(value, 1);
    } else if (const int nameRow = RowOf(key, "hsn"); nameRow >= 0) {
        s.highScores.name[nameRow] = value.empty() ? std::string_view("none") : value;
    } else if (const int scoreRow = RowOf(key, "hss"); scoreRow >= 0) {
        s.highScores.score[scoreRow] = NumberOr(value, kScoreFallback);
    }
}

int32_t WriteAll(int fd, const char* p, size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return 0;
}

// A temporary file beside the target, removed again unless it was renamed into place.
struct TempFile {
    std::string path;
    int fd = -1;
    bool renamed = false;

    ~TempFile() {
        if (fd >= 0) {
            ::close(fd);
        }
        if (!path.empty() && !renamed) {
            ::unlink(path.c_str());
        }
    }
};

// These return 0, or the errno value of the step that failed.
int CreateTemp(const std::string& target, mode_t mode, TempFile& tmp) {
    static unsigned counter = 0;
    const std::string stem = SaveTempStem(target, ::getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = stem + std::to_string(counter++);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            tmp.path = std::move(name);
            tmp.fd = fd;
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

int WriteLines(int fd, const SettingsLines& lines) {
    for (const std::string& line : lines) {
        if (WriteLine(fd, line) != 0) {
            return errno;
        }
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

int RewriteInPlace(const std::string& target, const SettingsLines& lines) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    struct stat st;
    int r = 0;
    if (::fstat(fd, &st) != 0) {
        r = errno;
    } else if (!S_ISREG(st.st_mode)) {
        r = EINVAL;
    } else {
        r = ::ftruncate(fd, 0) == 0 ? WriteLines(fd, lines) : errno;
    }
    const int closed = ::close(fd) == 0 ? 0 : errno;
    return r != 0 ? r : closed;
}

int SaveLines(const std::string& path, const SettingsLines& lines) {
    if (path.empty()) {
        return ENOENT;
    }
    const std::string target = SaveTarget(path);
    struct stat st;
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists) {
        // Replacing something that is not a plain file, or a file the player made read-only,
        // is refused just as an in-place write would be.
        if (!S_ISREG(st.st_mode)) {
            return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        }
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            return errno;
        }
    }
    TempFile tmp;
    if (const int e = CreateTemp(target, exists ? (st.st_mode & 07777) : 0644, tmp); e != 0) {
        // A folder the player may not write, holding a file the player may: only an in-place
        // write can save there. Any other failure keeps the old file whole.
        const bool folderRefused = e == EACCES || e == EPERM;
        return exists && folderRefused ? RewriteInPlace(target, lines) : e;
    }
    // The umask applied on creation; an existing file's mode is kept exactly.
    if (exists && ::fchmod(tmp.fd, st.st_mode & 07777) != 0) {
        return errno;
    }
    if (const int e = WriteLines(tmp.fd, lines); e != 0) {
        return e;
    }
    const int fd = tmp.fd;
    tmp.fd = -1;
    if (::close(fd) != 0 || ::rename(tmp.path.c_str(), target.c_str()) != 0) {
        return errno;
    }
    tmp.renamed = true;
    // Makes the rename itself durable. The new file is in place by now, so a directory that
    // cannot be synced (some file systems refuse) does not turn the save into a failure.
    const int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

} // namespace

std::string GetSettingsPath(std::string_view fileName) {
    try {
        std::string exe(256, '\0');
        for (;;) {
            const ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size());
            if (n < 0) {
                return {};
            }
            if (static_cast<size_t>(n) < exe.size()) {
                exe.resize(static_cast<size_t>(n));
                break;
            }
            exe.resize(exe.size() * 2);
        }
        const size_t slash = exe.rfind('/');
        if (slash == std::string::npos) {
            return {};
        }
        exe.resize(slash + 1);
        exe.append(fileName);
        return exe;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

int32_t LoadSettings(const std::string& path, SettingsRecord& s) {
    // Without O_NONBLOCK a FIFO would hold the start until a writer came.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    // A directory, a FIFO or a device is no settings file: the same as a missing one.
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    FileByteSource source(fd);
    const int32_t r = LoadSettingsFrom(source, s);
    ::close(fd);
    return r;
}

int32_t LoadSettingsFrom(IByteSource& source, SettingsRecord& s, size_t blockSize) {
    LineReader reader(source, blockSize);
    std::string line;
    try {
        for (;;) {
            const int32_t r = reader.ReadLine(line);
            if (r == -1) {
                // Bytes after the last line end are not a line.
                return 0;
            }
            if (r != 0) {
                return -9;
            }
            ApplyLine(line, s);
        }
    } catch (const std::bad_alloc&) {
        return -9;
    }
}

int32_t SaveSettings(const std::string& path, const SettingsRecord& s, int* reason) {
    int e = 0;
    try {
        e = SaveLines(path, LinesOf(s));
    } catch (const std::bad_alloc&) {
        e = ENOMEM;
    }
    if (reason != nullptr) {
        *reason = e;
    }
    return e == 0 ? 0 : -1;
}

std::string FormatSettings(const SettingsRecord& s) {
    std::string out;
    for (const std::string& line : LinesOf(s)) {
        out += line;
        out += "\r\n";
    }
    return out;
}

int32_t WriteLine(int fd, std::string_view text) {
    if (WriteAll(fd, text.data(), text.size()) != 0) {
        return -1;
    }
    return WriteAll(fd, "\r\n", 2);
}

int32_t DigitsToNumber(std::string_view digits) {
    int64_t v = 0;
    for (const char c : digits) {
        v = v * 10 + (c - '0');
        if (v > INT32_MAX) {
            return INT32_MAX;
        }
    }
    return static_cast<int32_t>(v);
}

int32_t CheckDigits(std::string_view text) {
    if (text.empty()) {
        return 1;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return 2;
        }
    }
    return 0;
}

} // namespace vostrel
