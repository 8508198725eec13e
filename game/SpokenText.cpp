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

// Without the blanks that align a label's text.
std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
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

std::string ControlName(int id, const int32_t (&digits)[4]) {
    // The sign and the gaps are counted as the player reads them, from the left.
    const auto gap = [](int k) { return std::to_string(k) + "番目の演算子"; };
    const auto digit = [&digits](int k) { return std::to_string(digits[k]); };
    if (InBlock(id, IDC_POWER0)) {
        const int k = id - IDC_POWER0;
        return std::to_string(k + 1) + "番目の数字" + digit(k) + "のべき乗";
    }
    if (id == IDC_OP0) {
        return "1番目の数字" + digit(0) + "の符号";
    }
    if (InBlock(id, IDC_OP0)) {
        const int k = id - IDC_OP0;
        return gap(k) + "（" + digit(k - 1) + "と" + digit(k) + "の間）";
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

std::string ProblemSpeech(int number, const int32_t (&digits)[4]) {
    std::string text = number > 0 ? std::to_string(number) + "問目、数字 " : "数字 ";
    for (int k = 0; k < kPositions; ++k) {
        text += std::to_string(digits[k]) + (k + 1 < kPositions ? "、" : "");
    }
    return text;
}

std::string ResultSpeech(const std::string& result, const std::string& points) {
    // An error shows dashes for the points: there are none.
    const std::string shown = Trimmed(points);
    const bool none = shown.find_first_not_of('-') == std::string::npos;
    return "計算結果 " + Trimmed(result) + "、得点 " + (none ? "なし" : shown);
}

std::string JoinedSpeech(const std::string& first, const std::string& second) {
    if (first.empty() || second.empty()) {
        return first + second;
    }
    return first + "。" + second;
}

std::string ChooserListName() {
    return "選択肢";
}

std::string HighScoreCellName(int row, bool scoreColumn) {
    return std::to_string(row + 1) + "位の" + (scoreColumn ? "スコア" : "名前");
}

std::string HighScoreRowSpeech(int row, const std::string& name, int32_t score) {
    const std::string shown = Trimmed(name);
    return std::to_string(row + 1) + "位、" + (shown.empty() ? "" : shown + "、") +
           std::to_string(score) + "点";
}

std::string FinalScoreSpeech(int32_t finalScore, int row) {
    const std::string text = "今回のスコア " + std::to_string(finalScore) + "、";
    if (row < 0) {
        return text + "ハイスコアには入りませんでした";
    }
    return text + std::to_string(row + 1) + "位に入りました";
}

} // namespace vostrel
