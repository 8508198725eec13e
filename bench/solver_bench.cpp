// Solve against the plain brute force (Evaluate on every choice set) on the same tickets, in
// the same run. The ratio is brute-force time per ticket over Solve's time per ticket, both
// taken from this run's own measurements of the two loops.
#include "search/Solver.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <vector>

namespace vostrel {
namespace {

// Easy and hard tickets, zeros and repeats; default switches of a new settings file.
const std::vector<Digits> kTickets = {
    {1, 2, 3, 4}, {5, 0, 5, 1}, {9, 9, 9, 9}, {0, 0, 0, 0},
    {3, 8, 0, 7}, {6, 6, 6, 9}, {4, 8, 1, 6}, {9, 7, 5, 3},
};

double gSolveNs = 0;
double gBruteNs = 0;

template <SolveResult (*F)(const Digits&, const SolveSwitches&)>
void RunTickets(benchmark::State& state, double& perTicketNs) {
    const SolveSwitches sw;
    int64_t tickets = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        for (const Digits& d : kTickets) {
            SolveResult r = F(d, sw);
            benchmark::DoNotOptimize(r);
            ++tickets;
        }
    }
    const auto ns =
        std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    perTicketNs = ns / static_cast<double>(tickets);
    state.SetItemsProcessed(tickets);
    state.counters["us_per_ticket"] = perTicketNs / 1000.0;
    if (gSolveNs > 0 && gBruteNs > 0) {
        state.counters["brute_over_solve"] = gBruteNs / gSolveNs;
    }
}

void BM_Solve(benchmark::State& state) {
    RunTickets<Solve>(state, gSolveNs);
}
BENCHMARK(BM_Solve)->Unit(benchmark::kMillisecond);

// Registered after BM_Solve, so its ratio counter uses Solve's time from the same run.
void BM_SolveBruteForce(benchmark::State& state) {
    RunTickets<SolveBruteForce>(state, gBruteNs);
}
BENCHMARK(BM_SolveBruteForce)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vostrel
