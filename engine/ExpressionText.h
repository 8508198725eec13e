#pragma once
// An expression as infix text in the order its ranks compute it: only the parentheses that
// the usual reading would otherwise get wrong, the sign as a leading "-", joined digits as one
// number, the operators as the gap labels show them.

#include "engine/ExpressionState.h"

#include <string>

namespace vostrel {

// Powers in ASCII for scripts (sqrt(x), cbrt(x), x^2, x^3), or as the player reads them beside
// the labels (√x, x^(1/3), x^2, x^3; UTF-8).
enum class Notation { Ascii, Labels };

// Empty for a state that Evaluate would refuse as malformed.
std::string FormatExpression(const ExpressionState& s, Notation notation = Notation::Ascii);

} // namespace vostrel
