#pragma once
// The game as it stands, one plain value that the game flow owns: the problem on screen (its
// digits and the player's choices), its tries and hints, where the game is (the problem's
// number, the points of the problems graded before it) and the problem graded last. Nothing
// else of a game lives anywhere: a game is kept by keeping this value, and two of them compare
// with ==. The settings (repeat count, switches, high scores) are not part of it.

#include "app/SettingsRecord.h"
#include "engine/ExpressionModel.h"
#include "engine/ExpressionState.h"
#include "search/Solver.h"

#include <array>
#include <cstdint>

namespace vostrel {

// The problem graded last, with the switches it was graded under.
struct GradedProblem {
    bool valid = false; // false until the first successful grade of this run
    Digits digits = {0, 0, 0, 0};
    SolveSwitches switches;

    friend bool operator==(const GradedProblem&, const GradedProblem&) = default;
};

// A problem of this game as it was graded: what the player's own record keeps of it.
struct ProblemResult {
    int32_t value = 0; // the result graded (a grade that cannot be computed is no grade)
    int32_t points = 0;
    int32_t tries = 0;
    int32_t hints = 0;

    friend bool operator==(const ProblemResult&, const ProblemResult&) = default;
};

struct GameState {
    ExpressionState expr;     // the digits and every choice around them
    int32_t tries = 0;        // presses of "=" on this problem, 0..points::kMaxTries
    int32_t hints = 0;        // hints taken on this problem
    LabelMask hinted = 0;     // labels a hint set that the player has not chosen again since
    bool touched = false;     // this problem was changed or evaluated since it was set up
    int32_t problemIndex = 0; // problems graded in this game; the one on screen is this + 1
    int32_t gameScore = 0;    // the points of those problems, added
    // Those problems one by one, [0, problemIndex); a file may ask for more problems than
    // this holds, and those beyond it are only added to gameScore.
    std::array<ProblemResult, kMaxRepeatCount> graded{};
    GradedProblem lastGraded;

    friend bool operator==(const GameState&, const GameState&) = default;
};

// A game is under way once the problem on screen was touched or a problem was graded; retry,
// exit and the settings ask before they throw such a game away.
inline bool IsGameRunning(const GameState& s) {
    return s.touched || s.problemIndex > 0;
}

} // namespace vostrel
