// The hint's answer on every ticket under every switch set: the best expression solved for the
// problem on screen and its first label from a fresh problem, as a hint takes them. Each answer
// is timed on its own, by the clock and by the thread's processor time (which a busy machine's
// other work does not lengthen); the counters are microseconds at the median, the 99th
// percentile and the slowest answer.
#include "engine/ExpressionModel.h"
#include "search/AllSwitchesSolver.h"
#include "search/LabelOrder.h"
#include "search/Solver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

namespace vostrel {
namespace {

double ThreadMicroseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

void Percentiles(benchmark::State& state, std::vector<double>& us, const std::string& prefix) {
    std::sort(us.begin(), us.end());
    const auto at = [&us](double q) {
        return us[static_cast<size_t>(q * static_cast<double>(us.size() - 1))];
    };
    state.counters[prefix + "p50_us"] = at(0.5);
    state.counters[prefix + "p99_us"] = at(0.99);
    state.counters[prefix + "max_us"] = us.back();
}

void BM_HintAnswer(benchmark::State& state) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (auto _ : state) {
        wall.clear();
        cpu.clear();
        for (int combo = 0; combo < kSwitchCombinations; ++combo) {
            const SolveSwitches sw = SwitchCombination(combo);
            for (int t = 0; t < 10000; ++t) {
                ExpressionState fresh;
                const Digits d = {t / 1000, t / 100 % 10, t / 10 % 10, t % 10};
                for (int k = 0; k < kPositions; ++k) {
                    fresh.digits[k] = d[k];
                }
                ResetExpression(fresh, sw.usePower);
                const double cpuStart = ThreadMicroseconds();
                const auto start = std::chrono::steady_clock::now();
                const SolveResult best = Solve(d, sw);
                auto next = NextLabel(fresh, best.choice);
                benchmark::DoNotOptimize(next);
                wall.push_back(std::chrono::duration<double, std::micro>(
                                   std::chrono::steady_clock::now() - start)
                                   .count());
                cpu.push_back(ThreadMicroseconds() - cpuStart);
            }
        }
    }
    state.counters["answers"] = static_cast<double>(wall.size());
    Percentiles(state, wall, "");
    Percentiles(state, cpu, "cpu_");
}
BENCHMARK(BM_HintAnswer)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
} // namespace vostrel
