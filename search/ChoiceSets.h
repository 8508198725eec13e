#pragma once
// Every choice set that the game window can build from a fresh problem: powers where the power
// labels are enabled, both signs, every gap operator, and every rank order that the join and
// rank rules leave open (joined gaps first, in position order; the other positions in any
// order behind them).

#include "engine/ExpressionModel.h"
#include "engine/ExpressionShape.h"
#include "engine/ExpressionState.h"
#include "search/JoinPatterns.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vostrel {

// Calls f(const ExpressionState&) once per choice set; returns how many there were.
template <class F>
uint32_t ForEachChoiceSet(const std::array<int32_t, kPositions>& digits, int32_t usePower, F&& f) {
    uint32_t count = 0;
    for (unsigned joins = 0; joins < shape::kJoinPatterns; ++joins) {
        ExpressionState s = search::PatternState(digits, joins, usePower);
        // What the window leaves open: the free positions (their operators and ranks) and the
        // enabled power labels.
        int freePos[kPositions];
        int nFree = 0;
        int powered[kPositions];
        int nPowered = 0;
        uint32_t opCombos = 1;
        uint32_t powerCombos = 1;
        for (int k = 0; k < kPositions; ++k) {
            if (s.rankOn[k]) {
                freePos[nFree++] = k;
                opCombos *= static_cast<uint32_t>(shape::OperatorChoices(k));
            }
            if (s.powerOn[k]) {
                powered[nPowered++] = k;
                powerCombos *= kPowerItems;
            }
        }
        const int32_t firstFreeRank = s.rank[freePos[0]];
        for (uint32_t oc = 0; oc < opCombos; ++oc) {
            // The gaps vary fastest, left to right, the sign slowest.
            uint32_t ops = oc;
            for (int i = 1; i <= nFree; ++i) {
                const int pos = freePos[i % nFree];
                const auto choices = static_cast<uint32_t>(shape::OperatorChoices(pos));
                s.op[pos] = static_cast<int32_t>(ops % choices);
                ops /= choices;
            }
            for (uint32_t pc = 0; pc < powerCombos; ++pc) {
                uint32_t rest = pc;
                for (int i = 0; i < nPowered; ++i) {
                    s.power[powered[i]] = static_cast<int32_t>(rest % kPowerItems);
                    rest /= kPowerItems;
                }
                int32_t order[kPositions];
                for (int i = 0; i < nFree; ++i) {
                    order[i] = firstFreeRank + i;
                }
                do {
                    for (int i = 0; i < nFree; ++i) {
                        s.rank[freePos[i]] = order[i];
                    }
                    f(static_cast<const ExpressionState&>(s));
                    ++count;
                } while (std::next_permutation(order, order + nFree));
            }
        }
    }
    return count;
}

} // namespace vostrel
