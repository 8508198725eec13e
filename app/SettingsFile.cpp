#include "app/SettingsFile.h"

#include "app/FileByteSource.h"
#include "app/LineReader.h"
#include "app/SaveTemporaries.h"
#include "app/TrustedPath.h"
#include "app/Version.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <new>
#include <span>
#include <sys/stat.h>
#include <unistd.h>

namespace vostrel {

namespace {

constexpr int32_t kScoreFallback = 500;

// The bits of LoadReport::keys: a setting's is its index in the table, then two per high-score
// row, name and score.
int NameKeyBit(int row) {
    return static_cast<int>(SettingsTable().size()) + 2 * row;
}

// The keys every file of the game holds.
uint32_t KeysOfEveryFile() {
    uint32_t keys = 0;
    const std::span<const SettingDef> settings = SettingsTable();
    for (size_t i = 0; i < settings.size(); ++i) {
        keys |= settings[i].inEveryFile ? 1u << i : 0;
    }
    for (int row = 0; row < kHighScoreRows; ++row) {
        keys |= 3u << NameKeyBit(row);
    }
    return keys;
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

// The index of the known key that the line sets, in the reader's order; -1 for none.
int ApplyLine(std::string_view line, SettingsRecord& s) {
    // The line is handled as C text: an embedded NUL ends it.
    line = line.substr(0, line.find('\0'));
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        return -1;
    }
    const std::string_view key = line.substr(0, colon);
    const std::string_view value = line.substr(colon + 1);
    const std::span<const SettingDef> settings = SettingsTable();
    for (size_t i = 0; i < settings.size(); ++i) {
        if (key == settings[i].key) {
            s.*settings[i].field = NumberOr(value, settings[i].defaultValue);
            return static_cast<int>(i);
        }
    }
    if (const int nameRow = RowOf(key, "hsn"); nameRow >= 0) {
        s.highScores.name[nameRow] = value.empty() ? std::string_view("none") : value;
        return NameKeyBit(nameRow);
    }
    if (const int scoreRow = RowOf(key, "hss"); scoreRow >= 0) {
        s.highScores.score[scoreRow] = NumberOr(value, kScoreFallback);
        return NameKeyBit(scoreRow) + 1;
    }
    return -1;
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
    int folder = -1;
    std::string name;
    int fd = -1;
    bool renamed = false;

    ~TempFile() {
        if (fd >= 0) {
            ::close(fd);
        }
        if (!name.empty() && !renamed) {
            ::unlinkat(folder, name.c_str(), 0);
        }
    }
};

// These return 0, or the errno value of the step that failed.
int CreateTemp(const TrustedPath& target, mode_t mode, TempFile& tmp) {
    static unsigned counter = 0;
    const std::string stem = SaveTempStem(target.name(), ::getpid());
    tmp.folder = target.folder();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = stem + std::to_string(counter++);
        const int fd = ::openat(target.folder(), name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) {
            tmp.name = std::move(name);
            tmp.fd = fd;
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

int WriteAndSync(int fd, std::string_view bytes) {
    return WriteAll(fd, bytes.data(), bytes.size()) == 0 && ::fsync(fd) == 0 ? 0 : errno;
}

// Writes all of bytes at offset; 0 or an errno value.
int WriteAt(int fd, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t w = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (w < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<size_t>(w));
        offset += w;
    }
    return 0;
}

// Only where the folder refuses a new file. No state of the file on the way is taken as
// valid: a full disk or a size limit fails while the space is reserved, before any byte changes
// (a kill just after it leaves the old lines and NUL bytes without a line end); then a CR
// without its LF goes first, so that the file fails to load until the new bytes are all in
// (a kill can cut a write of several pages short); then the rest, padded with empty lines to
// the old length; then the first byte, in one write that no kill divides; the cut comes last.
int RewriteInPlace(const TrustedPath& target, const std::string& bytes) {
    const int fd = ::openat(target.folder(), target.name().c_str(),
                            O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    struct stat st;
    int r = 0;
    if (::fstat(fd, &st) != 0) {
        r = errno;
    } else if (!S_ISREG(st.st_mode) || bytes.size() < 2 || bytes[1] == '\n') {
        r = EINVAL;
    } else {
        const size_t old = static_cast<size_t>(st.st_size);
        std::string padded = bytes;
        if (padded.size() < old) {
            // CR LF pairs, and a lone LF for an odd remainder: each an empty line.
            padded.append(old - padded.size(), '\n');
            for (size_t i = bytes.size(); i + 1 < old; i += 2) {
                padded[i] = '\r';
            }
        }
        const std::string_view all(padded);
        if (padded.size() > old) {
            r = ::posix_fallocate(fd, 0, static_cast<off_t>(padded.size()));
        }
        if (r == 0) {
            r = WriteAt(fd, "\r", 0);
        }
        if (r == 0) {
            r = WriteAt(fd, all.substr(1), 1);
        }
        if (r == 0) {
            r = ::fsync(fd) == 0 ? WriteAt(fd, all.substr(0, 1), 0) : errno;
        }
        if (r == 0 && padded.size() != bytes.size() &&
            ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
            r = errno;
        }
        if (r == 0 && ::fsync(fd) != 0) {
            r = errno;
        }
    }
    const int closed = ::close(fd) == 0 ? 0 : errno;
    return r != 0 ? r : closed;
}

int SaveBytes(const std::string& path, const std::string& bytes) {
    TrustedPath target;
    if (const int e = target.Resolve(path); e != 0) {
        return e;
    }
    const int folder = target.folder();
    const char* name = target.name().c_str();
    struct stat st;
    const bool exists = ::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists) {
        // Replacing something that is not a plain file, or a file the player made read-only,
        // is refused just as an in-place write would be.
        if (!S_ISREG(st.st_mode)) {
            return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        }
        if (::faccessat(folder, name, W_OK, AT_EACCESS) != 0) {
            return errno;
        }
    }
    TempFile tmp;
    if (const int e = CreateTemp(target, exists ? (st.st_mode & 07777) : 0644, tmp); e != 0) {
        // A folder the player may not write, holding a file the player may: only an in-place
        // write can save there. Any other failure keeps the old file whole.
        const bool folderRefused = e == EACCES || e == EPERM;
        return exists && folderRefused ? RewriteInPlace(target, bytes) : e;
    }
    // The umask applied on creation; an existing file's mode is kept exactly.
    if (exists && ::fchmod(tmp.fd, st.st_mode & 07777) != 0) {
        return errno;
    }
    if (const int e = WriteAndSync(tmp.fd, bytes); e != 0) {
        return e;
    }
    const int fd = tmp.fd;
    tmp.fd = -1;
    if (::close(fd) != 0 || ::renameat(folder, tmp.name.c_str(), folder, name) != 0) {
        return errno;
    }
    tmp.renamed = true;
    // Makes the rename itself durable. The new file is in place by now, so a directory that
    // cannot be synced (some file systems refuse) does not turn the save into a failure.
    const int dir = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

bool LoadReport::CutShort() const {
    const uint32_t every = KeysOfEveryFile();
    return !empty && (lines == 0 || (header && (unfinished || (keys & every) != every)));
}

int OpenToRead(const std::string& path, int& reason) {
    TrustedPath file;
    reason = file.Resolve(path);
    // Without O_NONBLOCK a FIFO would hold the start until a writer came.
    const int fd = reason != 0 ? -1
                               : ::openat(file.folder(), file.name().c_str(),
                                          O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (reason == 0) {
            // A link put in the file's place since it was looked at is not followed.
            reason = errno == ELOOP ? kOtherUsersLink : errno;
        }
        return -1;
    }
    // A directory, a FIFO or a device is no file of the game.
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        reason = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return -2;
    }
    return fd;
}

int32_t LoadSettings(const std::string& path, SettingsRecord& s, LoadReport* report) {
    LoadReport seen;
    LoadReport& r = report != nullptr ? *report : seen;
    r = LoadReport{};
    const int fd = OpenToRead(path, r.reason);
    // Only a file that is not there is missing: any other failure would have the defaults
    // saved over a file that is. Something that is no file is the same as a missing one.
    if (fd == -1) {
        return r.reason == ENOENT ? -1 : -9;
    }
    if (fd == -2) {
        return -1;
    }
    FileByteSource source(fd);
    const int32_t loaded = LoadSettingsFrom(source, s, LineReader::kDefaultBlock, &r);
    if (loaded != 0 && source.error() != 0) {
        r.reason = source.error();
    }
    ::close(fd);
    return loaded;
}

int32_t LoadSettingsFrom(IByteSource& source, SettingsRecord& s, size_t blockSize,
                         LoadReport* report) {
    LoadReport seen;
    LoadReport& r = report != nullptr ? *report : seen;
    LineReader reader(source, blockSize);
    std::string line;
    try {
        for (;;) {
            const int32_t got = reader.ReadLine(line);
            if (got == -1) {
                // Bytes after the last line end are not a line.
                r.unfinished = !line.empty();
                r.empty = r.lines == 0 && line.empty();
                return 0;
            }
            r.empty = false;
            if (got != 0) {
                if (got == -13) {
                    r.reason = kLineTooLong;
                } else if (got != -12) {
                    r.reason = ENOMEM;
                } else if (reader.sourceFailed()) {
                    r.reason = EIO;
                } else {
                    // A CR without LF as the very first byte marks a rewrite in place that
                    // did not finish.
                    r.reason = r.lines == 0 && line.empty() ? kCutShort : kBadLineEnd;
                }
                return -9;
            }
            if (r.lines++ == 0) {
                r.header = line == std::string(":") + kProductName;
            }
            if (const int key = ApplyLine(line, s); key >= 0) {
                r.keys |= 1u << key;
            }
        }
    } catch (const std::bad_alloc&) {
        r.reason = ENOMEM;
        return -9;
    }
}

int SaveFileBytes(const std::string& path, const std::string& bytes) {
    try {
        return SaveBytes(path, bytes);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

int32_t SaveSettings(const std::string& path, const SettingsRecord& s, int* reason) {
    int e = 0;
    try {
        e = SaveFileBytes(path, FormatSettings(s));
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
    const auto line = [&out](std::string_view text) {
        out += text;
        out += "\r\n";
    };
    line(std::string(":") + kProductName);
    line(std::string(":Ver. ") + kVersion);
    line(":Copyright (C) 2026 The Vostrel developers");
    for (const SettingDef& d : SettingsTable()) {
        line(std::string(d.key) + ":" + std::to_string(s.*d.field));
    }
    for (int i = 0; i < kHighScoreRows; ++i) {
        const std::string row(1, static_cast<char>('0' + i));
        line("hsn" + row + ":" + s.highScores.name[i]);
        line("hss" + row + ":" + std::to_string(s.highScores.score[i]));
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
