#pragma once
// The game as logic: problems, tries, grading, the game score, the end of a game, retry and
// exit, and the chooser lists of the game window. It owns the game's state as one value, reads
// and changes the settings of CGameApp, keeps the screen as a value and hands it to IGameView.

#include "app/CGameApp.h"
#include "engine/ExpressionModel.h"
#include "engine/ExpressionState.h"
#include "game/GameState.h"
#include "game/IGameView.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vostrel {

// A uniform source of integers 0..32767.
using RandomSource = std::function<int32_t()>;
// The C library's rand(); start-up seeds it once from the clock.
int32_t CRandSource();

class GameFlow {
public:
    GameFlow(CGameApp& app, IGameView& view, RandomSource random = CRandSource);

    // The end of the window's initialisation: the first game.
    void StartGame();
    // Goes on with a game kept earlier: the screen shows s as it stands, no list down.
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

    // The window's commands, from its buttons and its menu. TakeList only takes an open list,
    // before something the window does on its own.
    enum class Command { Evaluate, Retry, Grade, Settings, Exit, Close, ShowBest, TakeList };
    void Do(Command c);

    const Screen& Shown() const { return screen_; }
    const GameState& State() const { return state_; }
    ChooserKind OpenChooser() const { return screen_.list.kind; }

    // The best expression of the last graded problem (never the one on screen) in a message
    // box; nothing before the first grade.
    void ShowLastGradedBest();

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
    void ShowResult(const EvalResult& r);
    // Hands the screen to the window, before anything modal and at the end of each event.
    void Present();

    CGameApp& app_;
    IGameView& view_;
    RandomSource random_;
    GameState state_;
    Screen screen_;
};

} // namespace vostrel
