#pragma once
// The file that keeps the game under way, beside the settings file and under the same rules:
// a symbolic link only of the player's or root's, a temporary renamed into place, the old file
// kept when a save fails. vostrel.dat itself never holds any of it.

#include <cstddef>
#include <string>

namespace vostrel {

constexpr const char* kGameFileName = "vostrel-game.txt";
// Far more than the game writes: a larger file is not read.
constexpr size_t kMaxGameFileBytes = 4096;

// The game file beside the settings file at settingsPath.
std::string GameFilePath(const std::string& settingsPath);
// 0 and the whole file in bytes; ENOENT when there is none; otherwise an errno value or a
// reason of FileReasons.h (kFileTooLarge, kOtherUsersLink), bytes empty.
int ReadGameFile(const std::string& path, std::string& bytes);
// 0, or an errno value: the file as it was stays.
int WriteGameFile(const std::string& path, const std::string& bytes);

} // namespace vostrel
