// Evaluation throughput over a fixed mix of expressions as players build them: joins, powers,
// every operator, ranks in many orders, and a share that fails part-way.
#include "engine/Evaluator.h"
#include "engine/ExpressionModel.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace vostrel {
namespace {

struct Case {
    ExpressionState state;
    int32_t tryCount;
    ScoreSwitches sw;
};

// A fixed linear congruential sequence, so that every run measures the same mix.
struct Lcg {
    uint32_t x = 20050117u;
    int32_t Next(int32_t n) {
        x = x * 1664525u + 1013904223u;
        return static_cast<int32_t>((x >> 8) % static_cast<uint32_t>(n));
    }
};

std::vector<Case> MakeMix(int count) {
    Lcg rng;
    std::vector<Case> mix;
    mix.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        Case c{};
        for (int k = 0; k < kPositions; ++k) {
            c.state.digits[k] = rng.Next(10);
        }
        ResetExpression(c.state, 1);
        // A handful of committed choices through the model keeps every state one the game
        // could hold.
        const int choices = 2 + rng.Next(8);
        for (int n = 0; n < choices; ++n) {
            switch (rng.Next(6)) {
            case 0:
                SetPower(c.state, rng.Next(4), rng.Next(5));
                break;
            case 1:
                SetSign(c.state, rng.Next(2));
                break;
            case 2:
            case 3:
                SetGapOp(c.state, 1 + rng.Next(3), rng.Next(5), 1);
                break;
            default:
                SetRank(c.state, rng.Next(4), rng.Next(4));
                break;
            }
        }
        c.tryCount = rng.Next(11);
        c.sw = {rng.Next(2), rng.Next(2), rng.Next(2)};
        mix.push_back(c);
    }
    return mix;
}

void BM_Evaluate(benchmark::State& st) {
    constexpr int kMix = 1024; // a power of two
    const std::vector<Case> mix = MakeMix(kMix);
    int failures = 0;
    for (const Case& c : mix) {
        failures += Evaluate(c.state, c.tryCount, c.sw).status != EvalOk ? 1 : 0;
    }
    size_t i = 0;
    for (auto _ : st) {
        const Case& c = mix[i];
        benchmark::DoNotOptimize(Evaluate(c.state, c.tryCount, c.sw));
        i = (i + 1) & (kMix - 1);
    }
    st.SetItemsProcessed(static_cast<int64_t>(st.iterations()));
    st.counters["failing_share"] = static_cast<double>(failures) / kMix;
}
BENCHMARK(BM_Evaluate);

} // namespace
} // namespace vostrel
