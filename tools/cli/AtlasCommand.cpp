// vostrel-cli atlas: every ticket 0000 to 9999 solved on every core, with a summary.
#include "engine/Solver.h"
#include "tools/cli/Commands.h"
#include "tools/cli/SolverOptions.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <string_view>
#include <thread>
#include <vector>

namespace vostrel::cli {

namespace {

constexpr int kTickets = 10000;
constexpr int kBarWidth = 40;
constexpr int kBinWidth = 100;

struct Row {
    int32_t best = 0;
    int32_t value = 0;
    uint32_t tens = 0;
};

void DrawBar(int done) {
    const int filled = done * kBarWidth / kTickets;
    char bar[kBarWidth + 1];
    for (int k = 0; k < kBarWidth; ++k) {
        bar[k] = k < filled ? '#' : '.';
    }
    bar[kBarWidth] = '\0';
    std::fprintf(stderr, "\ratlas [%s] %5d/%d", bar, done, kTickets);
    std::fflush(stderr);
}

// Floor division, so that bins of negative points line up too.
int32_t BinOf(int32_t points) {
    return (points >= 0 ? points / kBinWidth : -((-points + kBinWidth - 1) / kBinWidth)) *
           kBinWidth;
}

} // namespace

int RunAtlas(int argc, char** argv) {
    SolveSwitches sw;
    const char* out = nullptr;
    for (int i = 0; i < argc;) {
        const int took = ParseSwitch("atlas", argc, argv, &i, &sw);
        if (took < 0) {
            return 2;
        }
        if (took > 0) {
            continue;
        }
        if (std::string_view(argv[i]) == "--out" && i + 1 < argc) {
            out = argv[i + 1];
            i += 2;
            continue;
        }
        UsageError("atlas", "unexpected argument", argv[i]);
        return 2;
    }
    FILE* csv = nullptr;
    if (out != nullptr) {
        csv = std::fopen(out, "w");
        if (csv == nullptr) {
            UsageError("atlas", "cannot write", out);
            return 1;
        }
    }

    std::vector<Row> rows(kTickets);
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> workers;
    for (unsigned w = 0; w < cores; ++w) {
        workers.emplace_back([&] {
            for (int t = next++; t < kTickets; t = next++) {
                const Digits d = {t / 1000, t / 100 % 10, t / 10 % 10, t % 10};
                const SolveResult r = Solve(d, sw);
                rows[static_cast<size_t>(t)] = {r.best, r.value, r.tens};
                ++done;
            }
        });
    }
    for (int d = done.load(); d < kTickets; d = done.load()) {
        DrawBar(d);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    for (std::thread& w : workers) {
        w.join();
    }
    DrawBar(kTickets);
    std::fputc('\n', stderr);

    int make10 = 0;
    std::map<int32_t, int> histogram;
    if (csv != nullptr) {
        std::fputs("ticket,best,value,tens\n", csv);
    }
    for (int t = 0; t < kTickets; ++t) {
        const Row& row = rows[static_cast<size_t>(t)];
        make10 += row.tens > 0 ? 1 : 0;
        ++histogram[BinOf(row.best)];
        if (csv != nullptr) {
            std::fprintf(csv, "%04d,%d,%d,%u\n", t, row.best, row.value, row.tens);
        }
    }
    if (csv != nullptr && std::fclose(csv) != 0) {
        UsageError("atlas", "cannot write", out);
        return 1;
    }
    std::printf("tickets %d\n", kTickets);
    std::printf("make10 %d %.2f%%\n", make10, 100.0 * make10 / kTickets);
    for (const auto& [bin, count] : histogram) {
        std::printf("best %d..%d %d\n", bin, bin + kBinWidth - 1, count);
    }
    return 0;
}

} // namespace vostrel::cli
