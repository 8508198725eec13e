#pragma once
// Why the settings file could not be read or written, where no errno value says it: numbers
// above every errno value, so that one int carries either.

#include <cstdint>

namespace vostrel {

// The largest settings file read: far above the largest the game writes (five names of 32767
// characters, two bytes each), small enough to be read at once.
constexpr int64_t kMaxSettingsFile = 4 * 1024 * 1024;

// A symbolic link on the way to the file is another user's.
constexpr int kOtherUsersLink = 1001;
// A CR not followed by LF.
constexpr int kBadLineEnd = 1002;
// A line longer than any the game writes.
constexpr int kLineTooLong = 1003;
// A file the game wrote, cut short: its last line unfinished, or keys missing.
constexpr int kCutShort = 1004;
// A folder on the way may be changed by another user, or is another user's.
constexpr int kSharedFolder = 1005;
// A save rewriting the file in place was cut off: the next start finishes or undoes it.
constexpr int kCutRewrite = 1006;
// Far larger than any file the game writes (kMaxSettingsFile).
constexpr int kFileTooLarge = 1007;
// A folder, a FIFO, a device or a socket in the file's place.
constexpr int kNotAFile = 1008;

} // namespace vostrel
