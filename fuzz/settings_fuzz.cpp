// Feeds arbitrary bytes to the settings loader and compares it with a plain reading that takes
// one byte at a time into a std::string. Any difference in result or record aborts.

#include "app/SettingsFile.h"
#include "fakes/MemoryByteSource.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using vostrel::kHighScoreRows;
using vostrel::SettingsRecord;

// Different from anything a line can set to its fallback, so an untouched field shows.
SettingsRecord Start() {
    SettingsRecord s;
    s.repeatCount = 11;
    s.scoreInexactDivision = 12;
    s.scoreInexactRoot = 13;
    s.scoreOtherResults = 14;
    s.usePower = 15;
    for (int i = 0; i < kHighScoreRows; ++i) {
        s.highScores.name[i] = "start" + std::to_string(i);
        s.highScores.score[i] = 20 + i;
    }
    return s;
}

int32_t RefNumber(const char* value, int32_t fallback) {
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

void RefLine(const std::string& line, SettingsRecord& s) {
    const char* text = line.c_str();
    const char* colon = std::strchr(text, ':');
    if (colon == nullptr) {
        return;
    }
    const std::string key(text, colon);
    const char* value = colon + 1;
    static const char* const kNumbers[] = {"rn", "nsd", "nsr", "rto", "eu"};
    int32_t* const numbers[] = {&s.repeatCount, &s.scoreInexactDivision, &s.scoreInexactRoot,
                                &s.scoreOtherResults, &s.usePower};
    const int32_t fallbacks[] = {3, 0, 0, 1, 1};
    for (int i = 0; i < 5; ++i) {
        if (key == kNumbers[i]) {
            *numbers[i] = RefNumber(value, fallbacks[i]);
            return;
        }
    }
    for (int i = 0; i < kHighScoreRows; ++i) {
        if (key == "hsn" + std::to_string(i)) {
            s.highScores.name[i] = *value != '\0' ? value : "none";
            return;
        }
        if (key == "hss" + std::to_string(i)) {
            s.highScores.score[i] = RefNumber(value, 500);
            return;
        }
    }
}

int32_t RefLoad(std::string_view bytes, SettingsRecord& s) {
    std::string line;
    bool crPending = false;
    for (const char c : bytes) {
        if (crPending) {
            line.pop_back();
            crPending = false;
            if (c != '\n') {
                return -9;
            }
            RefLine(line, s);
            line.clear();
        } else if (c == '\r') {
            line.push_back(c);
            crPending = true;
        } else if (c == '\n') {
            RefLine(line, s);
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    return 0;
}

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SettingsRecord expected = Start();
    const int32_t expectedResult = RefLoad(bytes, expected);

    // Whole, and in small pieces so that lines and CR LF straddle reads.
    for (const size_t chunk : {SIZE_MAX, size_t{1} + size % 7}) {
        SettingsRecord s = Start();
        vostrel::MemoryByteSource source(bytes, chunk);
        Check(vostrel::LoadSettingsFrom(source, s) == expectedResult);
        Check(s == expected);
    }

    // Whatever was loaded is saved and read back unchanged.
    const std::string saved = vostrel::FormatSettings(expected);
    SettingsRecord again;
    vostrel::MemoryByteSource source(saved);
    Check(vostrel::LoadSettingsFrom(source, again) == 0);
    Check(again == expected);
    return 0;
}
