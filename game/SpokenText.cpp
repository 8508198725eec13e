#include "game/SpokenText.h"

#include "app/CGameApp.h"
#include "app/Tr.h"
#include "engine/Evaluator.h"
#include "engine/ExpressionModel.h"
#include "engine/ExpressionState.h"

namespace vostrel {

namespace {

// The items of the chooser lists as a screen reader speaks them.
constexpr const char* kPowerWords[kPowerItems] = {
    //: Spoken power item: no power.
    VOSTREL_TR_NOOP("SpokenText", "なし"),
    //: Spoken power item.
    VOSTREL_TR_NOOP("SpokenText", "平方根"),
    //: Spoken power item.
    VOSTREL_TR_NOOP("SpokenText", "立方根"),
    //: Spoken power item.
    VOSTREL_TR_NOOP("SpokenText", "2乗"),
    //: Spoken power item.
    VOSTREL_TR_NOOP("SpokenText", "3乗"),
};
constexpr const char* kSignWords[kSignItems] = {
    //: Spoken sign item: no sign.
    VOSTREL_TR_NOOP("SpokenText", "プラス"),
    //: Spoken sign item: negates.
    VOSTREL_TR_NOOP("SpokenText", "マイナス"),
};
constexpr const char* kOpWords[kOpItems] = {
    //: Spoken operator item.
    VOSTREL_TR_NOOP("SpokenText", "足す"),
    //: Spoken operator item.
    VOSTREL_TR_NOOP("SpokenText", "引く"),
    //: Spoken operator item.
    VOSTREL_TR_NOOP("SpokenText", "掛ける"),
    //: Spoken operator item.
    VOSTREL_TR_NOOP("SpokenText", "割る"),
    //: Spoken operator item: writes the two digits together as one number.
    VOSTREL_TR_NOOP("SpokenText", "連結"),
};
constexpr const char* kRankWords[kRankItems] = {
    //: Spoken rank item: computed first.
    VOSTREL_TR_NOOP("SpokenText", "1番"),
    //: Spoken rank item.
    VOSTREL_TR_NOOP("SpokenText", "2番"),
    //: Spoken rank item.
    VOSTREL_TR_NOOP("SpokenText", "3番"),
    //: Spoken rank item: computed last.
    VOSTREL_TR_NOOP("SpokenText", "4番"),
};

std::string WithNumber(const std::string& pattern, int n) {
    return FillText(pattern, {std::to_string(n)});
}

template <int32_t N> std::string WordOf(const char* const (&words)[N], int32_t code) {
    return code >= 0 && code < N ? Tr("SpokenText", words[code]) : std::string();
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

std::string ChooserItemWord(ChooserKind kind, int32_t code) {
    switch (kind) {
    case ChooserPower:
        return WordOf(kPowerWords, code);
    case ChooserSign:
        return WordOf(kSignWords, code);
    case ChooserOp:
        return WordOf(kOpWords, code);
    case ChooserRank:
        return WordOf(kRankWords, code);
    case ChooserNone:
        break;
    }
    return {};
}

std::string SlotName(Slot s, const int32_t (&digits)[4]) {
    // The sign and the gaps are counted as the player reads them, from the left.
    const auto digit = [&digits](int k) { return std::to_string(digits[k]); };
    const int k = s.pos;
    switch (s.row) {
    case Row::Power:
        //: Spoken name of a power label: %1 the digit's place from the left, %2 the digit.
        return FillText(Tr("SpokenText", "%1番目の数字%2のべき乗"),
                        {std::to_string(k + 1), digit(k)});
    case Row::Op:
        if (k == 0) {
            //: Spoken name of the sign label in front of the first digit: %1 the digit.
            return FillText(Tr("SpokenText", "1番目の数字%1の符号"), {digit(0)});
        }
        //: Spoken name of an operator label: %1 its place from the left, %2 and %3 the digits on
        //: either side.
        return FillText(Tr("SpokenText", "%1番目の演算子（%2と%3の間）"),
                        {std::to_string(k), digit(k - 1), digit(k)});
    case Row::Rank:
        if (k == 0) {
            //: Spoken name of the sign's rank label (bottom row, first).
            return Tr("SpokenText", "符号の計算順位");
        }
        //: Spoken name of an operator's rank label: %1 the operator's place from the left.
        return WithNumber(Tr("SpokenText", "%1番目の演算子の計算順位"), k);
    }
    return {};
}

std::string ResultName() {
    //: Spoken name of the result box.
    return Tr("SpokenText", "計算結果");
}

std::string PointsName() {
    //: Spoken name of the points box (the points of the last "=").
    return Tr("SpokenText", "得点");
}

std::string ProblemSpeech(int number, const int32_t (&digits)[4]) {
    const auto d = [&digits](int k) { return std::to_string(digits[k]); };
    if (number > 0) {
        //: Spoken as a problem opens: %1 the problem's number, %2 to %5 its digits.
        return FillText(Tr("SpokenText", "%1問目、数字 %2、%3、%4、%5"),
                        {std::to_string(number), d(0), d(1), d(2), d(3)});
    }
    //: Spoken digits of the problem: %1 to %4.
    return FillText(Tr("SpokenText", "数字 %1、%2、%3、%4"), {d(0), d(1), d(2), d(3)});
}

int SpokenProblemNumber(int32_t repeatCount, int32_t problemIndex) {
    return repeatCount > 1 ? problemIndex + 1 : 0;
}

std::string EvaluateButtonName(int number, const int32_t (&digits)[4]) {
    //: Spoken name of the "=" button: %1 the problem as it is spoken when it opens ("Problem 1,
    //: digits 3, 1, 2, 4"). A braille display shows it beside the "=".
    return FillText(Tr("SpokenText", "= %1"), {ProblemSpeech(number, digits)});
}

std::string ResultSpeech(const EvalResult& r) {
    const ResultDisplay d = FormatResult(r);
    // An error has no points; its points label shows only dashes.
    if (r.status != EvalOk) {
        //: Spoken after "=" when the expression cannot be computed: %1 the error text.
        return FillText(Tr("SpokenText", "計算結果 %1、得点 なし"), {Trimmed(d.result.text)});
    }
    //: Spoken after "=": %1 the result, %2 its points.
    return FillText(Tr("SpokenText", "計算結果 %1、得点 %2"),
                    {Trimmed(d.result.text), Trimmed(d.points.text)});
}

std::string JoinedSpeech(const std::string& first, const std::string& second) {
    if (first.empty() || second.empty()) {
        return first + second;
    }
    //: Two spoken sentences in a row.
    return FillText(Tr("SpokenText", "%1。%2"), {first, second});
}

std::string ChooserListName() {
    //: Spoken name of an open chooser list.
    return Tr("SpokenText", "選択肢");
}

std::string HighScoreCellName(int row, bool scoreColumn) {
    if (scoreColumn) {
        //: Spoken name of a score in the high-score table: %1 the place.
        return WithNumber(Tr("SpokenText", "%1位のスコア"), row + 1);
    }
    //: Spoken name of a name in the high-score table: %1 the place.
    return WithNumber(Tr("SpokenText", "%1位の名前"), row + 1);
}

std::string HighScoreRowSpeech(int row, const std::string& name, int32_t score) {
    const std::string shown = Trimmed(name);
    const std::string rank = std::to_string(row + 1);
    if (shown.empty()) {
        //: Spoken high-score row without a name: %1 the place, %2 the score.
        return FillText(Tr("SpokenText", "%1位、%2点"), {rank, std::to_string(score)});
    }
    //: Spoken high-score row: %1 the place, %2 the name, %3 the score.
    return FillText(Tr("SpokenText", "%1位、%2、%3点"), {rank, shown, std::to_string(score)});
}

std::string HintSpeech(const std::string& labelName, const std::string& word) {
    //: Said as a hint sets a label: %1 the label, %2 what it shows now.
    return FillText(Tr("SpokenText", "ヒント: %1、%2"), {labelName, word});
}

std::string HintedLabelName(const std::string& name) {
    //: The name of a label a hint set: %1 its usual name.
    return FillText(Tr("SpokenText", "%1(ヒント)"), {name});
}

std::string FinalScoreSpeech(int32_t finalScore, int row) {
    const std::string score = std::to_string(finalScore);
    if (row < 0) {
        //: Spoken as the high-score table opens after a game: %1 the game's score (mean points per
        //: problem).
        return FillText(Tr("SpokenText", "今回のスコア %1、ハイスコアには入りませんでした"),
                        {score});
    }
    //: Spoken as the high-score table opens after a game: %1 the game's score, %2 its place.
    return FillText(Tr("SpokenText", "今回のスコア %1、%2位に入りました"),
                    {score, std::to_string(row + 1)});
}

} // namespace vostrel
