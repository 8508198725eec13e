#pragma once
// What the program keeps between runs. Names are code page 932 bytes, never converted here.

#include "engine/Arithmetic.h"

#include <cstdint>
#include <string>

namespace vostrel {

constexpr int kHighScoreRows = 5;

// Two parallel arrays; row i of one belongs to row i of the other. Row 0 is the best.
struct HighScoreTable {
    std::string name[kHighScoreRows];
    int32_t score[kHighScoreRows] = {0, 0, 0, 0, 0};

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

void SetDefaultHighScores(SettingsRecord& s);
// repeatCount 3, the switches 0, 0, 1, 1, then the default table.
void InstallDefaultSettings(SettingsRecord& s);

ScoreSwitches SwitchesOf(const SettingsRecord& s);

// Places a final score at the first row whose score is lower, moving the rows below down; the
// new row is named "none". Returns the row, or -1 when the table stays unchanged.
int32_t InsertHighScore(HighScoreTable& t, int32_t finalScore);

} // namespace vostrel
