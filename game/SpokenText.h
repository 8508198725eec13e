#pragma once
// Every word a screen reader says for the game: which control a label is (with the digit it
// belongs to), each chooser item as a word (the item texts "", "√", " " read as nothing at all),
// the sentences said when a problem starts and after "=", and the high-score table. UTF-8.

#include "game/Screen.h"

#include <cstdint>
#include <string>

namespace vostrel {

class CGameApp;
struct EvalResult;

// The word for item `code` of a chooser; empty for a code outside the list.
std::string ChooserItemWord(ChooserKind kind, int32_t code);

// Which label a slot is, with the digits of the problem that it belongs to:
// "2番目の数字8のべき乗", "1番目の数字3の符号", "1番目の演算子（3と8の間）",
// "1番目の演算子の計算順位".
std::string SlotName(Slot s, const int32_t (&digits)[4]);
// The names of the result and points displays.
std::string ResultName();
std::string PointsName();

// The number of the problem on screen as a reader hears it: 1-based; 0 when the game has a
// single problem.
int SpokenProblemNumber(int32_t repeatCount, int32_t problemIndex);

// Said when a problem starts: its number (as SpokenProblemNumber) and its digits, e.g.
// "2問目、数字 3、8、1、5".
std::string ProblemSpeech(int number, const int32_t (&digits)[4]);

// What "=" is called: its glyph, then the problem it computes as ProblemSpeech says it, so that
// a braille display shows the digits beside it.
std::string EvaluateButtonName(int number, const int32_t (&digits)[4]);

// Said after "=": what the result label and the points label show for r (a value or an error
// text).
std::string ResultSpeech(const EvalResult& r);

// Said as a hint lays a label: the label's name and the word of its new item, e.g.
// "ヒント: 2番目の演算子（3と1の間）、掛ける".
std::string HintSpeech(const std::string& labelName, const std::string& word);
// The name of a label that a hint laid, for as long as it shows the hint's item.
std::string HintedLabelName(const std::string& name);

// Two sentences said one after the other.
std::string JoinedSpeech(const std::string& first, const std::string& second);

// What a dropped list of choices is called; the combo box that holds it says whose it is.
std::string ChooserListName();

// A high-score cell: row 0..4, the name column or the score column.
std::string HighScoreCellName(int row, bool scoreColumn);

// A whole row of the high-score table, read as one: "1位、はなこ、800点".
std::string HighScoreRowSpeech(int row, const std::string& name, int32_t score);

// The final score beside the table: the row it entered (0..4, or -1 for none), e.g.
// "今回のスコア 800、1位に入りました".
std::string FinalScoreSpeech(int32_t finalScore, int row);

} // namespace vostrel
