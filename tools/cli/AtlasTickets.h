#pragma once
// Every ticket 0000 to 9999 solved on worker threads, under one switch combination or under all
// of them at once. Shared by vostrel-cli atlas and the benchmark.

#include "search/AllSwitchesSolver.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace vostrel::cli {

inline constexpr int kTickets = 10000;

struct AtlasRow {
    int32_t best = 0;
    int32_t value = 0;
    uint32_t tens = 0;

    friend bool operator==(const AtlasRow&, const AtlasRow&) = default;
};

using AllSwitchesRow = std::array<AtlasRow, kSwitchCombinations>;

// Called on the calling thread about every 100 ms with the tickets done, and once at the end.
using AtlasProgress = std::function<void(int done)>;

// Rows by ticket, from the search of every combination at once. Each ticket is solved alone,
// so the rows do not depend on the threads.
std::vector<AtlasRow> SolveTickets(const SolveSwitches& sw, unsigned workers,
                                   const AtlasProgress& progress);
std::vector<AllSwitchesRow> SolveTicketsAllSwitches(unsigned workers,
                                                    const AtlasProgress& progress);

// The ticket's digits: 1234 is {1, 2, 3, 4}.
Digits TicketDigits(int ticket);

} // namespace vostrel::cli
