#pragma once
// The settings file vostrel.dat: CR LF lines of key, ':' and value; three header lines, a line
// for each setting of the settings table, then a name and a score line for each high-score row.
// Names travel as raw bytes.

#include "app/IByteSource.h"
#include "app/LineReader.h"
#include "app/SettingsRecord.h"
#include "app/TrustedPath.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vostrel {

// What a load saw beside the record.
struct LoadReport {
    // Why the load gave -1 or -9: an errno value or a reason of FileReasons.h.
    int reason = 0;
    // Lines read whole, and whether any byte came at all.
    uint32_t lines = 0;
    bool empty = true;
    // Bytes after the last line end, which loading ignores.
    bool unfinished = false;
    // The first line is the game's own first line.
    bool header = false;
    // One bit per known key, for each key found: the settings in the table's order, then the
    // high-score rows' names and scores.
    uint32_t keys = 0;

    // The game writes its first line and every key, and ends with a line end: a file that
    // begins as the game's but lacks the rest (a key every version writes), or holds no whole
    // line, was cut short.
    bool CutShort() const;
};

std::string GetSettingsPath(std::string_view fileName);
// 0 read to the end; -1 there is no file (ENOENT), nothing changes; -9 the file is there but
// could not be read whole (the lines before stay applied). A symbolic link is followed only
// when the player or root owns it. report, when given, tells why and what was seen.
int32_t LoadSettings(const std::string& path, SettingsRecord& s, LoadReport* report = nullptr);
// The same from a place already reached: what is in the file's place now is read, never through
// a link. Beyond the bytes, -9 for anything but a regular file (EISDIR, kNotAFile), a file
// larger than kMaxSettingsFile, or one whose rewrite in place was cut off (kCutRewrite).
int32_t LoadSettingsAt(const TrustedPath& file, SettingsRecord& s, LoadReport* report = nullptr);
// The reading itself, from any byte source: 0 or -9 as above. The fuzzer's small blocks put
// block ends inside lines.
int32_t LoadSettingsFrom(IByteSource& source, SettingsRecord& s,
                         size_t blockSize = LineReader::kDefaultBlock,
                         LoadReport* report = nullptr);
// 0 written; -1 not written, and any previous file is left as it was. reason, when given,
// gets the errno value of the failure (0 on success), or kOtherUsersLink. A symbolic link is
// followed only when the player or root owns it.
int32_t SaveSettings(const std::string& path, const SettingsRecord& s, int* reason = nullptr);
// The way every file of the game is read, for any file name: an open descriptor, or -1
// (reason: ENOENT when there is no file, or why it cannot be read) or -2 (reason EISDIR or
// kNotAFile: something that is no file). Files are written with SaveFileBytes (FileSave.h).
int OpenToRead(const std::string& path, int& reason);
// The exact bytes SaveSettings writes, each line ended by CR LF.
std::string FormatSettings(const SettingsRecord& s);
// Writes the text and CR LF to a file descriptor: 0, or -1 when a write failed.
int32_t WriteLine(int fd, std::string_view text);
// 0 all digits, 1 empty, 2 anything else.
int32_t CheckDigits(std::string_view text);
// The value of a text that CheckDigits passed, as a 32-bit strtol gives it: saturated at the
// largest int32_t.
int32_t DigitsToNumber(std::string_view digits);

} // namespace vostrel
