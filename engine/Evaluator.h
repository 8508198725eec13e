#pragma once
// Evaluation of a whole expression by its ranks, with the points it earns, and the texts that
// the result and points labels show for it.

#include "engine/Arithmetic.h"
#include "engine/ExpressionState.h"

#include <cstdint>
#include <string>

namespace vostrel {

// No heap allocation: safe for hot loops. Defined for every rank permutation; a field outside its
// range, or tryCount outside 0..10, gives EvalBadInput.
EvalResult Evaluate(const ExpressionState& s, int32_t tryCount, const ScoreSwitches& sw);

enum class TextAlign { Left, Center, Right };

struct LabelText {
    std::string text;
    TextAlign align = TextAlign::Left;

    friend bool operator==(const LabelText&, const LabelText&) = default;
};

struct ResultDisplay {
    LabelText result; // the result label
    LabelText points; // the points label
};

ResultDisplay FormatResult(const EvalResult& r);

} // namespace vostrel
