// The atlas of one switch combination (those of a new settings file) against the atlas of all
// sixteen: both run the one search that scores every combination, on the machine's cores. Whole
// runs over 10,000 tickets: run with few repetitions, e.g. --benchmark_filter=Atlas
// --benchmark_repetitions=5. The time is wall time; cpu_s is the processor time of all threads,
// which other programs on a busy machine do not inflate as much: on idle cores the wall time
// approaches cpu_s divided by the threads.
#include "tools/cli/AtlasTickets.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <thread>

namespace vostrel {
namespace {

unsigned Cores() {
    return std::max(1u, std::thread::hardware_concurrency());
}

// Processor seconds of the whole process, all threads.
double ProcessCpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

template <class F> void RunAtlas(benchmark::State& state, F&& solve) {
    const double cpu = ProcessCpuSeconds();
    for (auto _ : state) {
        auto rows = solve();
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["cpu_s"] = ProcessCpuSeconds() - cpu;
    state.counters["threads"] = Cores();
}

void BM_AtlasOneSet(benchmark::State& state) {
    RunAtlas(state, [] { return cli::SolveTickets(SolveSwitches{}, Cores(), nullptr); });
}
BENCHMARK(BM_AtlasOneSet)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_AtlasAllSwitches(benchmark::State& state) {
    RunAtlas(state, [] { return cli::SolveTicketsAllSwitches(Cores(), nullptr); });
}
BENCHMARK(BM_AtlasAllSwitches)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
} // namespace vostrel
