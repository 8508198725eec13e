#pragma once
// The game's help: the aim, how an expression is chosen, every point rule with its number from
// the point rules, the settings, the keys and where the settings file lives. Texts in the
// player's language; the window lays them out.

#include <cstdint>
#include <string>
#include <vector>

namespace vostrel {

// One row of the points table: what earns or costs points, and how many (signed).
struct HelpRule {
    std::string text;
    int32_t points = 0;
};

struct HelpSection {
    std::string title;
    std::vector<std::string> paragraphs;
    std::vector<HelpRule> rules; // only in the points section
};

// The sections in reading order; settingsPath is the file this run reads and writes.
std::vector<HelpSection> BuildHelp(const std::string& settingsPath);

} // namespace vostrel
