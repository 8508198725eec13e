#pragma once
// An expression as infix text in the order its ranks compute it: only the parentheses that
// the usual reading would otherwise get wrong, powers as sqrt(x), cbrt(x), x^2 and x^3, the
// sign as a leading "-", joined digits as one number.

#include "engine/ExpressionState.h"

#include <string>

namespace vostrel {

// Empty for a state that Evaluate would refuse as malformed.
std::string FormatExpression(const ExpressionState& s);

} // namespace vostrel
