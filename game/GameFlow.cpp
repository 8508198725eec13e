#include "game/GameFlow.h"

#include "app/SaveFailure.h"
#include "app/Tr.h"
#include "app/WinConstants.h"
#include "engine/Evaluator.h"
#include "engine/ExpressionModel.h"
#include "engine/ExpressionText.h"
#include "engine/PointRules.h"
#include "game/GameScore.h"
#include "game/SavedGame.h"
#include "game/SpokenText.h"
#include "search/LabelOrder.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <utility>

namespace vostrel {

namespace {

// Platform generators may be wider than 15 bits; only a whole number of 15-bit blocks keeps
// the reduction uniform.
static_assert(RAND_MAX >= 32767 && (static_cast<unsigned long long>(RAND_MAX) + 1) % 32768 == 0);

// The item a closed list leaves. A list always holds a selection the flow preset; anything
// else keeps the current value.
int32_t Taken(const ListView& list, int32_t current) {
    return list.selection >= 0 && list.selection < ChooserItems(list.kind) ? list.selection
                                                                           : current;
}

} // namespace

int32_t CRandSource() {
    return static_cast<int32_t>(std::rand() % 32768);
}

namespace {

// A label shows an item of its list; a reader says that item's word.
void Show(LabelView& label, ChooserKind kind, int32_t code) {
    label.text = ChooserItemText(kind, code);
    label.word = ChooserItemWord(kind, code);
}

} // namespace

GameFlow::GameFlow(CGameApp& app, IGameView& view, RandomSource random)
    : app_(app), view_(view), random_(std::move(random)) {}

void GameFlow::StartGame() {
    if (app_.keptGameReason == ENOENT) {
        RestartGame();
        return;
    }
    GameState kept;
    std::string why;
    if (app_.keptGameReason != 0) {
        //: Message box at start: the kept game's file could not be read. %1 its path, %2 why.
        why =
            FillText(Tr("GameFlow",
                        "前回のゲームのファイルを読めないので、新しいゲームを始めます。\n\n%1\n%2"),
                     {app_.gamePath, FileReasonText(app_.keptGameReason, true)});
    } else {
        switch (ParseSavedGame(app_.keptGame, app_.settings, kept)) {
        case SavedGameStatus::Ok:
            break;
        case SavedGameStatus::Damaged:
            //: Message box at start: the kept game's file is not what the game writes. %1 its path.
            why = FillText(
                Tr("GameFlow",
                   "前回のゲームのファイルが壊れているので、新しいゲームを始めます。\n\n%1"),
                {app_.gamePath});
            break;
        case SavedGameStatus::Impossible:
            //: Message box at start: the kept game's file holds a game that cannot happen
            //: (edited by hand, or the settings changed since). %1 its path.
            why = FillText(Tr("GameFlow", "前回のゲームのファイルにありえない内容があるので、新しい"
                                          "ゲームを始めます。\n\n%1"),
                           {app_.gamePath});
            break;
        case SavedGameStatus::Newer:
            //: Message box at start: the kept game's file comes from a later version. %1 its path.
            why = FillText(Tr("GameFlow", "前回のゲームのファイルは新しい版の Vostrel "
                                          "で書かれているので、新しいゲームを始めます。\n\n%1"),
                           {app_.gamePath});
            break;
        }
    }
    if (why.empty()) {
        Resume(kept);
        return;
    }
    //: Title of the message boxes about the kept game's file.
    view_.MessageBox(why, Tr("GameFlow", "前回のゲーム"), MB_OK | MB_ICONEXCLAMATION);
    RestartGame();
}

void GameFlow::Resume(const GameState& s) {
    screen_.list.kind = ChooserNone;
    state_ = s;
    ShowProblemNumber();
    ShowLabels(kAllLabels);
    ShowDigits();
    if (state_.tries > 0) {
        // What the last "=" showed, when the expression has not changed since.
        ShowResult(Evaluate(state_.expr, state_.tries, SwitchesOf(app_.settings)));
    } else {
        screen_.result.text.clear();
        screen_.points.align = TextAlign::Right;
        screen_.points.text = "0 ";
    }
    const int number = SpokenProblemNumber(app_.settings.repeatCount, state_.problemIndex);
    const std::string problem = ProblemSpeech(number, state_.expr.digits);
    screen_.evaluateName = EvaluateButtonName(number, state_.expr.digits);
    screen_.focusEvaluate = true;
    if (!IsGameRunning()) {
        // Nothing was done yet: the problem starts as any new one, with the digits it had.
        screen_.speech.push_back(problem);
        Present();
        return;
    }
    Present();
    //: Message box at start when the game left at the last end goes on. %1 the problem as a
    //: reader hears it when it starts.
    view_.MessageBox(FillText(Tr("GameFlow", "前回のゲームの続きです。\n%1"), {problem}),
                     Tr("GameFlow", "前回のゲーム"), MB_OK | MB_ICONINFORMATION);
    screen_.focusEvaluate = true;
    Present();
}

void GameFlow::RestartGame() {
    Restart();
    Present();
}

void GameFlow::Restart() {
    state_.problemIndex = 0;
    state_.gameScore = 0;
    state_.graded = {};
    ShowProblemNumber();
    NewProblem();
}

void GameFlow::NewProblem() {
    ResetExpression(state_.expr, app_.settings.usePower);
    state_.tries = 0;
    state_.hints = 0;
    state_.hinted = 0;
    ShowLabels(kAllLabels);
    ApplyUsePower();
    DrawDigits();
    screen_.result.text.clear();
    screen_.points.align = TextAlign::Right;
    screen_.points.text = "0 ";
    state_.touched = false;
    // A reader hears the digits, said by "=" as it takes the focus; "=" is named after them.
    const int number = SpokenProblemNumber(app_.settings.repeatCount, state_.problemIndex);
    screen_.speech.push_back(ProblemSpeech(number, state_.expr.digits));
    screen_.evaluateName = EvaluateButtonName(number, state_.expr.digits);
    // Every problem starts from "=", wherever the last one left the keyboard.
    screen_.focusEvaluate = true;
}

void GameFlow::DrawDigits() {
    for (int k = 0; k < kPositions; ++k) {
        const int64_t r = std::clamp<int64_t>(random_ ? random_() : 0, 0, 32767);
        state_.expr.digits[k] = static_cast<int32_t>(r * 10 / 32768);
    }
    ShowDigits();
}

void GameFlow::ShowDigits() {
    for (int k = 0; k < kPositions; ++k) {
        screen_.digits[k] = state_.expr.digits[k];
    }
    // The labels that belong to a digit name it.
    for (int r = 0; r < kRows; ++r) {
        for (int k = 0; k < kPositions; ++k) {
            const Slot s{static_cast<Row>(r), k};
            screen_[s].name = LabelName(s);
        }
    }
    screen_.result.name = ResultName();
    screen_.points.name = PointsName();
}

void GameFlow::ShowProblemNumber() {
    if (app_.settings.repeatCount <= 1) {
        screen_.problemNo.visible = false;
        return;
    }
    screen_.problemNo.text = "No." + std::to_string(state_.problemIndex + 1);
    screen_.problemNo.visible = true;
}

void GameFlow::ApplyUsePower() {
    const bool on = app_.settings.usePower != kFlagOff;
    for (int k = 0; k < kPositions; ++k) {
        LabelView& label = screen_[{Row::Power, k}];
        if (!on) {
            state_.expr.power[k] = PowNone;
            label.text = PowerText(PowNone);
            label.word = ChooserItemWord(ChooserPower, PowNone);
        }
        state_.expr.powerOn[k] = on;
        label.enabled = on;
    }
}

void GameFlow::EvaluateTry() {
    Try();
    Present();
}

void GameFlow::Try() {
    Take();
    if (state_.tries < points::kMaxTries) {
        ++state_.tries;
    }
    const EvalResult r = EvaluateNow();
    ShowResult(r);
    state_.touched = true;
    screen_.speech.push_back(ResultSpeech(r));
}

void GameFlow::GradeProblem() {
    Take();
    // Grading is no try: the count stays.
    const EvalResult r = EvaluateNow();
    ShowResult(r);
    Present();
    if (r.status != EvalOk) {
        //: Message box when Submit meets an expression that cannot be computed.
        view_.MessageBox(Tr("GameFlow", "エラー発生。式見直し後、採点してください。"),
                         //: Title of that message box.
                         Tr("GameFlow", "計算エラー"), MB_OK | MB_ICONERROR);
        return;
    }

    GradedProblem& graded = state_.lastGraded;
    graded.valid = true;
    for (int k = 0; k < kPositions; ++k) {
        graded.digits[k] = state_.expr.digits[k];
    }
    graded.switches = {SwitchesOf(app_.settings), app_.settings.usePower};

    GameState& st = state_;
    if (st.problemIndex >= 0 && st.problemIndex < static_cast<int32_t>(st.graded.size())) {
        st.graded[static_cast<size_t>(st.problemIndex)] = {r.value, r.points, st.tries, st.hints};
    }
    st.gameScore = SaturatingAdd(st.gameScore, r.points);
    st.problemIndex += 1;
    if (st.problemIndex < app_.settings.repeatCount) {
        //: Message box after Submit: %1 the problem's points, %2 the game's total so far,
        //: %3 the next problem's number.
        std::string text = FillText(Tr("GameFlow", "今回のスコア:%1(%2)\n%3番目の計算を始めます。"),
                                    {std::to_string(r.points), std::to_string(st.gameScore),
                                     std::to_string(st.problemIndex + 1)});
        if (st.hints > 0) {
            //: A line after it when hints were taken: %1 how many, %2 the points they cost.
            text += "\n" + FillText(Tr("GameFlow", "ヒント %1回: %2点"),
                                    {std::to_string(st.hints),
                                     std::to_string(points::HintedPoints(0, st.hints))});
        }
        view_.MessageBox(text,
                         //: Title of that message box.
                         Tr("GameFlow", "次計算開始"), MB_OK | MB_ICONINFORMATION);
    } else {
        EndGame();
    }
    ShowProblemNumber();
    NewProblem();
    Present();
}

void GameFlow::ShowLastGradedBest() {
    CommitChooser();
    const GradedProblem& graded = state_.lastGraded;
    if (!graded.valid) {
        return;
    }
    const Digits& d = graded.digits;
    const SolveResult best = Solve(d, graded.switches);
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

void GameFlow::TakeHint() {
    Take();
    const SolveResult& best = Best();
    if (state_.hints == 0) {
        state_.hints = 1;
        state_.touched = true;
        Present();
        const char* const text =
            best.tens > 0
                //: Message box of the first hint when 10 can be made: %1 the most points these
                //: digits earn under the settings (before the hints' price), %2 the result.
                ? VOSTREL_TR_NOOP("GameFlow",
                                  "この数字で10を作れます。最高得点は%1点(結果 %2)です。")
                //: The same when 10 cannot be made.
                : VOSTREL_TR_NOOP("GameFlow",
                                  "この数字では10を作れません。最高得点は%1点(結果 %2)です。");
        view_.MessageBox(
            FillText(Tr("GameFlow", text), {std::to_string(best.best), std::to_string(best.value)}),
            //: Title of the hints' message boxes.
            Tr("GameFlow", "ヒント"), MB_OK | MB_ICONINFORMATION);
        return;
    }
    const std::optional<LabelChoice> next = NextLabel(state_.expr, best.choice);
    const LabelMask changed =
        next ? ApplyLabel(state_.expr, *next, app_.settings.usePower) : LabelMask{0};
    if (changed == 0) {
        // Nothing left to lay: free of charge.
        Present();
        //: Message box when every label shows the best expression already.
        view_.MessageBox(Tr("GameFlow", "ヒントはもうありません。いまの式が最高得点の式です。"),
                         Tr("GameFlow", "ヒント"), MB_OK | MB_ICONINFORMATION);
        return;
    }
    state_.hints += 1;
    state_.touched = true;
    state_.hinted = (state_.hinted & ~changed) | next->label;
    ShowLabels(changed | next->label);
    const Slot slot = SlotOfLabel(next->label);
    screen_.speech.push_back(HintSpeech(SlotName(slot, state_.expr.digits),
                                        ChooserItemWord(ChooserOf(slot), next->code)));
    Present();
}

const SolveResult& GameFlow::Best() {
    Digits digits{};
    for (int k = 0; k < kPositions; ++k) {
        digits[k] = state_.expr.digits[k];
    }
    const SolveSwitches sw{SwitchesOf(app_.settings), app_.settings.usePower};
    if (!bestFor_ || bestFor_->first != digits || !(bestFor_->second == sw)) {
        best_ = Solve(digits, sw);
        bestFor_ = std::pair{digits, sw};
    }
    return best_;
}

EvalResult GameFlow::EvaluateNow() const {
    EvalResult r = Evaluate(state_.expr, state_.tries, SwitchesOf(app_.settings));
    if (r.status == EvalOk) {
        r.points = points::HintedPoints(r.points, state_.hints);
    }
    return r;
}

void GameFlow::EndGame() {
    // Start-up and the settings dialog keep repeatCount at 1 or more; the guard keeps a
    // record built any other way from dividing by zero.
    const int32_t problems = std::max(app_.settings.repeatCount, 1);
    GameEnd end;
    end.finalScore = state_.gameScore / problems;
    end.row = InsertHighScore(app_.settings.highScores, end.finalScore);
    end.table = app_.settings.highScores;
    const std::optional<StoredName> name = view_.AskName(end);
    if (name && end.row >= 0) {
        app_.settings.highScores.name[end.row] = name->bytes;
        app_.settings.highScores.fullName[end.row] = name->full;
    }
    Record(true, end.finalScore);
    state_.problemIndex = 0;
    state_.gameScore = 0;
    state_.graded = {};
}

void GameFlow::Record(bool finished, int32_t finalScore) {
    HistoryGame g;
    g.date = app_.today ? app_.today() : 0;
    g.set = SetOf(app_.settings);
    g.finished = finished;
    g.finalScore = finalScore;
    const int32_t kept = std::min(state_.problemIndex, static_cast<int32_t>(state_.graded.size()));
    for (int32_t i = 0; i < kept; ++i) {
        const ProblemResult& p = state_.graded[static_cast<size_t>(i)];
        g.problems.push_back({p.points, p.value, p.tries, p.hints});
    }
    if (const std::optional<std::string> failure = app_.RecordGame(g)) {
        //: Title of the message box when the record of games cannot be saved.
        view_.MessageBox(*failure, Tr("GameFlow", "成績ファイルエラー"), MB_OK | MB_ICONERROR);
    }
}

void GameFlow::GiveUp() {
    // A game given up after a graded problem is played, not finished.
    if (state_.problemIndex > 0) {
        Record(false, 0);
    }
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
    GiveUp();
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
    return vostrel::IsGameRunning(state_);
}

void GameFlow::OpenSettings() {
    CommitChooser();
    if (const std::optional<SettingsRecord> applied =
            view_.AskSettings(app_.settings, IsGameRunning())) {
        GiveUp();
        app_.settings = *applied;
        RestartGame();
    }
}

void GameFlow::OnSlotClicked(Slot s) {
    const bool on = s.row == Row::Power  ? state_.expr.powerOn[s.pos]
                    : s.row == Row::Rank ? state_.expr.rankOn[s.pos]
                                         : true;
    Take();
    if (on) {
        PopUpChooser(s);
    } else {
        // A disabled label's click lands on the background.
        screen_.focusEvaluate = true;
    }
    Present();
}

void GameFlow::OnResultClicked() {
    Try();
    screen_.focusEvaluate = true;
    Present();
}

void GameFlow::OnBackgroundClicked() {
    Take();
    screen_.focusEvaluate = true;
    Present();
}

void GameFlow::OnItemChosen(int32_t item) {
    // The window reports its list's item as it changes; the commit takes it.
    if (screen_.list.kind != ChooserNone) {
        screen_.list.selection = item;
    }
}

void GameFlow::OnChooserClosed() {
    CommitChooser();
}

void GameFlow::PopUpChooser(Slot s) {
    const int k = s.pos;
    ListView& list = screen_.list;
    list.kind = ChooserOf(s);
    list.owner = s;
    list.covered = CoveredBy(s);
    switch (list.kind) {
    case ChooserPower:
        list.selection = state_.expr.power[k];
        break;
    case ChooserSign:
    case ChooserOp:
        list.selection = state_.expr.op[k];
        break;
    case ChooserRank:
        list.selection = state_.expr.rank[k];
        break;
    case ChooserNone:
        return;
    }
    ++list.opening;
    screen_[list.covered].visible = false;
}

void GameFlow::Do(Command c) {
    switch (c) {
    case Command::Evaluate:
        EvaluateTry();
        break;
    case Command::Retry:
        RetryGame();
        break;
    case Command::Grade:
        GradeProblem();
        break;
    case Command::Settings:
        OpenSettings();
        break;
    case Command::Exit:
        RequestExit(IDOK);
        break;
    case Command::Close:
        RequestExit(IDCANCEL);
        break;
    case Command::ShowBest:
        ShowLastGradedBest();
        break;
    case Command::Hint:
        TakeHint();
        break;
    case Command::Minimise: // the window minimises itself after
    case Command::TakeList:
        CommitChooser();
        break;
    }
}

bool GameFlow::Enabled(Command c) const {
    const CommandDef& def = CommandOf(c);
    return def.id != c || def.enabled == nullptr || def.enabled(state_);
}

void GameFlow::CommitChooser() {
    Take();
    Present();
}

void GameFlow::Take() {
    ListView& list = screen_.list;
    const int k = list.owner.pos;
    LabelMask changed = 0;
    LabelMask own = 0;
    switch (list.kind) {
    case ChooserPower:
        changed = SetPower(state_.expr, k, Taken(list, state_.expr.power[k]));
        own = PowerLabelBit(k);
        break;
    case ChooserSign:
        changed = SetSign(state_.expr, Taken(list, state_.expr.op[0]));
        own = OpLabelBit(0);
        break;
    case ChooserOp:
        changed = SetGapOp(state_.expr, k, Taken(list, state_.expr.op[k]), app_.settings.usePower);
        own = OpLabelBit(k);
        break;
    case ChooserRank:
        changed = SetRank(state_.expr, k, Taken(list, state_.expr.rank[k]));
        own = RankLabelBit(k);
        break;
    case ChooserNone:
        return;
    }
    // What the player changed shows the player's choice, no longer the hint's.
    state_.hinted &= ~changed;
    ShowLabels(changed | own);
    screen_[list.covered].visible = true;
    list.kind = ChooserNone;
    state_.touched = true;
}

void GameFlow::ShowLabels(LabelMask mask) {
    const ExpressionState& e = state_.expr;
    for (int r = 0; r < kRows; ++r) {
        for (int k = 0; k < kPositions; ++k) {
            const Slot s{static_cast<Row>(r), k};
            if ((mask & LabelOf(s)) == 0) {
                continue;
            }
            LabelView& label = screen_[s];
            switch (s.row) {
            case Row::Power:
                Show(label, ChooserPower, e.power[k]);
                label.enabled = e.powerOn[k];
                break;
            case Row::Op:
                Show(label, ChooserOf(s), e.op[k]);
                break;
            case Row::Rank:
                Show(label, ChooserRank, e.rank[k]);
                label.enabled = e.rankOn[k];
                break;
            }
            label.hinted = (state_.hinted & LabelOf(s)) != 0;
            label.name = LabelName(s);
        }
    }
}

std::string GameFlow::LabelName(Slot s) const {
    const std::string name = SlotName(s, state_.expr.digits);
    return (state_.hinted & LabelOf(s)) != 0 ? HintedLabelName(name) : name;
}

void GameFlow::ShowResult(const EvalResult& r) {
    const ResultDisplay d = FormatResult(r);
    screen_.result.text = d.result.text;
    screen_.result.align = d.result.align;
    screen_.points.text = d.points.text;
    screen_.points.align = d.points.align;
}

void GameFlow::Keep() {
    if (kept_ == state_) {
        return;
    }
    kept_ = state_;
    const int e = app_.KeepGame(FormatSavedGame(state_));
    // A problem nobody has touched loses nothing: the player hears of it with the first action.
    if (e != 0 && !keepFailureShown_ && IsGameRunning()) {
        keepFailureShown_ = true;
        //: Message box when the game under way could not be kept in its file: %1 the file's
        //: path, %2 why. The game goes on; the file keeps what it last held.
        view_.MessageBox(
            FillText(Tr("GameFlow", "ゲームの途中経過を保存できませんでした。\n\n%1\n%2"),
                     {app_.gamePath, FileReasonText(e, false)}),
            Tr("GameFlow", "前回のゲーム"), MB_OK | MB_ICONERROR);
    }
}

void GameFlow::Present() {
    // Every event ends here: the game as it now stands is kept before it is drawn, so a kill
    // loses no more than the event under way.
    Keep();
    // The effects go with this drawing only, even if the window reports an event while it draws.
    const Screen shown = screen_;
    screen_.speech.clear();
    screen_.focusEvaluate = false;
    view_.Render(shown);
}

} // namespace vostrel
