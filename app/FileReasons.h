#pragma once
// Why the settings file could not be read or written, where no errno value says it: numbers
// above every errno value, so that one int carries either.

namespace vostrel {

// A symbolic link on the way to the file is another user's.
constexpr int kOtherUsersLink = 1001;
// A CR not followed by LF.
constexpr int kBadLineEnd = 1002;
// A line longer than any the game writes.
constexpr int kLineTooLong = 1003;
// A file the game wrote, cut short: its last line unfinished, or keys missing.
constexpr int kCutShort = 1004;
// Larger than any file of its kind the game writes.
constexpr int kFileTooLarge = 1005;

} // namespace vostrel
