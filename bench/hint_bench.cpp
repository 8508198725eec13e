// The hint's answer on every ticket under every switch set: the best expression solved for the
// problem on screen and its first label from a fresh problem, as a hint takes them. Each answer
// is timed on its own; the counters are microseconds at the median, the 99th percentile and the
// slowest answer.
#include "engine/ExpressionModel.h"
#include "search/AllSwitchesSolver.h"
#include "search/LabelOrder.h"
#include "search/Solver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace vostrel {
namespace {

void BM_HintAnswer(benchmark::State& state) {
    std::vector<double> us;
    us.reserve(10000u * kSwitchCombinations);
    for (auto _ : state) {
        us.clear();
        for (int combo = 0; combo < kSwitchCombinations; ++combo) {
            const SolveSwitches sw = SwitchCombination(combo);
            for (int t = 0; t < 10000; ++t) {
                ExpressionState fresh;
                const Digits d = {t / 1000, t / 100 % 10, t / 10 % 10, t % 10};
                for (int k = 0; k < kPositions; ++k) {
                    fresh.digits[k] = d[k];
                }
                ResetExpression(fresh, sw.usePower);
                const auto start = std::chrono::steady_clock::now();
                const SolveResult best = Solve(d, sw);
                auto next = NextLabel(fresh, best.choice);
                benchmark::DoNotOptimize(next);
                us.push_back(std::chrono::duration<double, std::micro>(
                                 std::chrono::steady_clock::now() - start)
                                 .count());
            }
        }
    }
    std::sort(us.begin(), us.end());
    const auto at = [&us](double q) {
        return us[static_cast<size_t>(q * static_cast<double>(us.size() - 1))];
    };
    state.counters["answers"] = static_cast<double>(us.size());
    state.counters["p50_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = us.back();
}
BENCHMARK(BM_HintAnswer)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
} // namespace vostrel
