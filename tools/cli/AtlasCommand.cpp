// vostrel-cli atlas: every ticket 0000 to 9999 solved on every core, with a summary; or under
// every switch combination in one pass, with the table of tickets that make 10.
#include "tools/cli/AtlasTickets.h"
#include "tools/cli/Commands.h"
#include "tools/cli/SolverOptions.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string_view>
#include <thread>
#include <vector>

namespace vostrel::cli {

namespace {

constexpr int kBarWidth = 40;
constexpr int kBinWidth = 100;

void DrawBar(int done) {
    const int filled = done * kBarWidth / kTickets;
    char bar[kBarWidth + 1];
    for (int k = 0; k < kBarWidth; ++k) {
        bar[k] = k < filled ? '#' : '.';
    }
    bar[kBarWidth] = '\0';
    std::fprintf(stderr, "\ratlas [%s] %5d/%d", bar, done, kTickets);
    std::fflush(stderr);
    if (done == kTickets) {
        std::fputc('\n', stderr);
    }
}

// Floor division, so that bins of negative points line up too.
int32_t BinOf(int32_t points) {
    return (points >= 0 ? points / kBinWidth : -((-points + kBinWidth - 1) / kBinWidth)) *
           kBinWidth;
}

unsigned Cores() {
    return std::max(1u, std::thread::hardware_concurrency());
}

int CannotWrite(const char* out) {
    UsageError("atlas", "cannot write", out);
    return 1;
}

void WriteSummary(const std::vector<AtlasRow>& rows, FILE* csv) {
    int make10 = 0;
    std::map<int32_t, int> histogram;
    if (csv != nullptr) {
        std::fputs("ticket,best,value,tens\n", csv);
    }
    for (int t = 0; t < kTickets; ++t) {
        const AtlasRow& row = rows[static_cast<size_t>(t)];
        make10 += row.tens > 0 ? 1 : 0;
        ++histogram[BinOf(row.best)];
        if (csv != nullptr) {
            std::fprintf(csv, "%04d,%d,%d,%u\n", t, row.best, row.value, row.tens);
        }
    }
    std::printf("tickets %d\n", kTickets);
    std::printf("make10 %d %.2f%%\n", make10, 100.0 * make10 / kTickets);
    for (const auto& [bin, count] : histogram) {
        std::printf("best %d..%d %d\n", bin, bin + kBinWidth - 1, count);
    }
}

// The combinations in the order of the table: powers on first, then by inexact division, by
// inexact root, and other results on before off.
std::vector<int> TableOrder() {
    std::vector<int> order;
    for (int eu = 1; eu >= 0; --eu) {
        for (int nsd = 0; nsd <= 1; ++nsd) {
            for (int nsr = 0; nsr <= 1; ++nsr) {
                for (int rto = 1; rto >= 0; --rto) {
                    order.push_back(SwitchCombinationIndex({{nsd, nsr, rto}, eu}));
                }
            }
        }
    }
    return order;
}

void WriteTable(const std::vector<AllSwitchesRow>& rows, FILE* csv) {
    if (csv != nullptr) {
        std::fputs("nsd,nsr,rto,eu,ticket,best,value,tens\n", csv);
    }
    std::puts("| inexact division (nsd) | inexact root (nsr) | other results (rto) | powers (eu) "
              "| tickets that make 10 | share |");
    std::puts("|---|---|---|---|---|---|");
    for (const int c : TableOrder()) {
        const SolveSwitches sw = SwitchCombination(c);
        const int nsd = sw.score.scoreInexactDivision;
        const int nsr = sw.score.scoreInexactRoot;
        const int rto = sw.score.scoreOtherResults;
        int make10 = 0;
        for (int t = 0; t < kTickets; ++t) {
            const AtlasRow& row = rows[static_cast<size_t>(t)][static_cast<size_t>(c)];
            make10 += row.tens > 0 ? 1 : 0;
            if (csv != nullptr) {
                std::fprintf(csv, "%d,%d,%d,%d,%04d,%d,%d,%u\n", nsd, nsr, rto, sw.usePower, t,
                             row.best, row.value, row.tens);
            }
        }
        std::printf("| %d | %d | %d | %d | %d | %.2f%% |\n", nsd, nsr, rto, sw.usePower, make10,
                    100.0 * make10 / kTickets);
    }
}

} // namespace

int RunAtlas(int argc, char** argv) {
    SolveSwitches sw;
    bool switchGiven = false;
    bool allSwitches = false;
    const char* out = nullptr;
    for (int i = 0; i < argc;) {
        const int took = ParseSwitch("atlas", argc, argv, &i, &sw);
        if (took < 0) {
            return 2;
        }
        if (took > 0) {
            switchGiven = true;
            continue;
        }
        const std::string_view arg = argv[i];
        if (arg == "--out" && i + 1 < argc) {
            out = argv[i + 1];
            i += 2;
            continue;
        }
        if (arg == "--all-switches") {
            allSwitches = true;
            ++i;
            continue;
        }
        UsageError("atlas", "unexpected argument", argv[i]);
        return 2;
    }
    if (allSwitches && switchGiven) {
        UsageError("atlas", "no switch options with", "--all-switches");
        return 2;
    }
    FILE* csv = nullptr;
    if (out != nullptr) {
        csv = std::fopen(out, "w");
        if (csv == nullptr) {
            return CannotWrite(out);
        }
    }
    if (allSwitches) {
        WriteTable(SolveTicketsAllSwitches(Cores(), DrawBar), csv);
    } else {
        WriteSummary(SolveTickets(sw, Cores(), DrawBar), csv);
    }
    if (csv != nullptr && std::fclose(csv) != 0) {
        return CannotWrite(out);
    }
    return 0;
}

} // namespace vostrel::cli
