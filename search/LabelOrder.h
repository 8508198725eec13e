#pragma once
// How a choice set is laid on the screen one label at a time, through the model's own
// operations, from whatever the labels show now: the sign and the gaps left to right first (a
// join or its release moves powers and ranks, which are laid after it), then the powers left to
// right, then the ranks in the order they are computed. A label once laid stays as it is while
// the later ones are laid, so the labels reach the choice set after at most one step per label.

#include "engine/ExpressionModel.h"
#include "engine/ExpressionState.h"

#include <cstdint>
#include <optional>

namespace vostrel {

// One label and the code it is to show.
struct LabelChoice {
    LabelMask label = 0; // a single bit of ExpressionModel's label bits
    int32_t code = 0;

    friend bool operator==(const LabelChoice&, const LabelChoice&) = default;
};

// The first label, in the order above, whose code in s differs from target's; nothing when the
// labels show target. target is a choice set the window can build with usePower.
std::optional<LabelChoice> NextLabel(const ExpressionState& s, const ExpressionState& target);

// Makes the choice as the window's chooser list does; returns the labels that changed.
LabelMask ApplyLabel(ExpressionState& s, const LabelChoice& c, int32_t usePower);

} // namespace vostrel
