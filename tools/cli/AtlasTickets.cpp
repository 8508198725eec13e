#include "tools/cli/AtlasTickets.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace vostrel::cli {

namespace {

// Hands out tickets one by one to `workers` threads running solve(ticket).
template <class F> void RunTickets(unsigned workers, const AtlasProgress& progress, F&& solve) {
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < std::max(1u, workers); ++w) {
        threads.emplace_back([&] {
            for (int t = next++; t < kTickets; t = next++) {
                solve(t);
                ++done;
            }
        });
    }
    for (int d = done.load(); d < kTickets; d = done.load()) {
        if (progress) {
            progress(d);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    for (std::thread& t : threads) {
        t.join();
    }
    if (progress) {
        progress(kTickets);
    }
}

} // namespace

Digits TicketDigits(int ticket) {
    return {ticket / 1000, ticket / 100 % 10, ticket / 10 % 10, ticket % 10};
}

std::vector<AtlasRow> SolveTickets(const SolveSwitches& sw, unsigned workers,
                                   const AtlasProgress& progress) {
    std::vector<AtlasRow> rows(kTickets);
    RunTickets(workers, progress, [&](int t) {
        const SolveResult r = Solve(TicketDigits(t), sw);
        rows[static_cast<size_t>(t)] = {r.best, r.value, r.tens};
    });
    return rows;
}

std::vector<AllSwitchesRow> SolveTicketsAllSwitches(unsigned workers,
                                                    const AtlasProgress& progress) {
    std::vector<AllSwitchesRow> rows(kTickets);
    RunTickets(workers, progress, [&](int t) {
        const AllSwitchesResult all = SolveAllSwitches(TicketDigits(t));
        for (size_t c = 0; c < all.size(); ++c) {
            rows[static_cast<size_t>(t)][c] = {all[c].best, all[c].value, all[c].tens};
        }
    });
    return rows;
}

} // namespace vostrel::cli
