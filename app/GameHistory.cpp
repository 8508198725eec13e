#include "app/GameHistory.h"

#include "app/FileByteSource.h"
#include "app/FileReasons.h"
#include "app/FileSave.h"
#include "app/SaveTemporaries.h"
#include "app/SettingsFile.h"
#include "engine/PointRules.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <new>
#include <string_view>
#include <unistd.h>

namespace vostrel {

namespace {

constexpr std::string_view kHeader = ":VostrelHistory 1";
constexpr size_t kTotalsWords = 9 + kPointBands;
// No count in a file can reach this: sums saturate here instead of overflowing.
constexpr int64_t kCeiling = int64_t{1} << 52;

int64_t Sat(int64_t a, int64_t b) {
    int64_t r = 0;
    if (__builtin_add_overflow(a, b, &r) || r > kCeiling) {
        return kCeiling;
    }
    return r < -kCeiling ? -kCeiling : r;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> w;
    size_t start = 0;
    for (;;) {
        const size_t sp = line.find(' ', start);
        w.push_back(line.substr(start, sp - start));
        if (sp == std::string_view::npos) {
            return w;
        }
        start = sp + 1;
    }
}

// A decimal number with an optional '-', within [lo, hi].
bool Number(std::string_view s, int64_t lo, int64_t hi, int64_t& out) {
    if (s.empty() || s.front() == '+') {
        return false;
    }
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size() && out >= lo && out <= hi;
}

bool Number32(std::string_view s, int64_t lo, int64_t hi, int32_t& out) {
    int64_t v = 0;
    if (!Number(s, lo, hi, v)) {
        return false;
    }
    out = static_cast<int32_t>(v);
    return true;
}

bool ParseSet(std::string_view sw, std::string_view problems, SettingsSet& set) {
    if (sw.size() != SetOf(SettingsRecord{}).switches.size() ||
        sw.find_first_not_of("01") != std::string_view::npos) {
        return false;
    }
    set.switches = std::string(sw);
    return Number32(problems, 1, INT32_MAX, set.problems);
}

bool ParseTotals(const std::vector<std::string_view>& w, size_t from, HistoryTotals& t) {
    if (w.size() != from + kTotalsWords) {
        return false;
    }
    int64_t* const fields[] = {&t.played, &t.finished, &t.scoreSum,   &t.best, &t.madeTen,
                               &t.other,  &t.hints,    &t.longestRun, &t.run};
    for (size_t i = 0; i < kTotalsWords; ++i) {
        int64_t* f = i < 9 ? fields[i] : &t.bands[i - 9];
        // Only the scores may be below 0.
        const bool score = f == &t.scoreSum || f == &t.best;
        if (!Number(w[from + i], score ? -kCeiling : 0, kCeiling, *f)) {
            return false;
        }
    }
    return t.finished <= t.played && t.run <= t.longestRun;
}

void AddTotals(HistoryTotals& a, const HistoryTotals& b) {
    const bool bestFromB = b.finished > 0 && (a.finished == 0 || b.best > a.best);
    a.played = Sat(a.played, b.played);
    a.finished = Sat(a.finished, b.finished);
    a.scoreSum = Sat(a.scoreSum, b.scoreSum);
    if (bestFromB) {
        a.best = b.best;
    }
    a.madeTen = Sat(a.madeTen, b.madeTen);
    a.other = Sat(a.other, b.other);
    a.hints = Sat(a.hints, b.hints);
    // Totals of one set come once in a file the game wrote; merging a repeated line is only
    // near for the runs: a run at the end of a goes on into b when all of b was made 10.
    const bool allTen = b.madeTen > 0 && b.other == 0;
    a.longestRun = std::max({a.longestRun, b.longestRun, allTen ? Sat(a.run, b.run) : 0});
    a.run = allTen ? Sat(a.run, b.run) : (b.madeTen + b.other > 0 ? b.run : a.run);
    for (int i = 0; i < kPointBands; ++i) {
        a.bands[i] = Sat(a.bands[i], b.bands[i]);
    }
}

bool ParseGame(const std::vector<std::string_view>& w, HistoryGame& g) {
    if (w.size() < 6 || w.size() > 6 + static_cast<size_t>(kMaxRepeatCount) ||
        !Number32(w[1], 0, 99991231, g.date) || !ParseSet(w[2], w[3], g.set) ||
        (w[4] != "f" && w[4] != "a") || !Number32(w[5], INT32_MIN, INT32_MAX, g.finalScore)) {
        return false;
    }
    g.finished = w[4] == "f";
    if (!g.finished && g.finalScore != 0) {
        return false;
    }
    for (size_t i = 6; i < w.size(); ++i) {
        HistoryProblem p;
        std::string_view rest = w[i];
        int32_t* const parts[] = {&p.points, &p.value, &p.tries, &p.hints};
        for (int k = 0; k < 4; ++k) {
            const size_t comma = k < 3 ? rest.find(',') : rest.size();
            if (comma == std::string_view::npos ||
                !Number32(rest.substr(0, comma), k < 2 ? INT32_MIN : 0, INT32_MAX, *parts[k])) {
                return false;
            }
            rest.remove_prefix(std::min(rest.size(), comma + 1));
        }
        g.problems.push_back(p);
    }
    return true;
}

void AppendTotals(std::string& out, const HistoryTotals& t) {
    for (const int64_t v : {t.played, t.finished, t.scoreSum, t.best, t.madeTen, t.other, t.hints,
                            t.longestRun, t.run}) {
        out += ' ' + std::to_string(v);
    }
    for (const int64_t b : t.bands) {
        out += ' ' + std::to_string(b);
    }
    out += '\n';
}

std::string FormatGame(const HistoryGame& g) {
    std::string out = "game " + std::to_string(g.date) + ' ' + g.set.switches + ' ' +
                      std::to_string(g.set.problems) + (g.finished ? " f " : " a ") +
                      std::to_string(g.finalScore);
    for (const HistoryProblem& p : g.problems) {
        out += ' ' + std::to_string(p.points) + ',' + std::to_string(p.value) + ',' +
               std::to_string(p.tries) + ',' + std::to_string(p.hints);
    }
    return out + '\n';
}

HistoryTotals* TotalsOf(std::vector<SetTotals>& sets, const SettingsSet& set) {
    for (SetTotals& s : sets) {
        if (s.set == set) {
            return &s.totals;
        }
    }
    sets.push_back({set, {}});
    return &sets.back().totals;
}

// One line into h: false when it is not one of the game's.
bool ApplyHistoryLine(std::string_view line, GameHistory& h, bool first) {
    if (first) {
        return line == kHeader;
    }
    const std::vector<std::string_view> w = Words(line);
    if (w[0] == "all") {
        HistoryTotals t;
        if (!ParseTotals(w, 1, t)) {
            return false;
        }
        AddTotals(h.allFolded, t);
        return true;
    }
    if (w[0] == "set") {
        SettingsSet set;
        HistoryTotals t;
        if (w.size() < 3 || !ParseSet(w[1], w[2], set) || !ParseTotals(w, 3, t)) {
            return false;
        }
        AddTotals(*TotalsOf(h.setsFolded, set), t);
        return true;
    }
    HistoryGame g;
    if (w[0] != "game" || !ParseGame(w, g)) {
        return false;
    }
    h.Append(g);
    return true;
}

} // namespace

int PointsBand(int32_t points) {
    if (points <= 0) {
        return 0;
    }
    return std::min(kPointBands - 1, 1 + (points - 1) / kBandWidth);
}

int32_t BandFloor(int band) {
    return band <= 0 ? 0 : 1 + (band - 1) * kBandWidth;
}

SettingsSet SetOf(const SettingsRecord& s) {
    SettingsSet set;
    for (const SettingDef& d : SettingsTable()) {
        if (d.kind == SettingKind::Switch) {
            set.switches += s.*d.field != 0 ? '1' : '0';
        }
    }
    set.problems = s.repeatCount;
    return set;
}

void AddGame(HistoryTotals& t, const HistoryGame& g) {
    t.played = Sat(t.played, 1);
    if (g.finished) {
        if (t.finished == 0 || g.finalScore > t.best) {
            t.best = g.finalScore;
        }
        t.finished = Sat(t.finished, 1);
        t.scoreSum = Sat(t.scoreSum, g.finalScore);
    }
    for (const HistoryProblem& p : g.problems) {
        if (p.value == points::kTarget) {
            t.madeTen = Sat(t.madeTen, 1);
            t.run = Sat(t.run, 1);
            t.longestRun = std::max(t.longestRun, t.run);
        } else {
            t.other = Sat(t.other, 1);
            t.run = 0;
        }
        t.hints = Sat(t.hints, p.hints);
        int64_t& band = t.bands[static_cast<size_t>(PointsBand(p.points))];
        band = Sat(band, 1);
    }
}

double MeanScore(const HistoryTotals& t) {
    return t.finished > 0 ? static_cast<double>(t.scoreSum) / static_cast<double>(t.finished) : 0;
}

void GameHistory::Append(const HistoryGame& g) {
    games.push_back(g);
    while (games.size() > kKeptGames) {
        FoldOldest();
    }
}

void GameHistory::FoldOldest() {
    if (games.empty()) {
        return;
    }
    const HistoryGame& g = games.front();
    AddGame(allFolded, g);
    AddGame(*TotalsOf(setsFolded, g.set), g);
    games.erase(games.begin());
}

HistoryFigures FiguresOf(const GameHistory& h, const SettingsSet& current) {
    HistoryFigures f;
    f.all = h.allFolded;
    f.sets = h.setsFolded;
    // The current set has its column even before its first game.
    if (current.problems > 0) {
        TotalsOf(f.sets, current);
    }
    for (const HistoryGame& g : h.games) {
        AddGame(f.all, g);
        AddGame(*TotalsOf(f.sets, g.set), g);
        if (g.finished) {
            f.recentScores.push_back(g.finalScore);
            f.recentDates.push_back(g.date);
        }
    }
    std::stable_sort(f.sets.begin(), f.sets.end(), [&](const SetTotals& a, const SetTotals& b) {
        const bool ac = a.set == current;
        const bool bc = b.set == current;
        return ac != bc ? ac : a.totals.played > b.totals.played;
    });
    return f;
}

std::string FormatHistory(GameHistory& h) {
    for (;;) {
        std::string out(kHeader);
        out += "\nall";
        AppendTotals(out, h.allFolded);
        for (const SetTotals& s : h.setsFolded) {
            out += "set " + s.set.switches + ' ' + std::to_string(s.set.problems);
            AppendTotals(out, s.totals);
        }
        for (const HistoryGame& g : h.games) {
            out += FormatGame(g);
        }
        if (out.size() <= GameHistory::kMaxBytes || h.games.empty()) {
            return out;
        }
        h.FoldOldest();
    }
}

int32_t LoadHistoryFrom(IByteSource& source, GameHistory& h, HistoryReport& report,
                        size_t blockSize) {
    LineReader reader(source, blockSize);
    std::string line;
    bool first = true;
    // A damaged line's rest, up to its line end, is no line of its own.
    bool inDamaged = false;
    try {
        for (;;) {
            const int32_t got = reader.ReadLine(line);
            if (got == -1) {
                // Bytes after the last line end: a write cut short.
                if (!line.empty()) {
                    report.skipped += 1;
                }
                return 0;
            }
            // Too long, or a CR without its LF.
            if (got == -13 || (got == -12 && !reader.sourceFailed())) {
                report.skipped += inDamaged ? 0 : 1;
                inDamaged = true;
                continue;
            }
            if (got != 0) {
                report.reason = got == -12 ? EIO : ENOMEM;
                return -9;
            }
            if (inDamaged) {
                inDamaged = false;
                continue;
            }
            if (!ApplyHistoryLine(line, h, first)) {
                report.skipped += 1;
            }
            first = false;
        }
    } catch (const std::bad_alloc&) {
        report.reason = ENOMEM;
        return -9;
    }
}

int32_t LoadHistory(const std::string& path, GameHistory& h, HistoryReport& report) {
    report = HistoryReport{};
    int reason = 0;
    const int fd = OpenToRead(path, reason);
    if (fd < 0) {
        report.missing = reason == ENOENT;
        report.reason = report.missing ? 0 : reason;
        return report.missing ? 0 : -9;
    }
    FileByteSource source(fd);
    const int32_t loaded = LoadHistoryFrom(source, h, report);
    if (loaded != 0 && source.error() != 0) {
        report.reason = source.error();
    }
    ::close(fd);
    return loaded;
}

int SaveHistory(const std::string& path, GameHistory& h) {
    try {
        return SaveFileBytes(path, FormatHistory(h));
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

std::string HistoryPathBeside(const std::string& settingsPath) {
    return FolderOf(settingsPath) + "/vostrel-history.txt";
}

} // namespace vostrel
