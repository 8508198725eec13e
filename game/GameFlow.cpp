#include "game/GameFlow.h"

#include "app/Tr.h"
#include "app/WinConstants.h"
#include "engine/Evaluator.h"
#include "engine/ExpressionModel.h"
#include "engine/ExpressionText.h"
#include "engine/PointRules.h"
#include "game/ControlIds.h"
#include "game/SpokenText.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

namespace vostrel {

namespace {

// Platform generators may be wider than 15 bits; only a whole number of 15-bit blocks keeps
// the reduction uniform.
static_assert(RAND_MAX >= 32767 && (static_cast<unsigned long long>(RAND_MAX) + 1) % 32768 == 0);

int32_t SaturatingAdd(int32_t a, int32_t b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Hides a list and returns its item. A list always holds a selection the flow preset; anything
// else keeps the current value.
int32_t CloseList(IGameView& view, int chooserId, int32_t items, int32_t current) {
    view.HideChooserList(chooserId);
    const int32_t selection = view.ChooserSelection(chooserId);
    return selection >= 0 && selection < items ? selection : current;
}

} // namespace

int32_t CRandSource() {
    return static_cast<int32_t>(std::rand() % 32768);
}

GameFlow::GameFlow(CGameApp& app, IGameView& view, RandomSource random)
    : app_(app), view_(view), random_(std::move(random)) {}

void GameFlow::StartGame() {
    RestartGame();
    app_.state.settingsChanged = kFlagOff;
}

void GameFlow::RestartGame() {
    app_.state.problemIndex = 0;
    app_.state.gameScore = 0;
    ShowProblemNumber();
    NewProblem();
}

void GameFlow::NewProblem() {
    ResetExpression(expr_, app_.settings.usePower);
    ShowLabels(kAllLabels);
    ApplyUsePower();
    tryCount_ = 0;
    DrawDigits();
    view_.SetLabelText(IDC_RESULT, "");
    view_.SetLabelAlign(IDC_POINTS, TextAlign::Right);
    view_.SetLabelText(IDC_POINTS, "0 ");
    app_.state.gameInProgress = kFlagOff;
    // A reader hears the digits; said first, so that "=" says them as it takes the focus.
    view_.Speak(ProblemSpeech(SpokenProblemNumber(app_), expr_.digits));
    // Every problem starts from "=", wherever the last one left the keyboard.
    view_.FocusEvaluateButton();
}

void GameFlow::DrawDigits() {
    for (int k = 0; k < kPositions; ++k) {
        const int64_t r = std::clamp<int64_t>(random_ ? random_() : 0, 0, 32767);
        expr_.digits[k] = static_cast<int32_t>(r * 10 / 32768);
        view_.SetLabelText(IDC_DIGIT0 + k, std::to_string(expr_.digits[k]));
    }
}

void GameFlow::ShowProblemNumber() {
    if (app_.settings.repeatCount <= 1) {
        view_.ShowLabel(IDC_PROBLEM_NO, false);
        return;
    }
    view_.SetLabelText(IDC_PROBLEM_NO, "No." + std::to_string(app_.state.problemIndex + 1));
    view_.ShowLabel(IDC_PROBLEM_NO, true);
}

void GameFlow::ApplyUsePower() {
    const bool on = app_.settings.usePower != kFlagOff;
    for (int k = 0; k < kPositions; ++k) {
        if (!on) {
            expr_.power[k] = PowNone;
            view_.SetLabelText(IDC_POWER0 + k, PowerText(PowNone));
        }
        expr_.powerOn[k] = on;
        view_.EnableLabel(IDC_POWER0 + k, on);
    }
}

void GameFlow::EvaluateTry() {
    CommitChooser();
    if (tryCount_ < points::kMaxTries) {
        ++tryCount_;
    }
    const EvalResult r = Evaluate(expr_, tryCount_, SwitchesOf(app_.settings));
    ShowResult(r);
    app_.state.gameInProgress = kFlagOn;
    view_.Speak(ResultSpeech(r));
}

void GameFlow::GradeProblem() {
    CommitChooser();
    // Grading is no try: the count stays.
    const EvalResult r = Evaluate(expr_, tryCount_, SwitchesOf(app_.settings));
    ShowResult(r);
    if (r.status != EvalOk) {
        //: Message box when Submit meets an expression that cannot be computed.
        view_.MessageBox(Tr("GameFlow", "エラー発生。式見直し後、採点してください。"),
                         //: Title of that message box.
                         Tr("GameFlow", "計算エラー"), MB_OK | MB_ICONERROR);
        return;
    }

    lastGraded_.valid = true;
    for (int k = 0; k < kPositions; ++k) {
        lastGraded_.digits[k] = expr_.digits[k];
    }
    lastGraded_.switches = {SwitchesOf(app_.settings), app_.settings.usePower};

    AppState& st = app_.state;
    st.gameScore = SaturatingAdd(st.gameScore, r.points);
    st.problemIndex += 1;
    if (st.problemIndex < app_.settings.repeatCount) {
        //: Message box after Submit: %1 the problem's points, %2 the game's total so far,
        //: %3 the next problem's number.
        view_.MessageBox(FillText(Tr("GameFlow", "今回のスコア:%1(%2)\n%3番目の計算を始めます。"),
                                  {std::to_string(r.points), std::to_string(st.gameScore),
                                   std::to_string(st.problemIndex + 1)}),
                         //: Title of that message box.
                         Tr("GameFlow", "次計算開始"), MB_OK | MB_ICONINFORMATION);
    } else {
        EndGame();
    }
    ShowProblemNumber();
    NewProblem();
}

void GameFlow::ShowLastGradedBest() {
    CommitChooser();
    if (!lastGraded_.valid) {
        return;
    }
    const Digits& d = lastGraded_.digits;
    const SolveResult best = Solve(d, lastGraded_.switches);
    std::string digits;
    for (int k = 0; k < kPositions; ++k) {
        digits += std::to_string(d[k]) + (k + 1 < kPositions ? " " : "");
    }
    //: Message box from the window menu: %1 the previous problem's digits, %2 its best
    //: expression, %3 the result, %4 the points.
    view_.MessageBox(FillText(Tr("GameFlow", "前の問題 %1 の最善解:\n%2 = %3\n得点: %4"),
                              {digits, FormatExpression(best.choice, Notation::Labels),
                               std::to_string(best.value), std::to_string(best.best)}),
                     //: Title of that message box.
                     Tr("GameFlow", "最善解"), MB_OK | MB_ICONINFORMATION);
}

void GameFlow::ShowVersion() {
    CommitChooser();
    view_.RunAboutDialog();
}

void GameFlow::EndGame() {
    AppState& st = app_.state;
    // Start-up and the settings dialog keep repeatCount at 1 or more; the guard keeps a
    // record built any other way from dividing by zero.
    const int32_t problems = std::max(app_.settings.repeatCount, 1);
    st.finalScore = st.gameScore / problems;
    const int32_t row = InsertHighScore(app_.settings.highScores, st.finalScore);
    if (row < 0) {
        st.hiScoreMode = HiScoreResult;
    } else {
        st.hiScoreMode = HiScoreEntry;
        st.hiScoreRow = row;
    }
    view_.RunHiScoreDialog();
    st.problemIndex = 0;
    st.gameScore = 0;
}

void GameFlow::RetryGame() {
    CommitChooser();
    //: Question before Restart during a game.
    if (IsGameRunning() &&
        view_.MessageBox(Tr("GameFlow", "実行中です。これまでの結果を破棄しますか。"),
                         //: Title of that question.
                         Tr("GameFlow", "結果破棄確認"), MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    RestartGame();
}

void GameFlow::RequestExit(int32_t result) {
    CommitChooser();
    //: Question before Exit (button, Esc, window menu) during a game.
    if (IsGameRunning() && view_.MessageBox(Tr("GameFlow", "終了しますか"),
                                            //: Title of that question.
                                            Tr("GameFlow", "終了確認"),
                                            MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    view_.EndDialog(result);
}

bool GameFlow::IsGameRunning() const {
    return vostrel::IsGameRunning(app_.state);
}

void GameFlow::OpenSettings() {
    CommitChooser();
    view_.RunSettingsDialog();
    if (app_.state.settingsChanged == kFlagOn) {
        RestartGame();
        app_.state.settingsChanged = kFlagOff;
    }
}

void GameFlow::OnLabelClicked(int id) {
    if (id >= IDC_POWER0 && id < IDC_POWER0 + kPositions) {
        if (expr_.powerOn[id - IDC_POWER0]) {
            PopUpChooser(id);
        } else {
            OnBackgroundClicked();
        }
    } else if (id >= IDC_OP0 && id < IDC_OP0 + kPositions) {
        PopUpChooser(id);
    } else if (id >= IDC_RANK0 && id < IDC_RANK0 + kPositions) {
        if (expr_.rankOn[id - IDC_RANK0]) {
            PopUpChooser(id);
        } else {
            OnBackgroundClicked();
        }
    } else if (id == IDC_RESULT) {
        EvaluateTry();
        view_.FocusEvaluateButton();
    } else {
        // The problem number, the points caption, the points and the digits report no clicks
        // of their own: the click lands on the background.
        OnBackgroundClicked();
    }
}

void GameFlow::OnBackgroundClicked() {
    CommitChooser();
    view_.FocusEvaluateButton();
}

void GameFlow::OnChooserClosed() {
    CommitChooser();
}

void GameFlow::PopUpChooser(int labelId) {
    CommitChooser();
    if (labelId >= IDC_POWER0 && labelId < IDC_POWER0 + kPositions) {
        const int k = labelId - IDC_POWER0;
        openChooser_ = ChooserPower;
        powerEditDigit_ = k;
        view_.ShowLabel(labelId, false);
        view_.PopUpChooserList(IDC_POWER_CHOOSER, labelId, expr_.power[k]);
    } else if (labelId == IDC_OP0) {
        openChooser_ = ChooserSign;
        opEditPos_ = 0;
        view_.ShowLabel(IDC_RANK0, false);
        view_.PopUpChooserList(IDC_SIGN_CHOOSER, labelId, expr_.op[0]);
    } else if (labelId > IDC_OP0 && labelId < IDC_OP0 + kPositions) {
        const int k = labelId - IDC_OP0;
        openChooser_ = ChooserOp;
        opEditPos_ = k;
        view_.ShowLabel(IDC_RANK0 + k, false);
        view_.PopUpChooserList(IDC_OP_CHOOSER, labelId, expr_.op[k]);
    } else if (labelId >= IDC_RANK0 && labelId < IDC_RANK0 + kPositions) {
        const int k = labelId - IDC_RANK0;
        openChooser_ = ChooserRank;
        rankEditPos_ = k;
        view_.ShowLabel(labelId, false);
        view_.PopUpChooserList(IDC_RANK_CHOOSER, labelId, expr_.rank[k]);
    }
}

void GameFlow::CommitChooser() {
    // Cleared first: hiding a list may report its closing, which must not commit twice.
    const int32_t open = std::exchange(openChooser_, ChooserNone);
    switch (open) {
    case ChooserPower: {
        const int k = std::exchange(powerEditDigit_, -1);
        const int32_t sel = CloseList(view_, IDC_POWER_CHOOSER, kPowerItems, expr_.power[k]);
        ShowLabels(SetPower(expr_, k, sel) | PowerLabelBit(k));
        view_.ShowLabel(IDC_POWER0 + k, true);
        break;
    }
    case ChooserSign: {
        const int32_t sel = CloseList(view_, IDC_SIGN_CHOOSER, kSignItems, expr_.op[0]);
        ShowLabels(SetSign(expr_, sel) | OpLabelBit(0));
        view_.ShowLabel(IDC_RANK0, true);
        break;
    }
    case ChooserOp: {
        const int k = opEditPos_;
        const int32_t sel = CloseList(view_, IDC_OP_CHOOSER, kOpItems, expr_.op[k]);
        ShowLabels(SetGapOp(expr_, k, sel, app_.settings.usePower) | OpLabelBit(k));
        view_.ShowLabel(IDC_RANK0 + k, true);
        break;
    }
    case ChooserRank: {
        const int k = rankEditPos_;
        const int32_t sel = CloseList(view_, IDC_RANK_CHOOSER, kRankItems, expr_.rank[k]);
        ShowLabels(SetRank(expr_, k, sel) | RankLabelBit(k));
        view_.ShowLabel(IDC_RANK0 + k, true);
        break;
    }
    default:
        return;
    }
    app_.state.gameInProgress = kFlagOn;
}

void GameFlow::ShowLabels(LabelMask mask) {
    for (int k = 0; k < kPositions; ++k) {
        if (mask & PowerLabelBit(k)) {
            view_.SetLabelText(IDC_POWER0 + k, PowerText(expr_.power[k]));
            view_.EnableLabel(IDC_POWER0 + k, expr_.powerOn[k]);
        }
        if (mask & OpLabelBit(k)) {
            view_.SetLabelText(IDC_OP0 + k, k == 0 ? SignText(expr_.op[0]) : OpText(expr_.op[k]));
        }
        if (mask & RankLabelBit(k)) {
            view_.SetLabelText(IDC_RANK0 + k, RankText(expr_.rank[k]));
            view_.EnableLabel(IDC_RANK0 + k, expr_.rankOn[k]);
        }
    }
}

void GameFlow::ShowResult(const EvalResult& r) {
    const ResultDisplay d = FormatResult(r);
    view_.SetLabelText(IDC_RESULT, d.result.text);
    view_.SetLabelAlign(IDC_RESULT, d.result.align);
    view_.SetLabelText(IDC_POINTS, d.points.text);
    view_.SetLabelAlign(IDC_POINTS, d.points.align);
}

} // namespace vostrel
