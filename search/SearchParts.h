#pragma once
// The pieces shared by the searches for the best expression: merged sub-results, the operands of
// a join pattern, the table that merges sub-results and the order of solutions. Internal to the
// search.

#include "engine/ArithmeticSteps.h"
#include "engine/ExpressionShape.h"
#include "engine/ExpressionState.h"
#include "engine/PointRules.h"
#include "search/JoinPatterns.h"
#include "search/Solver.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>

namespace vostrel::search {

inline constexpr int kMaxOperands = kPositions + 1; // the implicit zero and four digits

// One merged sub-result. `code` holds a representative choice set: per position k, byte k
// holds the power of digit k (bits 0-2), the operator of position k (bits 3-5) and its rank
// among the free positions of the sub-expression (bits 6-7). `powers` counts the powers other
// than PowNone; the search of every switch combination flags inexact steps above the count.
struct Item {
    int32_t value;
    int32_t points;
    uint32_t count;
    uint32_t code;
    int32_t powers;
};

constexpr uint32_t PowerField(int digit, int32_t kind) {
    return static_cast<uint32_t>(kind) << (8 * digit);
}
constexpr uint32_t OpField(int pos, int32_t op) {
    return static_cast<uint32_t>(op) << (8 * pos + 3);
}
constexpr uint32_t RankField(int pos, int32_t rank) {
    return static_cast<uint32_t>(rank) << (8 * pos + 6);
}

struct Span {
    uint32_t begin = 0;
    uint32_t size = 0;
};

// The rank orders of a node whose sides hold a and b operators: C(a + b, a).
constexpr uint32_t Binomial(int n, int k) {
    constexpr uint32_t kTable[4][4] = {{1, 0, 0, 0}, {1, 1, 0, 0}, {1, 2, 1, 0}, {1, 3, 3, 1}};
    return kTable[n][k];
}

// Raw combinations that n consecutive operands can give, five items per leaf at most; the
// implicit zero in front has one and takes only the sign.
constexpr uint32_t RawBound(int n, bool zero) {
    if (n == 1) {
        return zero ? 1 : 5;
    }
    uint32_t sum = 0;
    for (int k = 1; k < n; ++k) {
        sum += ((zero && k == 1) ? 2 : 4) * RawBound(k, zero) * RawBound(n - k, false);
    }
    return sum;
}

// Every pair of a left and a right sub-result under each operator that position `pos` offers
// and the switches let succeed: f(op, left, right, result, points), the points being those of
// both sides, `bonus` and the operator's.
template <class F>
void ForEachPair(const Item* pool, Span ls, Span rs, int pos, int32_t bonus,
                 const ScoreSwitches& sw, F&& f) {
    const int32_t ops = shape::OperatorChoices(pos);
    for (int32_t op = 0; op < ops; ++op) {
        for (uint32_t li = 0; li < ls.size; ++li) {
            const Item& l = pool[ls.begin + li];
            for (uint32_t ri = 0; ri < rs.size; ++ri) {
                const Item& r = pool[rs.begin + ri];
                int32_t out = 0;
                int32_t points = l.points + r.points + bonus;
                if (steps::OpStep(l.value, r.value, op, sw, out, points) == EvalOk) {
                    f(op, l, r, out, points);
                }
            }
        }
    }
}

// Signed values in unsigned order.
constexpr uint32_t Ascending(int32_t v) {
    return static_cast<uint32_t>(v) ^ 0x80000000u;
}

// The offsets of `size` items sorted by key(item), ties by offset. Plain integers, the key
// above the offset, sort faster than offsets compared through the items.
template <class Key>
void SortOffsets(const Item* items, uint32_t size, uint64_t* scratch, uint32_t* out, Key key) {
    for (uint32_t k = 0; k < size; ++k) {
        scratch[k] = uint64_t{key(items[k])} << 32 | k;
    }
    std::sort(scratch, scratch + size);
    for (uint32_t k = 0; k < size; ++k) {
        out[k] = static_cast<uint32_t>(scratch[k]);
    }
}

// The operands of one join pattern: the implicit zero, then runs of joined digits.
struct Pattern {
    unsigned joins = 0;
    int32_t joinCount = 0;
    int operands = 0;             // the implicit zero included
    int first[kMaxOperands] = {}; // first digit of operand q >= 1: its operator's position
    int last[kMaxOperands] = {};  // last digit: where its power sits
    int32_t number[kMaxOperands] = {};
    // What every choice set of the pattern earns (JoinPattern::points), the implicit zero's
    // included, which leaves the zero itself none.
    int32_t topPoints = 0;
};

inline Pattern MakePattern(const Digits& d, unsigned joins) {
    const JoinPattern& jp = JoinPatternOf(joins);
    Pattern p;
    p.joins = joins;
    p.joinCount = std::popcount(joins);
    p.operands = jp.operands.count + 1;
    for (int q = 1; q < p.operands; ++q) {
        p.first[q] = jp.operands.first[q - 1];
        p.last[q] = jp.operands.last[q - 1];
        for (int k = p.first[q]; k <= p.last[q]; ++k) {
            p.number[q] = p.number[q] * 10 + d[k];
        }
    }
    p.topPoints = jp.points;
    return p;
}

// The order bonus of a node whose root is operand r of the interval ending at operand j: the
// root outranks its right neighbour when they are neighbouring positions.
inline int32_t RootBonus(const Pattern& p, int r, int j) {
    return (r < j && p.first[r] == p.last[r]) ? points::kOrderBonus : 0;
}

// Choice sets of one join pattern.
inline uint32_t CountChoiceSets(unsigned joins, int32_t usePower) {
    return JoinPatternOf(joins).choiceSets[usePower != 0 ? 1 : 0];
}

inline bool ValidDigits(const Digits& d) {
    for (int32_t v : d) {
        if (v < 0 || v > 9) {
            return false;
        }
    }
    return true;
}

// Merges the sub-results of one set by (value, powers), appending new ones to a pool. Open
// addressing; a slot is live when its stamp is the current one. Each set's table starts small
// and doubles when half full, so that the slots in use stay in the cache: most sets hold far
// fewer items than their bound.
class MergeTable {
public:
    static constexpr int kBits = 16;

    // A new set, whose items go to pool[*used] on.
    void Begin(Item* pool, uint32_t* used) {
        pool_ = pool;
        used_ = used;
        NewStamp();
        bits_ = kMinBits;
        live_ = 0;
        begin_ = *used;
    }

    void Insert(const Item& it) {
        const uint32_t mask = (1u << bits_) - 1;
        for (uint32_t h = HashOf(it);; h = (h + 1) & mask) {
            Slot& slot = table_[h];
            if (slot.stamp != current_) {
                slot = {current_, *used_};
                pool_[(*used_)++] = it;
                if (++live_ * 2 > mask && bits_ < kBits) {
                    Grow();
                }
                return;
            }
            Item& e = pool_[slot.index];
            if (e.value == it.value && e.powers == it.powers) {
                e.count += it.count;
                if (it.points > e.points) {
                    e.points = it.points;
                    e.code = it.code;
                }
                return;
            }
        }
    }

private:
    static constexpr int kMinBits = 8;
    struct Slot {
        uint32_t stamp;
        uint32_t index; // into the pool
    };

    void NewStamp() {
        if (++current_ == 0) {
            for (Slot& s : table_) {
                s.stamp = 0;
            }
            current_ = 1;
        }
    }

    uint32_t HashOf(const Item& it) const {
        const uint64_t key = static_cast<uint64_t>(static_cast<uint32_t>(it.value)) << 8 ^
                             static_cast<uint32_t>(it.powers);
        return static_cast<uint32_t>((key * 0x9E3779B97F4A7C15ull) >> (64 - bits_));
    }

    // Twice the slots; the items, all distinct, go back in without comparing.
    void Grow() {
        NewStamp();
        ++bits_;
        const uint32_t mask = (1u << bits_) - 1;
        for (uint32_t i = begin_; i < *used_; ++i) {
            uint32_t h = HashOf(pool_[i]);
            while (table_[h].stamp == current_) {
                h = (h + 1) & mask;
            }
            table_[h] = {current_, i};
        }
    }

    Slot table_[1u << kBits] = {};
    uint32_t current_ = 0;
    int bits_ = kMinBits;
    uint32_t live_ = 0;
    uint32_t begin_ = 0;
    Item* pool_ = nullptr;
    uint32_t* used_ = nullptr;
};

// The best choice set met so far; ties keep the first.
struct Best {
    bool found = false;
    // Below every total until something is found, so that most offers fail on one compare.
    int32_t points = std::numeric_limits<int32_t>::min();
    int32_t value = 0;
    int32_t jp = 0;
    uint32_t code = 0;
    unsigned joins = 0;

    bool Offer(int32_t p, int32_t v, int32_t j) {
        if (p < points || (found && !BetterSolution(p, v, j, points, value, jp))) {
            return false;
        }
        found = true;
        points = p;
        value = v;
        jp = j;
        return true;
    }
};

} // namespace vostrel::search
