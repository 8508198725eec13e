#pragma once
// What a screen reader says for the game window's controls: which control a label is, and each
// chooser item as a word (the item texts "", "√", " " read as nothing at all).

#include <cstdint>
#include <string>

namespace vostrel {

// The chooser a clickable label opens (IDC_*_CHOOSER), or 0 for any other control.
int ChooserOfLabel(int labelId);

// The word for item `code` of a chooser; empty for a code outside the list.
std::string ChooserItemWord(int chooserId, int32_t code);

// Which control the label, result or points display is, e.g. "符号" or "2番目の数字のべき乗";
// empty for any other id.
std::string ControlName(int id);

// A high-score cell: row 0..4, the name column or the score column.
std::string HighScoreCellName(int row, bool scoreColumn);

} // namespace vostrel
