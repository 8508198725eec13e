// The atlas of every switch combination: 16 single atlases one after the other against the one
// pass that scores every combination, on the machine's cores. Whole runs over 10,000 tickets:
// run with few repetitions, e.g. --benchmark_filter=Atlas --benchmark_repetitions=3.
#include "tools/cli/AtlasTickets.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <thread>

namespace vostrel {
namespace {

unsigned Cores() {
    return std::max(1u, std::thread::hardware_concurrency());
}

void BM_Atlas16Single(benchmark::State& state) {
    for (auto _ : state) {
        for (int c = 0; c < kSwitchCombinations; ++c) {
            auto rows = cli::SolveTickets(SwitchCombination(c), Cores(), nullptr);
            benchmark::DoNotOptimize(rows.data());
        }
    }
    state.counters["threads"] = Cores();
}
BENCHMARK(BM_Atlas16Single)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

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
