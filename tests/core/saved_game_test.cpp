// The game under way kept in its own file: a second flow started from what the first one
// wrote goes on with the same game, draws no digits for it, and a file that cannot be trusted
// starts a new game with a box saying why.

#include "FlowFixture.h"
#include "TempDir.h"
#include "app/FileReasons.h"
#include "app/GameFile.h"
#include "app/SaveFailure.h"
#include "app/WinConstants.h"
#include "engine/ExpressionModel.h"
#include "engine/PointRules.h"
#include "game/SavedGame.h"
#include "game/SpokenText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vostrel {
namespace {

using test::Op;
using test::Power;
using test::Rank;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// A screen as text, for a failure's message.
std::string Text(const Screen& s) {
    std::string out;
    const auto label = [&out](const char* what, const LabelView& l) {
        out += std::string(what) + "[" + l.text + "|" + l.word + "|" + l.name + "|" +
               std::to_string(static_cast<int>(l.align)) + (l.visible ? "v" : "-") +
               (l.enabled ? "e" : "-") + "] ";
    };
    label("no", s.problemNo);
    for (const auto& row : s.labels) {
        for (const LabelView& l : row) {
            label("", l);
        }
        out += "\n";
    }
    label("result", s.result);
    label("points", s.points);
    out += s.evaluateName + " list " + std::to_string(s.list.kind) + "\n";
    for (const int32_t d : s.digits) {
        out += std::to_string(d);
    }
    return out;
}

// The screen the window draws, without the effects of the event that drew it.
Screen Drawn(Screen s) {
    s.speech.clear();
    s.focusEvaluate = false;
    // A list that is not down shows nothing of where it was last.
    if (s.list.kind == ChooserNone) {
        s.list = {};
    }
    s.list.opening = 0;
    return s;
}

class SavedGameTest : public test::FlowFixture {
protected:
    SavedGameTest() { app.gamePath = dir.File(kGameFileName); }

    // The next start: a fresh application and window that read what this one left.
    struct NextStart {
        // newDigits: those a new game draws; none when the kept one must go on.
        NextStart(const SettingsRecord& settings, const std::string& path,
                  std::initializer_list<int32_t> newDigits = {}) {
            if (newDigits.size() != 0) {
                rnd.AddDigits(newDigits);
            }
            app.settings = settings;
            app.gamePath = path;
            app.keptGameReason = ReadGameFile(path, app.keptGame);
            flow.StartGame();
        }
        CGameApp app;
        fakes::FakeGameView view;
        fakes::ScriptedRandom rnd; // empty: a digit drawn fails the test
        GameFlow flow{app, view, rnd.Source()};
    };

    // A new game with powers on, its first digits given.
    void Start(int32_t repeatCount, std::initializer_list<int32_t> digits) {
        app.settings.repeatCount = repeatCount;
        app.settings.usePower = 1;
        rnd.AddDigits(digits);
        flow.StartGame();
    }

    // What the file holds now, read as the next start reads it.
    GameState Kept() const {
        std::string bytes;
        EXPECT_EQ(ReadGameFile(app.gamePath, bytes), 0);
        GameState s;
        EXPECT_EQ(ParseSavedGame(bytes, app.settings, s), SavedGameStatus::Ok) << bytes;
        return s;
    }

    TempDir dir;
};

TEST_F(SavedGameTest, ASecondFlowGoesOnWithTheSameScreenAndDrawsNoDigits) {
    Start(3, {1, 2, 3, 4});
    Choose(Op(1), OpMul);
    flow.EvaluateTry();
    rnd.AddDigits({7, 0, 5, 9});
    flow.GradeProblem();
    // Problem 2: a join, a power, a rank and two tries, the last on the expression shown.
    Choose(Op(2), OpJoin);
    Choose(Power(3), PowSquare);
    Choose(Rank(3), 1);
    Choose(Op(3), OpSub);
    flow.EvaluateTry();
    flow.EvaluateTry();
    ASSERT_EQ(flow.State().problemIndex, 1);
    ASSERT_EQ(flow.State().tries, 2);

    NextStart next(app.settings, app.gamePath);
    EXPECT_EQ(next.flow.State(), flow.State());
    EXPECT_EQ(Drawn(next.view.Shown()), Drawn(Shown())) << Text(next.view.Shown()) << "\n"
                                                        << Text(Shown());
    const int32_t d[4] = {7, 0, 5, 9};
    ASSERT_EQ(next.view.boxes.shown.size(), 1u);
    EXPECT_EQ(next.view.boxes.Last().text, "前回のゲームの続きです。\n" + ProblemSpeech(2, d));
    EXPECT_EQ(next.view.Shown().evaluateName, EvaluateButtonName(2, d));

    // Both play on alike: the same grade, the same next problem drawn.
    rnd.AddDigits({3, 3, 8, 8});
    next.rnd.AddDigits({3, 3, 8, 8});
    flow.GradeProblem();
    next.flow.GradeProblem();
    EXPECT_EQ(next.flow.State(), flow.State());
    EXPECT_EQ(next.flow.State().problemIndex, 2);
    EXPECT_EQ(Drawn(next.view.Shown()), Drawn(Shown())) << Text(next.view.Shown()) << "\n"
                                                        << Text(Shown());
}

TEST_F(SavedGameTest, AnUntouchedProblemComesBackWithItsDigitsAndNoBox) {
    app.settings.repeatCount = 1;
    rnd.AddDigits({9, 8, 7, 6});
    flow.StartGame();
    NextStart next(app.settings, app.gamePath);
    EXPECT_EQ(next.flow.State(), flow.State());
    EXPECT_TRUE(next.view.boxes.shown.empty());
    const int32_t d[4] = {9, 8, 7, 6};
    ASSERT_FALSE(next.view.spoken.empty());
    EXPECT_EQ(next.view.spoken.back(), ProblemSpeech(0, d));
    EXPECT_EQ(Drawn(next.view.Shown()), Drawn(Shown())) << Text(next.view.Shown()) << "\n"
                                                        << Text(Shown());
}

TEST_F(SavedGameTest, EveryActionIsKeptAsItEndsAndAFinishedGameLeavesTheNextOne) {
    view.boxes.defaultAnswer = IDYES;
    Start(2, {1, 2, 3, 4});
    const std::function<void()> actions[] = {
        [&] { Choose(Op(1), OpJoin); },
        [&] { Choose(Rank(3), 0); },
        [&] { flow.OnSlotClicked(Power(2)); }, // a list down changes nothing yet
        [&] { flow.OnItemChosen(PowCube); },
        [&] { flow.OnBackgroundClicked(); },
        [&] { flow.EvaluateTry(); },
        [&] { flow.OnResultClicked(); },
        [&] {
            rnd.AddDigits({5, 6, 7, 8});
            flow.GradeProblem();
        },
        [&] { Choose(Op(0), kSignMinus); },
        [&] {
            rnd.AddDigits({2, 2, 2, 2});
            flow.RetryGame();
        },
        [&] { Choose(Op(3), OpDiv); },
        [&] {
            rnd.AddDigits({4, 4, 4, 4});
            flow.GradeProblem();
        },
        [&] {
            // The last problem: the game ends, and the next one is already kept.
            rnd.AddDigits({0, 1, 0, 1});
            flow.GradeProblem();
        },
    };
    int step = 0;
    for (const auto& act : actions) {
        act();
        EXPECT_EQ(Kept(), flow.State()) << "after action " << step;
        ++step;
    }
    EXPECT_EQ(flow.State().problemIndex, 0);
    EXPECT_FALSE(flow.State().touched);
    NextStart next(app.settings, app.gamePath);
    EXPECT_TRUE(next.view.boxes.shown.empty());
    EXPECT_EQ(next.flow.State(), flow.State());
}

TEST_F(SavedGameTest, TheKeptGameGoesOnOnlyWhereTheSettingsNowReadAllowIt) {
    Start(3, {1, 2, 3, 4});
    Choose(Op(1), OpAdd);
    // Between two starts vostrel.dat was edited: powers off.
    SettingsRecord edited = app.settings;
    edited.usePower = 0;
    {
        NextStart next(edited, app.gamePath);
        EXPECT_TRUE(next.view.boxes.shown.size() == 1 &&
                    next.view.boxes.Last().text.starts_with("前回のゲームの続きです。"));
        EXPECT_TRUE(std::ranges::equal(next.flow.State().expr.digits, flow.State().expr.digits));
        for (int k = 0; k < kPositions; ++k) {
            EXPECT_FALSE(next.view.Shown()[Power(k)].enabled) << k;
        }
    }
    Choose(Power(0), PowSqrt);
    {
        NextStart next(edited, app.gamePath, {5, 5, 5, 5});
        ASSERT_EQ(next.view.boxes.shown.size(), 1u);
        EXPECT_TRUE(next.view.boxes.Last().text.starts_with("前回のゲームのファイルにありえない"));
    }
    // Fewer problems a game than the one on screen.
    rnd.AddDigits({6, 6, 6, 6});
    flow.GradeProblem();
    edited = app.settings;
    edited.repeatCount = 1;
    NextStart next(edited, app.gamePath, {5, 5, 5, 5});
    ASSERT_EQ(next.view.boxes.shown.size(), 1u);
    EXPECT_TRUE(next.view.boxes.Last().text.starts_with("前回のゲームのファイルにありえない"));
}

// A file of the game's, then one change to it.
std::string Edited(const GameState& s, const std::string& from, const std::string& to) {
    std::string text = FormatSavedGame(s);
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST_F(SavedGameTest, AnUntrustedFileStartsANewGameWithABoxSayingWhy) {
    Start(3, {1, 2, 3, 4});
    Choose(Op(2), OpJoin);
    flow.EvaluateTry();
    const GameState good = flow.State();
    const std::string path = app.gamePath;
    const std::string text = FormatSavedGame(good);
    const std::string damaged =
        "前回のゲームのファイルが壊れているので、新しいゲームを始めます。\n\n" + path;
    const std::string impossible =
        "前回のゲームのファイルにありえない内容があるので、新しいゲームを始めます。\n\n" + path;
    const auto unreadable = [&](int reason) {
        return "前回のゲームのファイルを読めないので、新しいゲームを始めます。\n\n" + path + "\n" +
               FileReasonText(reason, true);
    };
    struct Case {
        const char* what;
        std::function<void()> make;
        std::string box;
        bool writable = true; // the new game is then kept in its place
    };
    const Case cases[] = {
        {"junk",
         [&] {
             WriteBytes(path, "\x7f"
                              "ELF\x02\x01\x01 junk\n");
         },
         damaged},
        {"empty", [&] { WriteBytes(path, ""); }, damaged},
        {"CR LF lines", [&] { WriteBytes(path, Edited(good, "\n", "\r\n")); }, damaged},
        {"a line twice", [&] { WriteBytes(path, Edited(good, "tries:", "tries:1\ntries:")); },
         damaged},
        {"a number with a plus", [&] { WriteBytes(path, Edited(good, "tries:1", "tries:+1")); },
         damaged},
        {"a number past 32 bits",
         [&] { WriteBytes(path, Edited(good, "score:0", "score:99999999999")); }, damaged},
        {"newer", [&] { WriteBytes(path, Edited(good, "version:1", "version:2")); },
         "前回のゲームのファイルは新しい版の Vostrel "
         "で書かれているので、新しいゲームを始めます。\n\n" +
             path},
        {"huge", [&] { WriteBytes(path, text + std::string(kMaxGameFileBytes, '\n')); },
         unreadable(kFileTooLarge)},
        {"a directory", [&] { std::filesystem::create_directory(path); }, unreadable(EISDIR),
         false},
        {"a link to a device", [&] { ASSERT_EQ(::symlink("/dev/zero", path.c_str()), 0); },
         unreadable(EINVAL), false},
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }, unreadable(EINVAL), false},
        {"digit 10", [&] { WriteBytes(path, Edited(good, "digits:1", "digits:10")); }, impossible},
        {"tries past the last",
         [&] {
             WriteBytes(path,
                        Edited(good, "tries:1", "tries:" + std::to_string(points::kMaxTries + 1)));
         },
         impossible},
        {"a problem past the game's",
         [&] { WriteBytes(path, Edited(good, "problem:0", "problem:3")); }, impossible},
        {"a score no grade gave", [&] { WriteBytes(path, Edited(good, "score:0", "score:800")); },
         impossible},
        {"untouched yet tried", [&] { WriteBytes(path, Edited(good, "touched:1", "touched:0")); },
         impossible},
        {"a power on the left of a join",
         [&] { WriteBytes(path, Edited(good, "power:0 0 0 0", "power:0 1 0 0")); }, impossible},
        {"a rank inside a join",
         [&] { WriteBytes(path, Edited(good, "rank:1 2 0 3", "rank:1 0 2 3")); }, impossible},
        {"ranks no permutation",
         [&] { WriteBytes(path, Edited(good, "rank:1 2 0 3", "rank:1 1 0 3")); }, impossible},
        {"an operator past the list",
         [&] { WriteBytes(path, Edited(good, "op:0 0 4 0", "op:0 0 5 0")); }, impossible},
    };
    // Every cut of the file short of its end.
    for (size_t n = 0; n < text.size(); ++n) {
        WriteBytes(path, text.substr(0, n));
        NextStart next(app.settings, path, {5, 5, 5, 5});
        ASSERT_EQ(next.view.boxes.shown.size(), 1u) << n;
        EXPECT_EQ(next.view.boxes.Last().text, damaged) << n;
    }
    for (const Case& c : cases) {
        std::filesystem::remove_all(path);
        c.make();
        NextStart next(app.settings, path, {5, 5, 5, 5});
        EXPECT_EQ(next.rnd.Remaining(), 0u) << c.what << ": a new game draws its digits";
        EXPECT_EQ(next.flow.State().problemIndex, 0) << c.what;
        EXPECT_FALSE(next.flow.State().touched) << c.what;
        ASSERT_EQ(next.view.boxes.shown.size(), 1u) << c.what;
        EXPECT_EQ(next.view.boxes.shown.front().text, c.box) << c.what;
        if (c.writable) {
            EXPECT_EQ(Kept(), next.flow.State()) << c.what << ": the new game is kept";
        }
    }
}

TEST_F(SavedGameTest, AFileThatCannotBeWrittenIsToldOnceAndTheGameGoesOn) {
    WriteBytes(dir.File("blocker"), "");
    app.gamePath = dir.File("blocker") + "/" + kGameFileName;
    rnd.AddDigits({1, 2, 3, 4});
    flow.StartGame();
    EXPECT_TRUE(view.boxes.shown.empty()) << "an untouched problem has nothing to lose";
    Choose(Op(1), OpMul);
    flow.EvaluateTry();
    ASSERT_EQ(view.boxes.shown.size(), 1u);
    EXPECT_EQ(view.boxes.Last().text, "ゲームの途中経過を保存できませんでした。\n\n" +
                                          app.gamePath + "\n" + FileReasonText(ENOTDIR, false));
    EXPECT_EQ(flow.State().tries, 1);
}

} // namespace
} // namespace vostrel
