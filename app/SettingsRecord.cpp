#include "app/SettingsRecord.h"

#include "app/Tr.h"

#include <iterator>

namespace vostrel {

namespace {

constexpr SettingDef kSettings[] = {
    {.key = "rn",
     .field = &SettingsRecord::repeatCount,
     .kind = SettingKind::Count,
     .defaultValue = kDefaultRepeatCount,
     .min = kMinRepeatCount,
     .max = kMaxRepeatCount,
     //: Caption of the number box: how many problems a game has. Keep the letter N.
     .label = VOSTREL_TR_NOOP("vostrel::CSettingDlg", "繰返し回数(&N)："),
     //: %1 and %2 the lowest and highest number, %3 the default.
     .help = VOSTREL_TR_NOOP("HelpText", "繰返し回数: 1ゲームの問題の数です(%1～%2、初期値 %3)。"),
     .inEveryFile = true},
    {.key = "nsd",
     .field = &SettingsRecord::scoreInexactDivision,
     .defaultValue = 0,
     //: Check box: a division with a remainder drops it, with a penalty, instead of giving "not
     //: integer". Keep the letter D.
     .label = VOSTREL_TR_NOOP("vostrel::CSettingDlg", "割切れない除算も採点する(&D)"),
     //: %1 the default, on or off.
     .help =
         VOSTREL_TR_NOOP("HelpText", "割切れない除算も採点する: 割り切れない割り算の商の端数を切"
                                     "り捨てて続けます(1回ごとに減点。初期値 %1)。"),
     .dialogWidth = 99,
     .inEveryFile = true},
    {.key = "nsr",
     .field = &SettingsRecord::scoreInexactRoot,
     .defaultValue = 0,
     //: Check box: a root that is not a whole number is rounded, with a penalty, instead of
     //: giving "not integer". Keep the letter R.
     .label = VOSTREL_TR_NOOP("vostrel::CSettingDlg", "整数にならないべき乗根も採点する(&R)"),
     .help =
         VOSTREL_TR_NOOP("HelpText", "整数にならないべき乗根も採点する: 整数にならない根を最も近"
                                     "い整数に丸めて続けます(1回ごとに減点。初期値 %1)。"),
     .dialogWidth = 123,
     .inEveryFile = true},
    {.key = "rto",
     .field = &SettingsRecord::scoreOtherResults,
     .defaultValue = 1,
     //: Check box: 0 and other multiples of 10 earn a bonus too. Keep the letter T.
     .label = VOSTREL_TR_NOOP("vostrel::CSettingDlg", "10以外の結果も採点する(&T)"),
     .help =
         VOSTREL_TR_NOOP("HelpText", "10以外の結果も採点する: 0 とほかの10の倍数にもボーナスを付"
                                     "けます(初期値 %1)。"),
     .dialogWidth = 92,
     .inEveryFile = true},
    {.key = "eu",
     .field = &SettingsRecord::usePower,
     .defaultValue = 1,
     //: Check box: the powers above the digits can be chosen. Keep the letter E.
     .label = VOSTREL_TR_NOOP("vostrel::CSettingDlg", "べき乗を使用する(&E)"),
     .help = VOSTREL_TR_NOOP("HelpText",
                             "べき乗を使用する: 数字の上のべき乗を選べるようにします(初期値 %1)。"),
     .dialogWidth = 69,
     .inEveryFile = true},
};

// The loader keeps one bit per key of the file in a 32-bit word.
static_assert(std::size(kSettings) + 2 * kHighScoreRows <= 32);

} // namespace

std::span<const SettingDef> SettingsTable() {
    return kSettings;
}

void SetDefaultHighScores(SettingsRecord& s) {
    static const char* const kNames[kHighScoreRows] = {"ABC", "XYZ", "PYR", "owns", "ZORVEK"};
    static const int32_t kScores[kHighScoreRows] = {500, 450, 400, 350, 300};
    for (int i = 0; i < kHighScoreRows; ++i) {
        s.highScores.name[i] = kNames[i];
        s.highScores.fullName[i].clear();
        s.highScores.score[i] = kScores[i];
    }
}

void InstallDefaultSettings(SettingsRecord& s) {
    for (const SettingDef& d : kSettings) {
        s.*d.field = d.defaultValue;
    }
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
        t.fullName[i] = std::move(t.fullName[i - 1]);
        t.score[i] = t.score[i - 1];
    }
    t.name[row] = "none";
    t.fullName[row].clear();
    t.score[row] = finalScore;
    return row;
}

} // namespace vostrel
