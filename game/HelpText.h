#pragma once
// The game's help: the aim, how an expression is chosen, every point rule with its number from
// the point rules, the settings with their ranges and defaults, the keys and where the settings
// file lives. The examples are computed by the engine as the help is built, so they show what
// the game does. Texts in the player's language; the window lays them out.

#include "engine/Arithmetic.h"
#include "engine/ExpressionState.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vostrel {

// One row of the points table: what earns or costs points, and how many (signed).
struct HelpRule {
    std::string text;
    int32_t points = 0;
};

// One computation an example shows: the expression and what Evaluate gave for it.
struct HelpCase {
    ExpressionState state;
    int32_t tryCount = 0;
    ScoreSwitches switches;
    EvalResult result;
    bool showsPoints = false; // the example quotes the points, else the value
};

// A worked example: its paragraph (one of its section's paragraphs) and what it computes.
struct HelpExample {
    std::string text;
    std::vector<HelpCase> cases;
};

struct HelpSection {
    std::string title;
    std::vector<std::string> paragraphs;
    std::vector<HelpRule> rules;    // only in the points section
    std::vector<std::string> notes; // after the rules
    std::vector<HelpExample> examples;
};

// The sections in reading order; settingsPath is the file this run reads and writes.
std::vector<HelpSection> BuildHelp(const std::string& settingsPath);

} // namespace vostrel
