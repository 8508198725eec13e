#pragma once
// Results of 10 found by looking them up instead of pairing everything: at the root of the whole
// expression, one side's value and the operator leave only a few values that the other side can
// hold for the pair to make the target. With the other side sorted by value, the pairs that make
// 10 cost one binary search per item of the smaller side.

#include "engine/ExpressionState.h"
#include "search/SearchParts.h"

#include <algorithm>
#include <cstdint>

namespace vostrel::search {

// Given one operand, the values of the other that can make left op right equal the target:
// one range, or for a division by the other operand two, the second the negatives of the
// first. Returns how many. The ranges hold inexact quotients too; the step itself decides.
inline int OtherFor(int32_t known, bool knownLeft, int32_t op, int32_t target, int64_t& lo,
                    int64_t& hi) {
    switch (op) {
    case OpAdd:
        lo = hi = int64_t{target} - known;
        return 1;
    case OpSub:
        lo = hi = knownLeft ? int64_t{known} - target : int64_t{target} + known;
        return 1;
    case OpMul:
        if (known == 0 || target % known != 0) {
            return 0;
        }
        lo = hi = target / known;
        return 1;
    default: {
        const int64_t k = known;
        const int64_t magnitude = k < 0 ? -k : k;
        if (knownLeft) {
            // |left / right| is at least 10 and below 11.
            lo = magnitude / 11;
            hi = magnitude / 10;
            return hi == 0 ? 0 : 2;
        }
        if (known == 0) {
            return 0;
        }
        lo = target * k - magnitude;
        hi = target * k + magnitude;
        return 1;
    }
    }
}

// Calls f(item) for every item whose value lies in lo..hi, given `order`, the items' offsets
// sorted by value.
template <class F>
void ForValues(const Item* items, const uint32_t* order, uint32_t size, int64_t lo, int64_t hi,
               F&& f) {
    const uint32_t* last = order + size;
    const uint32_t* it = std::lower_bound(
        order, last, lo, [items](uint32_t k, int64_t v) { return int64_t{items[k].value} < v; });
    for (; it != last && items[*it].value <= hi; ++it) {
        f(items[*it], *it);
    }
}

// Every pair of `known` with an item of the other side that may make the target under op:
// f(other item, its offset).
template <class F>
void ForTargetPartners(const Item& known, bool knownLeft, int32_t op, int32_t target,
                       const Item* items, const uint32_t* byValue, uint32_t size, F&& f) {
    int64_t lo = 0;
    int64_t hi = 0;
    const int ranges = OtherFor(known.value, knownLeft, op, target, lo, hi);
    for (int n = 0; n < ranges; ++n) {
        // A second range mirrors the first: the negative divisors.
        ForValues(items, byValue, size, n == 0 ? lo : -hi, n == 0 ? hi : -lo, f);
    }
}

} // namespace vostrel::search
