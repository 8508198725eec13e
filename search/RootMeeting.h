#pragma once
// The whole expression is never built as a set of sub-results. Its root operator joins two
// stored parts: the implicit zero's side (operands 0..r-1) and the rest (r..m), or, when the
// sign is the root, 0 +/- (left op right) with both parts right of the zero. Most of those
// pairs can be dismissed unseen:
// - Results of 10 are looked up by value in the larger side, sorted by value; they give the
//   count of tens and, usually, the best points, and they are offered first.
// - Any other result earns at most the bonus for 0 at the end, and positive totals of results
//   without a bonus end at 0. Each side is also sorted by points, so a row (one item of the
//   smaller side and an operator) stops at the first partner whose best reachable final
//   points fall below the best found; a row whose best partner cannot reach it is skipped.
// The answer stays the one that trying every pair in the search's order would keep: among
// equally good choice sets the first in that order, whose key every candidate carries. Under
// the sign the parts below the root were merged by value before, the highest points first: an
// equal key there prefers the higher total before the order.

#include "search/SearchParts.h"

#include <cstdint>

namespace vostrel::search {

// A stored part seen from the root: its items, and their offsets sorted by value (ascending)
// and by points (descending), each worked out on first use into space the owner gives.
class Side {
public:
    Side() = default;
    Side(const Item* items, uint32_t size, uint32_t* byValue, uint32_t* byPoints, uint64_t* scratch)
        : items_(items), size_(size), byValue_(byValue), byPoints_(byPoints), scratch_(scratch) {}

    const Item* Items() const { return items_; }
    uint32_t Size() const { return size_; }
    const uint32_t* ByValue();
    const uint32_t* ByPoints();
    int32_t MostPoints();

private:
    const Item* items_ = nullptr;
    uint32_t size_ = 0;
    uint32_t* byValue_ = nullptr;
    uint32_t* byPoints_ = nullptr;
    uint64_t* scratch_ = nullptr; // size_ entries
    bool valueSorted_ = false;
    bool pointsSorted_ = false;
    bool mostKnown_ = false;
    int32_t most_ = 0;
};

// Two parts meeting at the root, and what a pair of their items adds.
struct Meeting {
    Side* left = nullptr;
    Side* right = nullptr;
    int32_t ops = 0;     // what the root's position offers
    int32_t sign = -1;   // kSignPlus or kSignMinus around the pair, or -1
    int32_t points = 0;  // what every pair earns besides its parts, operator and sign
    uint32_t weight = 1; // rank orders per pair
    int32_t joinCount = 0;
    unsigned joins = 0;
    // The pair's code: left | (right + rightShift) | the root's operator at opPos | fixedCode.
    int opPos = 0;
    uint32_t rightShift = 0;
    uint32_t fixedCode = 0;
    // The pair's place in the search's order: keyBase | op << keyOpShift | left << 18 | right.
    uint64_t keyBase = 0;
    int keyOpShift = 0;
    bool merged = false; // under the sign: the pairs were merged by value before
};

inline constexpr int kKeyItemBits = 18;

class RootSearch {
public:
    explicit RootSearch(const SolveSwitches& sw) : sw_(sw) {}

    // Counts the results of 10 and offers them.
    void Tens(const Meeting& m);
    // Offers every other result that could still be the best.
    void Others(const Meeting& m);

    struct Answer {
        bool found = false;
        int32_t points = 0;
        int32_t value = 0;
        uint32_t code = 0;
        unsigned joins = 0;
    };
    Answer Best() const;
    uint32_t TenCount() const { return tens_; }

private:
    struct Candidate {
        int32_t points;
        int32_t value;
        int32_t jp;
        int32_t total; // before the final adjustment
        uint64_t key;
        bool merged;
        uint32_t code;
        unsigned joins;
    };

    void Pair(const Meeting& m, int32_t op, const Item& l, uint32_t li, const Item& r, uint32_t ri,
              bool tens);
    void Offer(const Candidate& c);
    // The most a result other than 10 can end with, from a total of at most `most`.
    int32_t OtherCeiling(int32_t most) const;

    const SolveSwitches& sw_;
    uint32_t tens_ = 0;
    bool found_ = false;
    Candidate best_{};
};

} // namespace vostrel::search
