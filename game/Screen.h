#pragma once
// What the game window shows, as a value: the flow changes it after each event and the window
// draws it. Labels are addressed by row and position, never by the window's own control ids.

#include "engine/Evaluator.h"
#include "engine/ExpressionModel.h"
#include "engine/ExpressionState.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vostrel {

enum ChooserKind : int32_t {
    ChooserNone = 0,
    ChooserPower = 1,
    ChooserSign = 2,
    ChooserOp = 3,
    ChooserRank = 4,
};

// The clickable labels: the powers above the digits, the sign and the gaps between them
// (position 0 is the sign), and the ranks below.
enum class Row : int8_t { Power, Op, Rank };
constexpr int kRows = 3;

struct Slot {
    Row row = Row::Power;
    int pos = 0;

    friend bool operator==(const Slot&, const Slot&) = default;
};

struct LabelView {
    std::string text; // UTF-8
    std::string word; // what a reader says for the text; empty: the text itself
    std::string name; // what a reader calls the label
    TextAlign align = TextAlign::Center;
    bool visible = true;
    bool enabled = true;
    bool hinted = false; // a hint laid what it shows

    friend bool operator==(const LabelView&, const LabelView&) = default;
};

// The one list that may be dropped down, over or under the label that opened it.
struct ListView {
    ChooserKind kind = ChooserNone; // ChooserNone: no list is down
    Slot owner;                     // the label it chooses for
    Slot covered;                   // the label it hides while it is down
    int32_t selection = 0;          // its current item, a code of the expression
    uint32_t opening = 0;           // tells one opening of a list from the next

    friend bool operator==(const ListView&, const ListView&) = default;
};

struct Screen {
    LabelView problemNo{{}, {}, {}, TextAlign::Left, false, true};
    std::array<int32_t, kPositions> digits{};
    std::array<std::array<LabelView, kPositions>, kRows> labels{};
    LabelView result{{}, {}, {}, TextAlign::Right, true, true};
    LabelView points{{}, {}, {}, TextAlign::Right, true, true};
    // What a reader calls "=": the problem it computes, so a braille display shows the digits.
    std::string evaluateName;
    ListView list;

    // Effects of the last event, drawn once and then dropped: sentences a reader says where
    // the focus is, and "=" taking the focus.
    std::vector<std::string> speech;
    bool focusEvaluate = false;

    LabelView& operator[](Slot s) { return labels[static_cast<int>(s.row)][s.pos]; }
    const LabelView& operator[](Slot s) const { return labels[static_cast<int>(s.row)][s.pos]; }

    friend bool operator==(const Screen&, const Screen&) = default;
};

// The list a label drops, ChooserNone for none, and the label the list hides while it is
// down: a sign or gap list takes the place of the rank label under it.
ChooserKind ChooserOf(Slot s);
Slot CoveredBy(Slot s);
// A clickable label's bit in the model's label masks, and back.
LabelMask LabelOf(Slot s);
Slot SlotOfLabel(LabelMask bit);
// The item count of a list, and the text and the word of one item.
int32_t ChooserItems(ChooserKind kind);
const char* ChooserItemText(ChooserKind kind, int32_t code);

} // namespace vostrel
