#include "game/SpokenText.h"

#include "app/Tr.h"
#include "engine/ExpressionModel.h"
#include "engine/ExpressionState.h"
#include "game/ControlIds.h"

namespace vostrel {

namespace {

constexpr const char* kPowerWords[kPowerItems] = {
    VOSTREL_TR_NOOP("SpokenText", "なし"), VOSTREL_TR_NOOP("SpokenText", "平方根"),
    VOSTREL_TR_NOOP("SpokenText", "立方根"), VOSTREL_TR_NOOP("SpokenText", "2乗"),
    VOSTREL_TR_NOOP("SpokenText", "3乗")};
constexpr const char* kSignWords[kSignItems] = {VOSTREL_TR_NOOP("SpokenText", "プラス"),
                                                VOSTREL_TR_NOOP("SpokenText", "マイナス")};
constexpr const char* kOpWords[kOpItems] = {
    VOSTREL_TR_NOOP("SpokenText", "足す"), VOSTREL_TR_NOOP("SpokenText", "引く"),
    VOSTREL_TR_NOOP("SpokenText", "掛ける"), VOSTREL_TR_NOOP("SpokenText", "割る"),
    VOSTREL_TR_NOOP("SpokenText", "連結")};
constexpr const char* kRankWords[kRankItems] = {
    VOSTREL_TR_NOOP("SpokenText", "1番"), VOSTREL_TR_NOOP("SpokenText", "2番"),
    VOSTREL_TR_NOOP("SpokenText", "3番"), VOSTREL_TR_NOOP("SpokenText", "4番")};

std::string WithNumber(const std::string& pattern, int n) {
    return FillText(pattern, {std::to_string(n)});
}

template <int32_t N> std::string WordOf(const char* const (&words)[N], int32_t code) {
    return code >= 0 && code < N ? Tr("SpokenText", words[code]) : std::string();
}

bool InBlock(int id, int first) {
    return id >= first && id < first + kPositions;
}

} // namespace

int ChooserOfLabel(int labelId) {
    if (InBlock(labelId, IDC_POWER0)) {
        return IDC_POWER_CHOOSER;
    }
    if (labelId == IDC_OP0) {
        return IDC_SIGN_CHOOSER;
    }
    if (InBlock(labelId, IDC_OP0)) {
        return IDC_OP_CHOOSER;
    }
    if (InBlock(labelId, IDC_RANK0)) {
        return IDC_RANK_CHOOSER;
    }
    return 0;
}

std::string ChooserItemWord(int chooserId, int32_t code) {
    switch (chooserId) {
    case IDC_POWER_CHOOSER:
        return WordOf(kPowerWords, code);
    case IDC_SIGN_CHOOSER:
        return WordOf(kSignWords, code);
    case IDC_OP_CHOOSER:
        return WordOf(kOpWords, code);
    case IDC_RANK_CHOOSER:
        return WordOf(kRankWords, code);
    default:
        return {};
    }
}

std::string ControlName(int id) {
    // The sign and the gaps are counted as the player reads them, from the left.
    if (InBlock(id, IDC_POWER0)) {
        return WithNumber(Tr("SpokenText", "%1番目の数字のべき乗"), id - IDC_POWER0 + 1);
    }
    if (id == IDC_OP0) {
        return Tr("SpokenText", "符号");
    }
    if (InBlock(id, IDC_OP0)) {
        return WithNumber(Tr("SpokenText", "%1番目の演算子"), id - IDC_OP0);
    }
    if (id == IDC_RANK0) {
        return Tr("SpokenText", "符号の計算順位");
    }
    if (InBlock(id, IDC_RANK0)) {
        return WithNumber(Tr("SpokenText", "%1番目の演算子の計算順位"), id - IDC_RANK0);
    }
    if (id == IDC_RESULT) {
        return Tr("SpokenText", "計算結果");
    }
    if (id == IDC_POINTS) {
        return Tr("SpokenText", "得点");
    }
    return {};
}

std::string HighScoreCellName(int row, bool scoreColumn) {
    return WithNumber(
        scoreColumn ? Tr("SpokenText", "%1位のスコア") : Tr("SpokenText", "%1位の名前"), row + 1);
}

} // namespace vostrel
