#pragma once
// The game as logic: problems, tries, grading, the game score, the end of a game, retry and
// exit, and the chooser lists of the game window. It owns the expression and tryCount, works
// over the records of CGameApp and reaches the window only through IGameView.

#include "app/CGameApp.h"
#include "engine/ExpressionModel.h"
#include "engine/ExpressionState.h"
#include "game/IGameView.h"
#include "search/Solver.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vostrel {

enum ChooserKind : int32_t {
    ChooserNone = 0,
    ChooserPower = 1,
    ChooserSign = 2,
    ChooserOp = 3,
    ChooserRank = 4,
};

// The problem graded last, with the switches it was graded under.
struct GradedProblem {
    bool valid = false; // false until the first successful grade
    Digits digits = {0, 0, 0, 0};
    SolveSwitches switches;
};

// A uniform source of integers 0..32767.
using RandomSource = std::function<int32_t()>;
// The C library's rand(); start-up seeds it once from the clock.
int32_t CRandSource();

class GameFlow {
public:
    GameFlow(CGameApp& app, IGameView& view, RandomSource random = CRandSource);

    // The end of the window's initialisation: RestartGame, then settingsChanged = 0.
    void StartGame();

    void RestartGame();
    void NewProblem();
    void DrawDigits();
    void ShowProblemNumber();
    void ApplyUsePower();
    void EvaluateTry();
    void GradeProblem();
    void RetryGame();
    void RequestExit(int32_t result); // IDOK or IDCANCEL
    bool IsGameRunning() const;
    void OpenSettings();

    // Window events, each routed as the window's command table says.
    void OnLabelClicked(int id);    // any label or the result label, by ControlId
    void OnBackgroundClicked();     // the background, or a label that reports no clicks
    void OnChooserClosed();         // a list closed with or without a choice
    void PopUpChooser(int labelId); // power, sign, gap or rank label
    void CommitChooser();

    const ExpressionState& Expression() const { return expr_; }
    int32_t TryCount() const { return tryCount_; }
    int32_t OpenChooser() const { return openChooser_; }
    const GradedProblem& LastGraded() const { return lastGraded_; }

    // The best expression of the last graded problem (never the one on screen) in a message
    // box; nothing before the first grade.
    void ShowLastGradedBest();
    // The version dialog of the window menu.
    void ShowVersion();

private:
    void EndGame();
    // Re-texts the labels in the mask and sets their enabled states from the expression.
    void ShowLabels(LabelMask mask);
    void ShowResult(const EvalResult& r);

    CGameApp& app_;
    IGameView& view_;
    RandomSource random_;
    ExpressionState expr_;
    int32_t tryCount_ = 0;
    int32_t openChooser_ = ChooserNone;
    int32_t powerEditDigit_ = -1;
    int32_t opEditPos_ = 0;
    int32_t rankEditPos_ = 0;
    GradedProblem lastGraded_;
};

} // namespace vostrel
