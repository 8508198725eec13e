#include "search/RootMeeting.h"

#include "engine/ArithmeticSteps.h"
#include "engine/PointRules.h"
#include "search/TargetValues.h"

#include <algorithm>
#include <limits>

namespace vostrel::search {

namespace {

// The key bits above the operator of a pair under the sign: the join pattern, the root
// operand and the sign. Equal there, two keys belong to one merged set of sub-results.
constexpr int kMergedBlockShift = 41;

// The smaller side is walked item by item; the larger is looked up or walked by points.
struct Sides {
    Side& small;
    Side& large;
    bool leftSmall;

    explicit Sides(const Meeting& m)
        : small(m.left->Size() <= m.right->Size() ? *m.left : *m.right),
          large(m.left->Size() <= m.right->Size() ? *m.right : *m.left),
          leftSmall(m.left->Size() <= m.right->Size()) {}
};

} // namespace

const uint32_t* Side::ByValue() {
    if (!valueSorted_) {
        SortOffsets(items_, size_, scratch_, byValue_,
                    [](const Item& it) { return Ascending(it.value); });
        valueSorted_ = true;
    }
    return byValue_;
}

const uint32_t* Side::ByPoints() {
    if (!pointsSorted_) {
        SortOffsets(items_, size_, scratch_, byPoints_,
                    [](const Item& it) { return ~Ascending(it.points); });
        pointsSorted_ = true;
    }
    return byPoints_;
}

int32_t Side::MostPoints() {
    if (!mostKnown_) {
        most_ = std::numeric_limits<int32_t>::min();
        for (uint32_t k = 0; k < size_; ++k) {
            most_ = std::max(most_, items_[k].points);
        }
        mostKnown_ = true;
    }
    return most_;
}

void RootSearch::Tens(const Meeting& m) {
    const int32_t target = m.sign == kSignMinus ? -points::kTarget : points::kTarget;
    const Sides sides(m);
    Side& large = sides.large;
    const Item* items = large.Items();
    const uint32_t* byValue = large.ByValue();
    for (int32_t op = 0; op < m.ops; ++op) {
        for (uint32_t k = 0; k < sides.small.Size(); ++k) {
            const Item& s = sides.small.Items()[k];
            ForTargetPartners(s, sides.leftSmall, op, target, items, byValue, large.Size(),
                              [&](const Item& o, uint32_t ok) {
                                  if (sides.leftSmall) {
                                      Pair(m, op, s, k, o, ok, true);
                                  } else {
                                      Pair(m, op, o, ok, s, k, true);
                                  }
                              });
        }
    }
}

void RootSearch::Others(const Meeting& m) {
    const Sides sides(m);
    Side& large = sides.large;
    if (large.Size() == 0) {
        return;
    }
    const int32_t signPoints = m.sign < 0 ? 0 : points::OpPoints(m.sign);
    const int32_t largeMost = large.MostPoints();
    const Item* items = large.Items();
    for (int32_t op = 0; op < m.ops; ++op) {
        // An exact step earns the most its operator can.
        const int32_t opMost = m.points + signPoints + points::OpPoints(op);
        for (uint32_t k = 0; k < sides.small.Size(); ++k) {
            const Item& s = sides.small.Items()[k];
            const int32_t rowMost = opMost + s.points;
            if (found_ && OtherCeiling(rowMost + largeMost) < best_.points) {
                continue;
            }
            const uint32_t* byPoints = large.ByPoints();
            for (uint32_t n = 0; n < large.Size(); ++n) {
                const uint32_t ok = byPoints[n];
                const Item& o = items[ok];
                if (found_ && OtherCeiling(rowMost + o.points) < best_.points) {
                    break;
                }
                if (sides.leftSmall) {
                    Pair(m, op, s, k, o, ok, false);
                } else {
                    Pair(m, op, o, ok, s, k, false);
                }
            }
        }
    }
}

RootSearch::Answer RootSearch::Best() const {
    Answer a;
    if (found_) {
        a = {true, best_.points, best_.value, best_.code, best_.joins};
    }
    return a;
}

int32_t RootSearch::OtherCeiling(int32_t most) const {
    if (sw_.score.scoreOtherResults != 0) {
        return most + std::max(points::kZeroBonus, points::kTensBonus);
    }
    // Without a bonus a positive total ends at 0.
    return std::min(most, 0);
}

void RootSearch::Pair(const Meeting& m, int32_t op, const Item& l, uint32_t li, const Item& r,
                      uint32_t ri, bool tens) {
    int32_t x = 0;
    int32_t total = m.points + l.points + r.points;
    if (steps::OpStep(l.value, r.value, op, sw_.score, x, total) != EvalOk) {
        return;
    }
    int32_t value = x;
    if (m.sign >= 0 && steps::OpStep(0, x, m.sign, sw_.score, value, total) != EvalOk) {
        return;
    }
    // Each result of 10 is met once, by its lookup.
    if ((value == points::kTarget) != tens) {
        return;
    }
    if (tens) {
        tens_ += l.count * r.count * m.weight;
    }
    const int32_t final = points::FinalPoints(total, value, sw_.score.scoreOtherResults);
    if (found_ && final < best_.points) {
        return;
    }
    Offer({final, value, m.joinCount + l.powers + r.powers, total,
           m.keyBase | uint64_t{static_cast<uint32_t>(op)} << m.keyOpShift |
               uint64_t{li} << kKeyItemBits | ri,
           m.merged, l.code | (r.code + m.rightShift) | OpField(m.opPos, op) | m.fixedCode,
           m.joins});
}

void RootSearch::Offer(const Candidate& c) {
    if (found_) {
        if (!BetterSolution(c.points, c.value, c.jp, best_.points, best_.value, best_.jp)) {
            if (BetterSolution(best_.points, best_.value, best_.jp, c.points, c.value, c.jp)) {
                return;
            }
            // Equally good: the search's order decides.
            const bool sameMerged =
                c.merged && best_.merged &&
                (c.key >> kMergedBlockShift) == (best_.key >> kMergedBlockShift);
            const bool earlier =
                sameMerged && c.total != best_.total ? c.total > best_.total : c.key < best_.key;
            if (!earlier) {
                return;
            }
        }
    }
    found_ = true;
    best_ = c;
}

} // namespace vostrel::search
