#pragma once
// The best points, their result and the count of tens for four digits under every switch
// combination at once: one search under the widest switches, since the choice sets and their
// values are the same under all; only which of them count, and the final points, differ.

#include "search/Solver.h"

#include <array>
#include <cstdint>

namespace vostrel {

// The switch combinations by index: bit 0 scoreInexactDivision, bit 1 scoreInexactRoot, bit 2
// scoreOtherResults, bit 3 usePower.
inline constexpr int kSwitchCombinations = 16;
SolveSwitches SwitchCombination(int index);
// The index of the combination that scores as sw does (a non-zero switch is on).
int SwitchCombinationIndex(const SolveSwitches& sw);

// A SolveResult without the choice set.
struct SolveSummary {
    int32_t status = EvalOk;
    bool found = false;
    int32_t best = 0;
    int32_t value = 0;
    uint32_t tens = 0;
    uint32_t states = 0;

    friend bool operator==(const SolveSummary&, const SolveSummary&) = default;
};
using AllSwitchesResult = std::array<SolveSummary, kSwitchCombinations>;

AllSwitchesResult SolveAllSwitches(const Digits& digits);

// Every ticket d0 d1 d2 d3 with the given middle digits, at index d0 * 10 + d3. The parts of
// the search that leave out the first or the last digit are worked out once for all hundred.
inline constexpr int kTicketsPerMiddle = 100;
using MiddleBlock = std::array<AllSwitchesResult, kTicketsPerMiddle>;
void SolveAllSwitchesMiddle(int32_t d1, int32_t d2, MiddleBlock& out);

} // namespace vostrel
