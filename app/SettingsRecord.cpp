#include "app/SettingsRecord.h"

namespace vostrel {

void SetDefaultHighScores(SettingsRecord& s) {
    static const char* const kNames[kHighScoreRows] = {"ABC", "XYZ", "PYR", "owns", "ZORVEK"};
    static const int32_t kScores[kHighScoreRows] = {500, 450, 400, 350, 300};
    for (int i = 0; i < kHighScoreRows; ++i) {
        s.highScores.name[i] = kNames[i];
        s.highScores.score[i] = kScores[i];
    }
}

void InstallDefaultSettings(SettingsRecord& s) {
    s.repeatCount = kDefaultRepeatCount;
    s.scoreInexactDivision = 0;
    s.scoreInexactRoot = 0;
    s.scoreOtherResults = 1;
    s.usePower = 1;
    SetDefaultHighScores(s);
}

ScoreSwitches SwitchesOf(const SettingsRecord& s) {
    return ScoreSwitches{s.scoreInexactDivision, s.scoreInexactRoot, s.scoreOtherResults};
}

int32_t InsertHighScore(HighScoreTable& t, int32_t finalScore) {
    int row = 0;
    while (row < kHighScoreRows && t.score[row] >= finalScore) {
        ++row;
    }
    if (row == kHighScoreRows) {
        return -1;
    }
    for (int i = kHighScoreRows - 1; i > row; --i) {
        t.name[i] = std::move(t.name[i - 1]);
        t.score[i] = t.score[i - 1];
    }
    t.name[row] = "none";
    t.score[row] = finalScore;
    return row;
}

} // namespace vostrel
