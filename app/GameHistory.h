#pragma once
// The player's own record: a file beside the settings file, a line for each game played, and
// the figures the statistics show. The oldest games fold into totals for their settings, so
// the file stays small after years of play while every figure stays as it was.
//
// The file: LF lines of words split by one space.
//   :VostrelHistory 1
//   all <totals>                         every game ever played
//   set <switches> <problems> <totals>   the games of one settings set, folded
//   game <yyyymmdd> <switches> <problems> <end> <final> <points>,<value>,<tries>,<hints> ...
// <switches> is a 0 or 1 for each switch of the settings table in its order, <end> f for a
// finished game, a for one given up; a given-up game's <final> is 0. <totals> are played,
// finished, the sum and the best of the final scores, problems made 10, problems graded with
// another result, hints, the longest run of problems made 10, the run at the end, and the count
// of problems in each band of points (PointsBand).

#include "app/IByteSource.h"
#include "app/LineReader.h"
#include "app/SettingsRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vostrel {

// Bands of a problem's points for the spread: up to 0, then kBandWidth wide, the last open.
constexpr int kPointBands = 12;
constexpr int32_t kBandWidth = 200;
int PointsBand(int32_t points);
// The lowest points of a band; band 0 has none.
int32_t BandFloor(int band);

// Scores under different switches and problem counts are not comparable.
struct SettingsSet {
    std::string switches; // as in the file
    int32_t problems = 0;

    friend bool operator==(const SettingsSet&, const SettingsSet&) = default;
};
SettingsSet SetOf(const SettingsRecord& s);

struct HistoryProblem {
    int32_t points = 0;
    int32_t value = 0;
    int32_t tries = 0;
    int32_t hints = 0;

    friend bool operator==(const HistoryProblem&, const HistoryProblem&) = default;
};

struct HistoryGame {
    int32_t date = 0; // yyyymmdd
    SettingsSet set;
    bool finished = true;
    int32_t finalScore = 0;
    std::vector<HistoryProblem> problems; // the graded ones, in order

    friend bool operator==(const HistoryGame&, const HistoryGame&) = default;
};

struct HistoryTotals {
    int64_t played = 0;
    int64_t finished = 0;
    int64_t scoreSum = 0;
    int64_t best = 0; // of the finished games; 0 before one
    int64_t madeTen = 0;
    int64_t other = 0;
    int64_t hints = 0;
    int64_t longestRun = 0;
    int64_t run = 0; // problems made 10 in a row at the end
    std::array<int64_t, kPointBands> bands{};

    friend bool operator==(const HistoryTotals&, const HistoryTotals&) = default;
};
// Adds a game after those already in t.
void AddGame(HistoryTotals& t, const HistoryGame& g);
// The mean final score of the finished games; 0 before one.
double MeanScore(const HistoryTotals& t);

struct SetTotals {
    SettingsSet set;
    HistoryTotals totals;

    friend bool operator==(const SetTotals&, const SetTotals&) = default;
};

struct GameHistory {
    // Games kept line by line; older ones are folded.
    static constexpr size_t kKeptGames = 150;
    // The file's ceiling; FormatHistory folds further should the kept games reach it.
    static constexpr size_t kMaxBytes = 60 * 1024;

    HistoryTotals allFolded;
    std::vector<SetTotals> setsFolded;
    std::vector<HistoryGame> games; // oldest first

    void Append(const HistoryGame& g);
    // Moves the oldest kept game into the totals.
    void FoldOldest();

    friend bool operator==(const GameHistory&, const GameHistory&) = default;
};

// What the statistics show.
struct HistoryFigures {
    HistoryTotals all;
    std::vector<SetTotals> sets; // the current set first, then the most played
    // The final scores of the finished games kept line by line, oldest first, with their dates.
    std::vector<int32_t> recentScores;
    std::vector<int32_t> recentDates;
};
HistoryFigures FiguresOf(const GameHistory& h, const SettingsSet& current);

// What a load saw.
struct HistoryReport {
    // Why the file could not be read (an errno value or a reason of FileReasons.h); 0 when it
    // was, or when there is none.
    int reason = 0;
    bool missing = false;
    // Lines that were not the game's and were skipped.
    int64_t skipped = 0;
};

// The file's bytes, folded down to kMaxBytes.
std::string FormatHistory(GameHistory& h);
// Reads every line it can: damaged ones are skipped and counted. 0 read to the end (or no
// file); -9 the file is there but could not be read (h keeps what was read before).
int32_t LoadHistory(const std::string& path, GameHistory& h, HistoryReport& report);
int32_t LoadHistoryFrom(IByteSource& source, GameHistory& h, HistoryReport& report,
                        size_t blockSize = LineReader::kDefaultBlock);
// 0 written; otherwise the errno value (or FileReasons.h reason) and the old file as it was.
int SaveHistory(const std::string& path, GameHistory& h);
// The history file beside the settings file at settingsPath.
std::string HistoryPathBeside(const std::string& settingsPath);

} // namespace vostrel
