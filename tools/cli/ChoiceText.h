#pragma once
// The choices of an expression as the CLI prints them: "power=pppp op=oooo rank=rrrr".

#include "engine/ExpressionState.h"

#include <string>

namespace vostrel::cli {

std::string ChoiceText(const ExpressionState& s);

} // namespace vostrel::cli
