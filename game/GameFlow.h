#pragma once
// The game as logic: problems, tries, grading, the game score, the end of a game, retry and
// exit, and the chooser lists of the game window. It owns the game's state as one value, reads
// and changes the settings of CGameApp, keeps the screen as a value and hands it to IGameView.

#include "app/CGameApp.h"
#include "engine/ExpressionModel.h"
#include "engine/ExpressionState.h"
#include "game/GameCommands.h"
#include "game/GameState.h"
#include "game/IGameView.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace vostrel {

// A uniform source of integers 0..32767.
using RandomSource = std::function<int32_t()>;
// The C library's rand(); start-up seeds it once from the clock.
int32_t CRandSource();

class GameFlow {
public:
    GameFlow(CGameApp& app, IGameView& view, RandomSource random = CRandSource);

    // The end of the window's initialisation: the game kept at the last end goes on, or a
    // new one starts (with a box saying why, when a kept one could not be used).
    void StartGame();
    // Goes on with a game kept earlier: the screen shows s as it stands, no list down, the
    // result of its last "=" when it has tries; a box with its problem says so when s was
    // under way, else its problem is announced as a new one's.
    void Resume(const GameState& s);

    void RestartGame();
    void EvaluateTry();
    void GradeProblem();
    void RetryGame();
    void RequestExit(int32_t result); // IDOK or IDCANCEL
    bool IsGameRunning() const;
    void OpenSettings();

    // The window's events. Each takes an open list first and draws the new screen.
    void OnSlotClicked(Slot s);
    void OnResultClicked();          // evaluates like "=", which takes the focus
    void OnBackgroundClicked();      // the background, or a label that reports no clicks
    void OnItemChosen(int32_t item); // the open list's current item changed
    void OnChooserClosed();          // the list closed, with or without a choice
    void CommitChooser();

    // The window's commands, from its buttons and its menu.
    void Do(Command c);
    // Whether the command can be given now, by its rule in the table.
    bool Enabled(Command c) const;

    const Screen& Shown() const { return screen_; }
    const GameState& State() const { return state_; }
    ChooserKind OpenChooser() const { return screen_.list.kind; }

    // The best expression of the last graded problem (never the one on screen) in a message
    // box; nothing before the first grade.
    void ShowLastGradedBest();
    // Help on the problem on screen, at a price: first whether 10 can be made and the most
    // points, then one label of the best expression at a time; then a box that none is left.
    void TakeHint();

private:
    void Restart();
    void NewProblem();
    void DrawDigits();
    void ShowDigits();
    void ShowProblemNumber();
    void ApplyUsePower();
    void Try();
    void Take();
    void PopUpChooser(Slot s);
    void EndGame();
    // The game into the player's record: finished, or given up for another.
    void Record(bool finished, int32_t finalScore);
    void GiveUp();
    // Re-texts the labels in the mask and sets their enabled states from the expression.
    void ShowLabels(LabelMask mask);
    // What a reader calls a label: which one it is, and whether a hint laid it.
    std::string LabelName(Slot s) const;
    void ShowResult(const EvalResult& r);
    // The evaluation of the labels as they stand, its points less the hints' price.
    EvalResult EvaluateNow() const;
    // The best expression for the problem on screen under the settings, solved once a problem.
    const SolveResult& Best();
    // Writes the game's file when the state changed since it was last written.
    void Keep();
    // Hands the screen to the window, before anything modal and at the end of each event.
    void Present();

    CGameApp& app_;
    IGameView& view_;
    RandomSource random_;
    GameState state_;
    Screen screen_;
    // The problem and switches best_ was solved for.
    std::optional<std::pair<Digits, SolveSwitches>> bestFor_;
    SolveResult best_;
    std::optional<GameState> kept_;
    bool keepFailureShown_ = false;
};

} // namespace vostrel
