#include "game/SpokenText.h"

#include "engine/ExpressionModel.h"
#include "engine/ExpressionState.h"
#include "game/ControlIds.h"

namespace vostrel {

namespace {

constexpr const char* kPowerWords[kPowerItems] = {"なし", "平方根", "立方根", "2乗", "3乗"};
constexpr const char* kSignWords[kSignItems] = {"プラス", "マイナス"};
constexpr const char* kOpWords[kOpItems] = {"足す", "引く", "掛ける", "割る", "連結"};
constexpr const char* kRankWords[kRankItems] = {"1番", "2番", "3番", "4番"};

template <int32_t N> const char* WordOf(const char* const (&words)[N], int32_t code) {
    return code >= 0 && code < N ? words[code] : "";
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

const char* ChooserItemWord(int chooserId, int32_t code) {
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
        return "";
    }
}

std::string ControlName(int id) {
    // The sign and the gaps are counted as the player reads them, from the left.
    const auto gap = [](int k) { return std::to_string(k) + "番目の演算子"; };
    if (InBlock(id, IDC_POWER0)) {
        return std::to_string(id - IDC_POWER0 + 1) + "番目の数字のべき乗";
    }
    if (id == IDC_OP0) {
        return "符号";
    }
    if (InBlock(id, IDC_OP0)) {
        return gap(id - IDC_OP0);
    }
    if (id == IDC_RANK0) {
        return "符号の計算順位";
    }
    if (InBlock(id, IDC_RANK0)) {
        return gap(id - IDC_RANK0) + "の計算順位";
    }
    if (id == IDC_RESULT) {
        return "計算結果";
    }
    if (id == IDC_POINTS) {
        return "得点";
    }
    return {};
}

std::string HighScoreCellName(int row, bool scoreColumn) {
    return std::to_string(row + 1) + "位の" + (scoreColumn ? "スコア" : "名前");
}

} // namespace vostrel
