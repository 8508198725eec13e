#pragma once
// Every choice set that the game window can build from a fresh problem: powers where the power
// labels are enabled, both signs, every gap operator, and every rank order that the join and
// rank rules leave open (joined gaps first, in position order; the other positions in any
// order behind them).

#include "engine/ExpressionState.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace vostrel {

// Calls f(const ExpressionState&) once per choice set; returns how many there were.
template <class F>
uint32_t ForEachChoiceSet(const std::array<int32_t, kPositions>& digits, int32_t usePower, F&& f) {
    uint32_t count = 0;
    for (unsigned joins = 0; joins < 8; ++joins) {
        const auto joined = [joins](int gap) { return gap >= 1 && ((joins >> (gap - 1)) & 1u); };
        const int32_t j = std::popcount(joins);
        ExpressionState s;
        int freePos[kPositions];
        int nFree = 0;
        int gaps[3];
        int nGaps = 0;
        int powered[kPositions];
        int nPowered = 0;
        int32_t nextJoinRank = 0;
        for (int k = 0; k < kPositions; ++k) {
            s.digits[k] = digits[k];
            s.power[k] = PowNone;
            s.powerOn[k] = usePower != 0 && !joined(k + 1);
            s.rankOn[k] = !joined(k);
            if (s.powerOn[k]) {
                powered[nPowered++] = k;
            }
            if (joined(k)) {
                s.op[k] = OpJoin;
                s.rank[k] = nextJoinRank++;
            } else {
                freePos[nFree++] = k;
                if (k > 0) {
                    gaps[nGaps++] = k;
                }
            }
        }
        uint32_t opCombos = 1u << (2 * nGaps);
        uint32_t powerCombos = 1;
        for (int i = 0; i < nPowered; ++i) {
            powerCombos *= 5;
        }
        for (int32_t sign = 0; sign < 2; ++sign) {
            s.op[0] = sign;
            for (uint32_t oc = 0; oc < opCombos; ++oc) {
                for (int g = 0; g < nGaps; ++g) {
                    s.op[gaps[g]] = static_cast<int32_t>((oc >> (2 * g)) & 3u);
                }
                for (uint32_t pc = 0; pc < powerCombos; ++pc) {
                    uint32_t rest = pc;
                    for (int i = 0; i < nPowered; ++i) {
                        s.power[powered[i]] = static_cast<int32_t>(rest % 5);
                        rest /= 5;
                    }
                    int32_t order[kPositions];
                    for (int i = 0; i < nFree; ++i) {
                        order[i] = j + i;
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
    }
    return count;
}

} // namespace vostrel
