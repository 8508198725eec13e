#include "tools/cli/Commands.h"

#include "app/FileReasons.h"
#include "app/GameHistory.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace vostrel::cli {

namespace {

std::string TotalsText(const HistoryTotals& t) {
    char mean[32];
    std::snprintf(mean, sizeof mean, "%.1f", MeanScore(t));
    std::string out =
        "played " + std::to_string(t.played) + " finished " + std::to_string(t.finished) +
        " mean " + mean + " best " + (t.finished > 0 ? std::to_string(t.best) : "-") +
        " longest-run " + std::to_string(t.longestRun) + " made-10 " + std::to_string(t.madeTen) +
        " other " + std::to_string(t.other) + " hints " + std::to_string(t.hints) + " bands";
    for (const int64_t b : t.bands) {
        out += ' ' + std::to_string(b);
    }
    return out + '\n';
}

} // namespace

int RunStats(int argc, char** argv) {
    if (argc != 1) {
        std::fputs("vostrel-cli: usage: vostrel-cli stats FILE\n", stderr);
        return 2;
    }
    GameHistory h;
    HistoryReport report;
    const int32_t r = LoadHistory(argv[0], h, report);
    if (report.missing) {
        std::fprintf(stderr, "vostrel-cli: %s: %s\n", argv[0], std::strerror(ENOENT));
        return 1;
    }
    // What was read before a failure is still printed.
    const HistoryFigures f = FiguresOf(h, SettingsSet{});
    std::string out = "skipped " + std::to_string(report.skipped) + "\nall " + TotalsText(f.all);
    for (const SetTotals& s : f.sets) {
        out += "set " + s.set.switches + ' ' + std::to_string(s.set.problems) + ' ' +
               TotalsText(s.totals);
    }
    out += "recent";
    for (const int32_t score : f.recentScores) {
        out += ' ' + std::to_string(score);
    }
    out += '\n';
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        std::fputs("vostrel-cli: cannot write the output\n", stderr);
        return 1;
    }
    if (r != 0) {
        std::fprintf(stderr, "vostrel-cli: %s: cannot be read (%s)\n", argv[0],
                     report.reason == kOtherUsersLink ? "a link on the way is another user's"
                                                      : std::strerror(report.reason));
        return 1;
    }
    return 0;
}

} // namespace vostrel::cli
