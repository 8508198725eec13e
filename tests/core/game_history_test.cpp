// The player's record: games played through the flow into the file and back, the figures, the
// fold that keeps the file small, and files that are not the game's.

#include "app/FileReasons.h"
#include "app/GameHistory.h"
#include "app/SettingsFile.h"
#include "app/WinConstants.h"
#include "core/FlowFixture.h"
#include "core/TempDir.h"
#include "engine/Evaluator.h"
#include "engine/PointRules.h"
#include "fakes/FakeAppShell.h"
#include "fakes/MemoryByteSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vostrel {
namespace {

using test::TempDir;

GameHistory Reload(const std::string& bytes, size_t chunk = SIZE_MAX,
                   HistoryReport* seen = nullptr) {
    GameHistory h;
    HistoryReport report;
    MemoryByteSource source(bytes, chunk);
    EXPECT_EQ(LoadHistoryFrom(source, h, report, chunk == SIZE_MAX ? LineReader::kDefaultBlock : 3),
              0);
    if (seen != nullptr) {
        *seen = report;
    }
    return h;
}

class HistoryFlowTest : public test::FlowFixture {
protected:
    HistoryFlowTest() {
        app.historyPath = dir.File("vostrel-history.txt");
        app.today = [] { return 20261210; };
    }
    // Grades the problem on screen untouched after the next digits are queued: its points, less
    // the price of the hints taken.
    int32_t Grade(std::initializer_list<int32_t> next) {
        const int32_t points = points::HintedPoints(
            Evaluate(flow.State().expr, 0, SwitchesOf(app.settings)).points, flow.State().hints);
        rnd.AddDigits(next);
        flow.GradeProblem();
        return points;
    }
    void TakeHints(int32_t hints) {
        GameState s = flow.State();
        s.hints = hints;
        flow.Resume(s);
    }

    TempDir dir;
};

TEST_F(HistoryFlowTest, GamesPlayedComeBackFromTheFileAsTheirFigures) {
    app.settings.repeatCount = 2;
    rnd.AddDigits({1, 2, 3, 4});
    flow.StartGame();
    // A finished game of two 10s, one with 0 and hints, one given up after a 10, then a
    // one-problem game under the new count: made 10 is 1+2+3+4, the other result 0+0+0+0.
    const int32_t a1 = Grade({1, 2, 3, 4});
    const int32_t a2 = Grade({0, 0, 0, 0});
    TakeHints(2);
    const int32_t b1 = Grade({1, 2, 3, 4});
    const int32_t b2 = Grade({1, 2, 3, 4});
    const int32_t c1 = Grade({1, 2, 3, 4});
    view.boxes.answers = {IDYES};
    const SettingsSet two = SetOf(app.settings);
    SettingsRecord one = app.settings;
    one.repeatCount = 1;
    view.onSettings = [&](const SettingsRecord&, bool) -> std::optional<SettingsRecord> {
        return one;
    };
    rnd.AddDigits({1, 2, 3, 4});
    flow.OpenSettings();
    const int32_t d1 = Grade({5, 5, 5, 5});
    EXPECT_TRUE(view.boxes.shown.empty() || view.boxes.Last().caption != "成績ファイルエラー");

    const int32_t finalA = (a1 + a2) / 2;
    const int32_t finalB = (b1 + b2) / 2;
    const int32_t finalD = d1;
    GameHistory read;
    HistoryReport report;
    ASSERT_EQ(LoadHistory(app.historyPath, read, report), 0);
    EXPECT_EQ(report.skipped, 0);
    EXPECT_EQ(read, app.history);
    ASSERT_EQ(read.games.size(), 4u);
    EXPECT_EQ(read.games[1].problems, (std::vector<HistoryProblem>{{b1, 0, 0, 2}, {b2, 10, 0, 0}}));
    EXPECT_EQ(read.games[2], (HistoryGame{20261210, two, false, 0, {{c1, 10, 0, 0}}}));

    const HistoryFigures f = FiguresOf(read, SetOf(app.settings));
    EXPECT_EQ(f.all.played, 4);
    EXPECT_EQ(f.all.finished, 3);
    EXPECT_EQ(f.all.scoreSum, finalA + finalB + finalD);
    EXPECT_EQ(f.all.best, std::max({finalA, finalB, finalD}));
    EXPECT_DOUBLE_EQ(MeanScore(f.all), (finalA + finalB + finalD) / 3.0);
    EXPECT_EQ(f.all.madeTen, 5);
    EXPECT_EQ(f.all.other, 1);
    EXPECT_EQ(f.all.hints, 2);
    // b2, c1 and d1 in a row, across games and settings.
    EXPECT_EQ(f.all.longestRun, 3);
    EXPECT_EQ(f.recentScores, (std::vector<int32_t>{finalA, finalB, finalD}));
    // The current settings first, though the other set was played more.
    ASSERT_EQ(f.sets.size(), 2u);
    EXPECT_EQ(f.sets[0].set, SetOf(one));
    EXPECT_EQ(f.sets[0].totals.played, 1);
    EXPECT_EQ(f.sets[0].totals.best, finalD);
    EXPECT_EQ(f.sets[1].set, two);
    EXPECT_EQ(f.sets[1].totals.played, 3);
    EXPECT_EQ(f.sets[1].totals.finished, 2);
    EXPECT_EQ(f.sets[1].totals.longestRun, 2);
    int64_t banded = 0;
    for (const int32_t p : {a1, a2, b1, b2, c1}) {
        banded += p > 0 ? 1 : 0;
        EXPECT_GT(f.sets[1].totals.bands[static_cast<size_t>(PointsBand(p))], 0);
    }
    EXPECT_EQ(f.sets[1].totals.bands[0], 5 - banded);

    // Clearing empties the file as well.
    EXPECT_EQ(app.ClearHistory(), std::nullopt);
    GameHistory cleared;
    ASSERT_EQ(LoadHistory(app.historyPath, cleared, report), 0);
    EXPECT_EQ(cleared, GameHistory{});
}

TEST_F(HistoryFlowTest, AWriteThatFailsIsToldOnceAndLosesNoGame) {
    const std::string folder = dir.File("later");
    app.historyPath = folder + "/vostrel-history.txt";
    app.settings.repeatCount = 1;
    rnd.AddDigits({1, 2, 3, 4});
    flow.StartGame();
    Grade({1, 2, 3, 4});
    ASSERT_EQ(view.boxes.shown.size(), 1u);
    EXPECT_EQ(view.boxes.Last().caption, "成績ファイルエラー");
    EXPECT_NE(view.boxes.Last().text.find(app.historyPath), std::string::npos);
    Grade({1, 2, 3, 4});
    EXPECT_EQ(view.boxes.shown.size(), 1u);

    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    Grade({1, 2, 3, 4});
    GameHistory read;
    HistoryReport report;
    ASSERT_EQ(LoadHistory(app.historyPath, read, report), 0);
    EXPECT_EQ(read.games.size(), 3u);
}

TEST(GameHistory, EveryFieldRoundTripsInAnyBlockSize) {
    GameHistory h;
    h.allFolded = {7, 5, -1234, 900, 11, 9, 4, 6, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}};
    h.setsFolded.push_back({{"1010", 3}, {7, 5, -1234, 900, 11, 9, 4, 6, 2, {}}});
    h.setsFolded.push_back({{"0001", 2147483647}, {}});
    h.games.push_back({20261231,
                       {"1111", 10},
                       true,
                       -3,
                       {{-500, -2147483647 - 1, 10, 3}, {1860, 10, 0, 0}, {0, 2147483647, 5, 1}}});
    h.games.push_back({0, {"0000", 1}, false, 0, {}});
    const std::string bytes = FormatHistory(h);
    for (const size_t chunk : {SIZE_MAX, size_t{1}, size_t{7}}) {
        HistoryReport report;
        EXPECT_EQ(Reload(bytes, chunk, &report), h) << chunk;
        EXPECT_EQ(report.skipped, 0);
    }
    // A second read adds to what the first gave: nothing is read as a new setting set.
    EXPECT_EQ(FormatHistory(h), bytes);
}

TEST(GameHistory, TenThousandGamesFoldUnder64KiBWithTheSameFigures) {
    std::mt19937 gen(43);
    const SettingsSet sets[] = {{"0001", 3}, {"1011", 5}, {"0000", 10}, {"1111", 1}};
    GameHistory h;
    // Each figure counted from the games themselves, as the rules define it.
    int64_t finished = 0, sum = 0, best = INT64_MIN, ten = 0, other = 0, hints = 0;
    int64_t run = 0, longest = 0;
    std::array<int64_t, kPointBands> bands{};
    std::vector<int32_t> finals;
    for (int i = 0; i < 10000; ++i) {
        HistoryGame g;
        g.date = 20200101 + i % 28;
        g.set = sets[gen() % 4];
        g.finished = gen() % 8 != 0;
        const int n = g.finished ? g.set.problems : static_cast<int>(gen() % g.set.problems);
        int64_t total = 0;
        for (int k = 0; k < n; ++k) {
            HistoryProblem p{static_cast<int32_t>(gen() % 2600) - 500,
                             gen() % 3 != 0 ? points::kTarget : static_cast<int32_t>(gen() % 40),
                             static_cast<int32_t>(gen() % 11), static_cast<int32_t>(gen() % 3)};
            g.problems.push_back(p);
            total += p.points;
            const bool made = p.value == points::kTarget;
            (made ? ten : other) += 1;
            run = made ? run + 1 : 0;
            longest = std::max(longest, run);
            hints += p.hints;
            bands[static_cast<size_t>(PointsBand(p.points))] += 1;
        }
        if (g.finished) {
            g.finalScore = static_cast<int32_t>(total / n);
            finished += 1;
            sum += g.finalScore;
            best = std::max<int64_t>(best, g.finalScore);
            finals.push_back(g.finalScore);
        }
        h.Append(g);
    }
    const std::string bytes = FormatHistory(h);
    EXPECT_LT(bytes.size(), 64u * 1024u);
    const HistoryFigures f = FiguresOf(Reload(bytes), sets[0]);
    EXPECT_EQ(f.all.played, 10000);
    EXPECT_EQ(f.all.finished, finished);
    EXPECT_EQ(f.all.scoreSum, sum);
    EXPECT_EQ(f.all.best, best);
    EXPECT_EQ(f.all.madeTen, ten);
    EXPECT_EQ(f.all.other, other);
    EXPECT_EQ(f.all.hints, hints);
    EXPECT_EQ(f.all.longestRun, longest);
    EXPECT_EQ(f.all.bands, bands);
    ASSERT_EQ(f.sets.size(), 4u);
    EXPECT_EQ(f.sets[0].set, sets[0]);
    int64_t played = 0;
    for (const SetTotals& s : f.sets) {
        played += s.totals.played;
    }
    EXPECT_EQ(played, 10000);
    // The recent games are the last ones played, in order.
    ASSERT_FALSE(f.recentScores.empty());
    EXPECT_TRUE(std::equal(f.recentScores.rbegin(), f.recentScores.rend(), finals.rbegin()));
}

TEST(GameHistory, LinesNotTheGamesAreSkippedAndCountedAndTheRestRead) {
    const std::string game = "game 20260101 0001 3 f 700 800,10,0,0 700,10,1,0 600,3,2,1\n";
    const std::string good = ":VostrelHistory 1\n" + game;
    const struct {
        std::string bytes;
        int64_t skipped;
        size_t games;
    } cases[] = {
        {good, 0, 1},
        {"junk\n" + game + "\x01\xff\n\n", 3, 1},              // no header, binary, empty
        {good + "game 20260101 0001 3 f 700 800,10", 1, 1},    // cut short
        {good + "game 20260101 001 3 f 7\n", 1, 1},            // a switch missing
        {good + "game 20260101 0001 0 f 7\n", 1, 1},           // no problems to play
        {good + "game 20260101 0001 3 a 7 1,10,0,0\n", 1, 1},  // given up with a score
        {good + "game 2026 0001 3 f 7 1,10,0,0,5\n", 1, 1},    // a fifth part
        {good + "game 20260101 0001 3 f 99999999999\n", 1, 1}, // beyond 32 bits
        {good + "game 20260101 0001 3 f 7 1,10,-1,0\n", 1, 1}, // tries below 0
        {good + "all 1 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n", 1, 1}, // finished > played
        {good + "set 0001 3 1 1\n", 1, 1},                                // totals cut
        {good + "game 1 0001 3 f 7" + std::string(11 * 12, ' ') + "\n", 1, 1},
        {good + "\r\r\n" + game, 1, 2},                                          // a CR alone
        {good + std::string(LineReader::kMaxLine + 5, 'g') + "\n" + game, 1, 2}, // too long
    };
    for (const auto& c : cases) {
        HistoryReport report;
        const GameHistory h = Reload(c.bytes, SIZE_MAX, &report);
        EXPECT_EQ(report.skipped, c.skipped) << c.bytes.substr(0, 80);
        EXPECT_EQ(h.games.size(), c.games) << c.bytes.substr(0, 80);
    }
}

TEST(GameHistory, FilesThatAreNoHistoryGiveTheirReasonAndAreNeverWrittenOver) {
    TempDir dir;
    const std::string path = dir.File("vostrel-history.txt");
    GameHistory h;
    HistoryReport report;
    EXPECT_EQ(LoadHistory(path, h, report), 0);
    EXPECT_TRUE(report.missing);

    ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
    EXPECT_EQ(LoadHistory(path, h, report), -9);
    EXPECT_EQ(report.reason, EISDIR);
    EXPECT_EQ(h, GameHistory{});
    EXPECT_EQ(SaveHistory(path, h), EISDIR);
    ASSERT_EQ(::rmdir(path.c_str()), 0);

    // A link that leads nowhere: no file is made at its end.
    ASSERT_EQ(::symlink(path.c_str(), path.c_str()), 0);
    EXPECT_EQ(LoadHistory(path, h, report), -9);
    EXPECT_NE(report.reason, 0);
    ASSERT_EQ(::unlink(path.c_str()), 0);

    // A start-up beside a record that cannot be read: the games of the run stay in memory,
    // the player is told when asking to clear, and what stands there is left alone; a record
    // that can be read is there for the run.
    ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
    test::WriteBytes(dir.File("vostrel.dat"), FormatSettings([] {
                         SettingsRecord s;
                         InstallDefaultSettings(s);
                         return s;
                     }()));
    for (const bool readable : {false, true}) {
        fakes::FakeAppShell shell;
        CGameApp app;
        shell.onGameDialog = [&](CGameApp& a) {
            EXPECT_EQ(a.historyPath, path);
            EXPECT_EQ(a.RecordGame({20260101, SetOf(a.settings), true, 5, {}}), std::nullopt);
            if (readable) {
                EXPECT_EQ(a.historyRead.reason, 0);
                EXPECT_EQ(a.history.games.size(), 2u);
            } else {
                EXPECT_EQ(a.historyRead.reason, EISDIR);
                EXPECT_EQ(a.history.games.size(), 1u);
                const std::optional<std::string> told = a.ClearHistory();
                ASSERT_TRUE(told.has_value());
                EXPECT_NE(told->find(path), std::string::npos);
            }
        };
        EXPECT_EQ(app.InitInstance(shell, dir.File("vostrel.dat")), 0);
        EXPECT_EQ(std::filesystem::is_directory(path), !readable);
        if (!readable) {
            ASSERT_EQ(::rmdir(path.c_str()), 0);
            test::WriteBytes(path, ":VostrelHistory 1\ngame 20250101 0001 3 f 1\n");
        }
    }
}

} // namespace
} // namespace vostrel
