#pragma once
// The reference for the settings fuzzers: the file read one byte at a time into a std::string,
// written independently of the loader's block reading. Any difference with the loader aborts.

#include "app/SettingsRecord.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace vostrel::fuzz {

// Different from anything a line can set to its fallback, so an untouched field shows.
inline SettingsRecord Start() {
    SettingsRecord s;
    int32_t mark = 11;
    for (const SettingDef& d : SettingsTable()) {
        s.*d.field = mark++;
    }
    for (int i = 0; i < kHighScoreRows; ++i) {
        s.highScores.name[i] = "start" + std::to_string(i);
        s.highScores.score[i] = 20 + i;
    }
    return s;
}

inline int32_t RefNumber(const char* value, int32_t fallback) {
    if (*value == '\0') {
        return fallback;
    }
    for (const char* p = value; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') {
            return fallback;
        }
    }
    errno = 0;
    const long long v = std::strtoll(value, nullptr, 10);
    return (errno == ERANGE || v > INT32_MAX) ? INT32_MAX : static_cast<int32_t>(v);
}

// A full name's text decoded: "%" and two upper-case hex digits give a byte, printable ASCII
// but backslash and tilde stands for itself; anything else makes the whole name empty.
inline std::string RefFullName(const char* value) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char* p = value; *p != '\0'; ++p) {
        if (*p == '%') {
            const char* hi = p[1] != '\0' ? std::strchr(kHex, p[1]) : nullptr;
            const char* lo = hi != nullptr && p[2] != '\0' ? std::strchr(kHex, p[2]) : nullptr;
            if (lo == nullptr) {
                return {};
            }
            out += static_cast<char>((hi - kHex) * 16 + (lo - kHex));
            p += 2;
        } else if (*p >= ' ' && *p <= '}' && *p != '\\') {
            out += *p;
        } else {
            return {};
        }
    }
    return out;
}

inline void RefLine(const std::string& line, SettingsRecord& s) {
    const char* text = line.c_str();
    const char* colon = std::strchr(text, ':');
    if (colon == nullptr) {
        return;
    }
    const std::string_view key(text, static_cast<size_t>(colon - text));
    const char* value = colon + 1;
    // The keys and fallbacks are the settings table's; the reading is the reference's own.
    for (const SettingDef& d : SettingsTable()) {
        if (key == d.key) {
            s.*d.field = RefNumber(value, d.defaultValue);
            return;
        }
    }
    static const char* const kNames[] = {"hsn0", "hsn1", "hsn2", "hsn3", "hsn4"};
    static const char* const kScores[] = {"hss0", "hss1", "hss2", "hss3", "hss4"};
    static const char* const kFull[] = {"hsu0", "hsu1", "hsu2", "hsu3", "hsu4"};
    for (int i = 0; i < kHighScoreRows; ++i) {
        if (key == kNames[i]) {
            s.highScores.name[i] = *value != '\0' ? value : "none";
            return;
        }
        if (key == kScores[i]) {
            s.highScores.score[i] = RefNumber(value, 500);
            return;
        }
        if (key == kFull[i]) {
            s.highScores.fullName[i] = RefFullName(value);
            return;
        }
    }
}

inline int32_t RefLoad(std::string_view bytes, SettingsRecord& s) {
    std::string line;
    bool crPending = false;
    // A line that starts with NUL is the room a cut rewrite in place left: the file is refused.
    const auto cut = [&line] { return !line.empty() && line.front() == '\0'; };
    for (const char c : bytes) {
        if (crPending) {
            line.pop_back();
            crPending = false;
            if (c != '\n') {
                return -9;
            }
            if (cut()) {
                return -9;
            }
            RefLine(line, s);
            line.clear();
        } else if (c == '\r') {
            line.push_back(c);
            crPending = true;
        } else if (c == '\n') {
            if (cut()) {
                return -9;
            }
            RefLine(line, s);
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    return cut() ? -9 : 0;
}

inline void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

} // namespace vostrel::fuzz
