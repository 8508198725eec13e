// The atlas of one switch combination (those of a new settings file) against the atlas of all
// sixteen: both run the one search that scores every combination, on the machine's cores. Whole
// runs over 10,000 tickets: run with few repetitions, e.g. --benchmark_filter=Atlas
// --benchmark_repetitions=3.
#include "tools/cli/AtlasTickets.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <thread>

namespace vostrel {
namespace {

unsigned Cores() {
    return std::max(1u, std::thread::hardware_concurrency());
}

void BM_AtlasOneSet(benchmark::State& state) {
    for (auto _ : state) {
        auto rows = cli::SolveTickets(SolveSwitches{}, Cores(), nullptr);
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["threads"] = Cores();
}
BENCHMARK(BM_AtlasOneSet)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_AtlasAllSwitches(benchmark::State& state) {
    for (auto _ : state) {
        auto rows = cli::SolveTicketsAllSwitches(Cores(), nullptr);
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["threads"] = Cores();
}
BENCHMARK(BM_AtlasAllSwitches)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
} // namespace vostrel
