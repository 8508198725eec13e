#pragma once
// What the program keeps between runs. Names are code page 932 bytes, never converted here.

#include "engine/Arithmetic.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vostrel {

constexpr int kHighScoreRows = 5;

// The values of a switch the program stores itself.
constexpr int32_t kFlagOff = 0;
constexpr int32_t kFlagOn = 1;

// A name as the table keeps it: its code page 932 bytes (with "?" for what the code page
// lacks, as a reader that knows only the code page shows it), and the name itself in UTF-8
// when those bytes do not give it back exactly, else empty.
struct StoredName {
    std::string bytes;
    std::string full;

    friend bool operator==(const StoredName&, const StoredName&) = default;
};

// Parallel arrays; row i of one belongs to row i of the others. Row 0 is the best.
struct HighScoreTable {
    std::string name[kHighScoreRows];
    int32_t score[kHighScoreRows] = {0, 0, 0, 0, 0};
    // The name as typed, in UTF-8, where code page 932 cannot hold it; name then holds what
    // a reader that knows only code page 932 shows. Empty for every other name.
    std::string fullName[kHighScoreRows];

    friend bool operator==(const HighScoreTable&, const HighScoreTable&) = default;
};

// Fields start as at program start: numbers 0, names empty.
struct SettingsRecord {
    int32_t repeatCount = 0;
    int32_t scoreInexactDivision = 0;
    int32_t scoreInexactRoot = 0;
    int32_t scoreOtherResults = 0;
    int32_t usePower = 0;
    HighScoreTable highScores;

    friend bool operator==(const SettingsRecord&, const SettingsRecord&) = default;
};

constexpr int32_t kDefaultRepeatCount = 3;
// What the settings dialog accepts; a file may hold more.
constexpr int32_t kMinRepeatCount = 1;
constexpr int32_t kMaxRepeatCount = 10;

enum class SettingKind : int32_t {
    Count,  // a number the player types
    Switch, // a check box, stored as 0 or 1
};

// A setting the player can change. The settings file, the settings window, applying its entries
// and the help all take their settings from SettingsTable(), so a new one is declared there and
// in the record alone.
struct SettingDef {
    std::string_view key; // in the settings file
    int32_t SettingsRecord::*field = nullptr;
    SettingKind kind = SettingKind::Switch;
    // Also what a line of the file gives whose value is not all digits.
    int32_t defaultValue = 0;
    // What the settings window accepts; a file may hold any number.
    int32_t min = 0;
    int32_t max = 1;
    // The window's text with its accelerator letter (context kSettingLabelContext), and the
    // help's sentence (context kSettingHelpContext): a count's with %1 min, %2 max and %3 the
    // default, a switch's with %1 the default, on or off.
    const char* label = "";
    const char* help = "";
    // The check box's width in the window's template units; a longer text widens it.
    int32_t dialogWidth = 0;
    // Every file the game ever wrote holds the key: a file that begins as the game's and lacks
    // it was cut short. A key added later is missing from older files, which leave its field at
    // its start value.
    bool inEveryFile = false;
};

// Translation contexts of the settings' texts: those of the windows that show them.
inline constexpr const char* kSettingLabelContext = "vostrel::CSettingDlg";
inline constexpr const char* kSettingHelpContext = "HelpText";

// Every setting, in the order of the settings file.
std::span<const SettingDef> SettingsTable();

void SetDefaultHighScores(SettingsRecord& s);
// Each setting's default, then the default table.
void InstallDefaultSettings(SettingsRecord& s);

ScoreSwitches SwitchesOf(const SettingsRecord& s);

// Places a final score at the first row whose score is lower, moving the rows below down; the
// new row is named "none". Returns the row, or -1 when the table stays unchanged.
int32_t InsertHighScore(HighScoreTable& t, int32_t finalScore);

} // namespace vostrel
