#include "app/SettingsFile.h"

#include "app/FileByteSource.h"
#include "app/FileSave.h"
#include "app/InPlaceRewrite.h"
#include "app/LineReader.h"
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

// The name a code page 932 reader cannot show travels in ASCII that every such reader keeps
// as it is: each byte of its UTF-8 outside the printable ASCII, and the escape itself, as
// '%' and two upper-case hex digits; backslash and tilde too, which some code page 932 fonts
// draw as yen and overline.
bool KeptLiterally(unsigned char b) {
    return b >= 0x20 && b < 0x7F && b != '%' && b != '\\' && b != '~';
}

std::string EscapeFullName(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (KeptLiterally(b)) {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// Empty for a text that EscapeFullName cannot have written.
std::string UnescapeFullName(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b != '%') {
            if (!KeptLiterally(b)) {
                return {};
            }
            out += text[i];
            continue;
        }
        const int hi = i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int lo = hi >= 0 ? HexDigit(text[i + 2]) : -1;
        if (lo < 0) {
            return {};
        }
        out += static_cast<char>(hi << 4 | lo);
        i += 2;
    }
    return out;
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
    // Not a key of every file: older files and older readers know nothing of it.
    if (const int fullRow = RowOf(key, "hsu"); fullRow >= 0) {
        s.highScores.fullName[fullRow] = UnescapeFullName(value);
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
        reason = S_ISDIR(st.st_mode) ? EISDIR : kNotAFile;
        return -2;
    }
    return fd;
}

int32_t LoadSettings(const std::string& path, SettingsRecord& s, LoadReport* report) {
    LoadReport seen;
    LoadReport& r = report != nullptr ? *report : seen;
    r = LoadReport{};
    TrustedPath file;
    r.reason = file.Resolve(path);
    if (r.reason != 0) {
        // Only a file that is not there is missing: any other failure would have the
        // defaults saved over a file that is.
        return r.reason == ENOENT ? -1 : -9;
    }
    return LoadSettingsAt(file, s, &r);
}

int32_t LoadSettingsAt(const TrustedPath& file, SettingsRecord& s, LoadReport* report) {
    LoadReport seen;
    LoadReport& r = report != nullptr ? *report : seen;
    r = LoadReport{};
    // Without O_NONBLOCK a FIFO would hold the start until a writer came. O_NOFOLLOW refuses a
    // link put in the file's place since its path was checked.
    const int fd = ::openat(file.folder(), file.name().c_str(),
                            O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        r.reason = errno == ELOOP ? kOtherUsersLink : errno;
        return r.reason == ENOENT ? -1 : -9;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        r.reason = errno;
    } else if (S_ISDIR(st.st_mode)) {
        r.reason = EISDIR;
    } else if (!S_ISREG(st.st_mode)) {
        r.reason = kNotAFile;
    } else if (InPlaceRewrite::EndsWithMark(fd, st.st_size)) {
        r.reason = kCutRewrite;
    } else if (st.st_size > kMaxSettingsFile) {
        r.reason = kFileTooLarge;
    }
    if (r.reason != 0) {
        ::close(fd);
        r.empty = false;
        return -9;
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
            // No file of the game holds a line that starts with a NUL byte: the space that a
            // rewrite in place cut off had taken, whatever follows in it.
            if (!line.empty() && line.front() == '\0') {
                r.empty = false;
                r.reason = kCutRewrite;
                return -9;
            }
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
    // After the lines every version writes, and only for a name that needs it: a file of code
    // page 932 names stays as it always was.
    for (int i = 0; i < kHighScoreRows; ++i) {
        if (!s.highScores.fullName[i].empty()) {
            line("hsu" + std::string(1, static_cast<char>('0' + i)) + ":" +
                 EscapeFullName(s.highScores.fullName[i]));
        }
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
