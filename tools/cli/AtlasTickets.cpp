#include "tools/cli/AtlasTickets.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace vostrel::cli {

namespace {

// Hands out `units` of `size` tickets each, one by one, to `workers` threads running
// solve(unit). The caller sleeps between progress reports but wakes as soon as the last unit is
// done, so that the wall time is the work's.
template <class F>
void RunTickets(unsigned workers, const AtlasProgress& progress, int units, int size, F&& solve) {
    std::atomic<int> next{0};
    std::mutex mutex;
    std::condition_variable finished;
    int done = 0;
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < std::max(1u, workers); ++w) {
        threads.emplace_back([&] {
            for (int u = next++; u < units; u = next++) {
                solve(u);
                const std::lock_guard<std::mutex> lock(mutex);
                done += size;
                if (done == kTickets) {
                    finished.notify_all();
                }
            }
        });
    }
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (done < kTickets) {
            if (progress) {
                const int reached = done;
                lock.unlock();
                progress(reached);
                lock.lock();
            }
            finished.wait_for(lock, std::chrono::milliseconds(100),
                              [&] { return done == kTickets; });
        }
    }
    for (std::thread& t : threads) {
        t.join();
    }
    if (progress) {
        progress(kTickets);
    }
}

// One search serves both: a combination's rows are one column of what the shared search
// gives, which solves a hundred tickets with the same middle digits at once.
template <class Store>
void SolveByMiddles(unsigned workers, const AtlasProgress& progress, Store&& store) {
    constexpr int kMiddles = kTickets / kTicketsPerMiddle;
    RunTickets(workers, progress, kMiddles, kTicketsPerMiddle, [&](int middle) {
        MiddleBlock block;
        SolveAllSwitchesMiddle(middle / 10, middle % 10, block);
        for (int k = 0; k < kTicketsPerMiddle; ++k) {
            const int t = k / 10 * 1000 + middle * 10 + k % 10;
            store(static_cast<size_t>(t), block[static_cast<size_t>(k)]);
        }
    });
}

AtlasRow RowOf(const SolveSummary& s) {
    return {s.best, s.value, s.tens};
}

} // namespace

Digits TicketDigits(int ticket) {
    return {ticket / 1000, ticket / 100 % 10, ticket / 10 % 10, ticket % 10};
}

std::vector<AtlasRow> SolveTickets(const SolveSwitches& sw, unsigned workers,
                                   const AtlasProgress& progress) {
    std::vector<AtlasRow> rows(kTickets);
    const auto c = static_cast<size_t>(SwitchCombinationIndex(sw));
    SolveByMiddles(workers, progress,
                   [&](size_t t, const AllSwitchesResult& all) { rows[t] = RowOf(all[c]); });
    return rows;
}

std::vector<AllSwitchesRow> SolveTicketsAllSwitches(unsigned workers,
                                                    const AtlasProgress& progress) {
    std::vector<AllSwitchesRow> rows(kTickets);
    SolveByMiddles(workers, progress, [&](size_t t, const AllSwitchesResult& all) {
        for (size_t c = 0; c < all.size(); ++c) {
            rows[t][c] = RowOf(all[c]);
        }
    });
    return rows;
}

} // namespace vostrel::cli
