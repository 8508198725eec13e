#include "search/AllSwitchesSolver.h"

#include "engine/ArithmeticSteps.h"
#include "engine/PointRules.h"
#include "search/SearchParts.h"
#include "search/TargetValues.h"

#include <algorithm>
#include <limits>
#include <memory>

namespace vostrel {

// The search of Solve, with three changes that let one pass serve every switch combination:
// - It runs under the widest switches, and each sub-result flags the inexact steps it holds, so
//   that only sub-results that the same switches admit merge. Final results fall into classes
//   (the two flags, and whether any power is used); a combination reads the classes it admits.
// - Sub-expressions that leave out the first or the last digit are shared: the atlas asks for
//   the hundred tickets with the same middle digits at once, and those parts are built once per
//   first digit, once per last digit and once for the middle.
// - The whole expression is never paired out. Its root joins two stored parts, or under the
//   sign, two parts joined below it. Results of 10 are looked up by value in the larger part,
//   which is sorted: they give the tens and the best of each class. Any other result earns
//   at most the bonus for 0, and can only matter where the most points a pair could reach
//   beat what the class, or a class it contains, already holds; only such pairs are tried.
//   Every result of 10 is offered first, so that those bars stand high from the start.

namespace {

using search::Best;
using search::Item;
using search::kMaxOperands;
using search::Pattern;

constexpr ScoreSwitches kAllowAll = {1, 1, 1};
// The narrowest switches tell a leaf's inexact root from an exact one.
constexpr ScoreSwitches kAllowNone = {0, 0, 1};

// An item's `powers`: the count of powers, then the flags of inexact steps and of any power.
// Flags are or-ed, counts added.
constexpr int32_t kPowerCount = 0xF;
constexpr int32_t kHasInexactDiv = 0x10;
constexpr int32_t kHasInexactRoot = 0x20;
constexpr int32_t kHasPower = 0x40;
// Classes: the flags above the count. A combination admits a class with all its bits allowed,
// and so every class inside it too.
constexpr int kClasses = 8;
constexpr int kClassPowered = kHasPower >> 4;

int32_t MergePowers(int32_t l, int32_t r) {
    return ((l | r) & ~kPowerCount) + (l & kPowerCount) + (r & kPowerCount);
}

int ClassOf(int32_t powers) {
    return powers >> 4;
}

constexpr int kPatterns = shape::kJoinPatterns;
constexpr int kDigitValues = 10;

// A stored set of sub-results, sorted by value, with the most points and the fewest powers of
// each class it holds.
struct Part {
    uint32_t begin = 0;
    uint32_t size = 0;
    unsigned classes = 0; // bit c: holds items of class c
    int32_t maxPoints[kClasses] = {};
    int32_t minPowers[kClasses] = {};
    int32_t mostPoints = std::numeric_limits<int32_t>::min(); // of any class
};
using Parts = Part[kPatterns][kMaxOperands][kMaxOperands];

// Every part stored at once: the middle, ten of each kind that holds the first or the last
// digit, and the leaf of all four digits joined, which holds both.
constexpr uint32_t PoolBound() {
    uint32_t middle = 0;
    uint32_t prefix = 0;
    uint32_t suffix = 0;
    for (unsigned joins = 0; joins < kPatterns; ++joins) {
        const int m = shape::OperandsOf(joins).count;
        for (int k = 0; k < m; ++k) {
            prefix += search::RawBound(k + 1, true) + (k >= 1 ? search::RawBound(k, false) : 0);
        }
        for (int i = 2; i <= m; ++i) {
            suffix += search::RawBound(m - i + 1, false);
            for (int j = i; j < m; ++j) {
                middle += search::RawBound(j - i + 1, false);
            }
        }
    }
    return middle + kDigitValues * (prefix + suffix) + search::RawBound(1, false);
}

constexpr uint32_t kPoolCap = 1u << 19;
static_assert(PoolBound() <= kPoolCap);
// The largest part, three digits behind the zero, never fills its table past half.
static_assert(2 * search::RawBound(4, true) <= (1u << search::MergeTable::kBits));

struct Workspace {
    Item pool[kPoolCap];
    uint32_t used = 0;
    search::MergeTable merge;
    Parts middle;
    Parts prefix[kDigitValues];
    Parts suffix[kDigitValues];
    Part joinedLeaf; // all four digits joined
};

Workspace& ThreadWorkspace() {
    // Allocated once per thread, outside the search. Not cleared: the search writes every item
    // before it reads it, and untouched pages of the pool then cost nothing.
    thread_local std::unique_ptr<Workspace> ws(new Workspace);
    return *ws;
}

// Builds the parts of one join pattern into the workspace.
class PartBuilder {
public:
    PartBuilder(Workspace& ws, const Pattern& p, Parts& out, const Parts& mid)
        : ws_(ws), p_(p), out_(out), mid_(mid) {}

    void Zero() {
        Part& part = out_[p_.joins][0][0];
        Begin(part);
        // No power; its points are the pattern's.
        ws_.pool[ws_.used++] = {0, 0, 1, 0, 0};
        Seal(part);
    }

    void Leaf(int q, Part& part) {
        Begin(part);
        for (int32_t kind = PowNone; kind <= PowCube; ++kind) {
            int32_t out = 0;
            int32_t points = 0;
            int32_t flags = 0;
            int32_t status = steps::PowerStep(p_.number[q], kind, kAllowNone, out, points);
            if (status == EvalInexactRoot) {
                status = steps::PowerStep(p_.number[q], kind, kAllowAll, out, points);
                flags = kHasInexactRoot;
            }
            if (status != EvalOk) {
                continue;
            }
            // Powers of 0 and 1 change nothing and earn what no power earns: they merge here.
            ws_.merge.Insert({out, points, 1, 0, (kind != PowNone ? 1 | kHasPower : 0) | flags});
        }
        Seal(part);
    }
    void Leaf(int q) { Leaf(q, out_[p_.joins][q][q]); }

    // Every tree over operands i..j, from parts already built here or in the middle.
    void Node(int i, int j) {
        Part& part = out_[p_.joins][i][j];
        Begin(part);
        for (int r = i + 1; r <= j; ++r) {
            const int a = r - 1 - i;
            const uint32_t weight = search::Binomial(j - i - 1, a);
            const int32_t bonus = search::RootBonus(p_, r, j);
            const Part& ls = Find(i, r - 1);
            const Part& rs = Find(r, j);
            search::ForEachPair(
                ws_.pool, {ls.begin, ls.size}, {rs.begin, rs.size}, p_.first[r], bonus, kAllowAll,
                [this, weight](int32_t op, const Item& l, const Item& rt, int32_t out,
                               int32_t points) {
                    int32_t powers = MergePowers(l.powers, rt.powers);
                    if (op == OpDiv && static_cast<int64_t>(out) * rt.value != l.value) {
                        powers |= kHasInexactDiv;
                    }
                    ws_.merge.Insert(Item{out, points, l.count * rt.count * weight, 0, powers});
                });
        }
        Seal(part);
    }

private:
    // Parts that hold the first or the last digit are this builder's own; the rest are the
    // middle's.
    const Part& Find(int i, int j) const {
        const bool own = i <= 1 || j == p_.operands - 1;
        return (own ? out_ : mid_)[p_.joins][i][j];
    }

    void Begin(Part& part) {
        part = {};
        part.begin = ws_.used;
        ws_.merge.Begin(ws_.pool, &ws_.used);
    }

    // Sorted by value for the lookups at the top; the summaries for the bounds.
    void Seal(Part& part) {
        part.size = ws_.used - part.begin;
        Item* items = ws_.pool + part.begin;
        std::sort(items, items + part.size,
                  [](const Item& x, const Item& y) { return x.value < y.value; });
        for (uint32_t k = 0; k < part.size; ++k) {
            const int c = ClassOf(items[k].powers);
            const int32_t powers = items[k].powers & kPowerCount;
            if ((part.classes & (1u << c)) == 0) {
                part.classes |= 1u << c;
                part.maxPoints[c] = items[k].points;
                part.minPowers[c] = powers;
            } else {
                part.maxPoints[c] = std::max(part.maxPoints[c], items[k].points);
                part.minPowers[c] = std::min(part.minPowers[c], powers);
            }
            part.mostPoints = std::max(part.mostPoints, items[k].points);
        }
    }

    Workspace& ws_;
    const Pattern& p_;
    Parts& out_;
    const Parts& mid_;
};

// Two parts that meet at the root of the whole expression: left op right, or under the sign,
// 0 + (left op right) and 0 - (left op right).
struct Meeting {
    const Part* left;
    const Part* right;
    int32_t ops;    // what the root's position offers
    int32_t sign;   // kSignPlus or kSignMinus around the pair, or -1
    int32_t points; // what every pair earns besides its parts and operators
    uint32_t weight;
    int32_t joinCount;
};

constexpr int32_t kNoSign = -1;
// The most that a result other than 10 adds at the end.
constexpr int32_t kMostOtherBonus = std::max(points::kZeroBonus, points::kTensBonus);
// The bounds take an exact step's points as the most that its operator earns.
static_assert(points::kInexactPenalty <= points::OpPoints(OpDiv));

// The smaller part of a meeting is walked item by item, the larger one looked up.
struct Sides {
    const Part& small;
    const Part& large;
    bool leftSmall;

    explicit Sides(const Meeting& m)
        : small(m.left->size <= m.right->size ? *m.left : *m.right),
          large(m.left->size <= m.right->size ? *m.right : *m.left),
          leftSmall(m.left->size <= m.right->size) {}
};

// The whole expressions of one ticket.
class TopSearch {
public:
    explicit TopSearch(const Item* pool) : pool_(pool) {}

    // Results of 10: their counts and the best of each class.
    void Tens(const Meeting& m) {
        const int32_t target = m.sign == kSignMinus ? -points::kTarget : points::kTarget;
        const Sides sides(m);
        for (int32_t op = 0; op < m.ops; ++op) {
            for (uint32_t k = 0; k < sides.small.size; ++k) {
                const Item& s = pool_[sides.small.begin + k];
                int64_t lo = 0;
                int64_t hi = 0;
                const int ranges = search::OtherFor(s.value, sides.leftSmall, op, target, lo, hi);
                for (int n = 0; n < ranges; ++n) {
                    // A second range mirrors the first: the negative divisors.
                    const int64_t from = n == 0 ? lo : -hi;
                    const int64_t to = n == 0 ? hi : -lo;
                    ForValues(sides.large, from, to,
                              [&](const Item& o) { Pair(m, op, sides, s, o, true); });
                }
            }
        }
    }

    // Every other result that could still beat the best of its class.
    void Others(const Meeting& m) {
        const Sides sides(m);
        const Part& large = sides.large;
        const int32_t signPoints =
            m.sign == kNoSign ? 0
                              : std::max(points::OpPoints(kSignPlus), points::OpPoints(kSignMinus));
        for (int32_t op = 0; op < m.ops; ++op) {
            for (uint32_t k = 0; k < sides.small.size; ++k) {
                const Item& s = pool_[sides.small.begin + k];
                const int sc = ClassOf(s.powers);
                const int32_t most = m.points + s.points + points::OpPoints(op) + signPoints;
                const int32_t fewest = m.joinCount + (s.powers & kPowerCount);
                if (stale_) {
                    Refresh();
                }
                if (most + large.mostPoints < floor_[sc]) {
                    continue;
                }
                unsigned wanted = 0;
                for (int c = 0; c < kClasses; ++c) {
                    // By points alone first: most rows end there.
                    if ((large.classes & (1u << c)) != 0 &&
                        most + large.maxPoints[c] >= need_[sc | c] &&
                        MayImprove(sc | c, most + large.maxPoints[c],
                                   fewest + large.minPowers[c])) {
                        wanted |= 1u << c;
                    }
                }
                if (wanted == 0) {
                    continue;
                }
                for (uint32_t n = 0; n < large.size; ++n) {
                    const Item& o = pool_[large.begin + n];
                    const int c = ClassOf(o.powers);
                    if ((wanted & (1u << c)) != 0 && most + o.points >= need_[sc | c]) {
                        Pair(m, op, sides, s, o, false);
                    }
                }
            }
        }
    }

    SolveSummary Summary(int index) const {
        const SolveSwitches sw = SwitchCombination(index);
        const unsigned allowed = (sw.score.scoreInexactDivision != 0 ? 1u : 0u) |
                                 (sw.score.scoreInexactRoot != 0 ? 2u : 0u) |
                                 (sw.usePower != 0 ? unsigned{kClassPowered} : 0u);
        SolveSummary s;
        // Ties carry equal points and values, so the order of the classes does not matter.
        Best best;
        for (int c = 0; c < kClasses; ++c) {
            if ((c & ~allowed) != 0) {
                continue;
            }
            s.tens += tens_[c];
            const Best& b = best_[c][sw.score.scoreOtherResults];
            if (b.found) {
                best.Offer(b.points, b.value, b.jp);
            }
        }
        for (unsigned joins = 0; joins < kPatterns; ++joins) {
            s.states += search::CountChoiceSets(joins, sw.usePower);
        }
        if (best.found) {
            s.found = true;
            s.best = best.points;
            s.value = best.value;
        }
        return s;
    }

private:
    template <class F> void ForValues(const Part& part, int64_t lo, int64_t hi, F&& f) const {
        const Item* first = pool_ + part.begin;
        const Item* last = first + part.size;
        const Item* it = std::lower_bound(
            first, last, lo, [](const Item& x, int64_t v) { return int64_t{x.value} < v; });
        for (; it != last && it->value <= hi; ++it) {
            f(*it);
        }
    }

    // An item of the small side with one of the large side.
    void Pair(const Meeting& m, int32_t op, const Sides& sides, const Item& s, const Item& o,
              bool tens) {
        const Item& l = sides.leftSmall ? s : o;
        const Item& r = sides.leftSmall ? o : s;
        int32_t x = 0;
        int32_t total = m.points + l.points + r.points;
        if (steps::OpStep(l.value, r.value, op, kAllowAll, x, total) != EvalOk) {
            return;
        }
        int32_t powers = MergePowers(l.powers, r.powers);
        if (op == OpDiv && static_cast<int64_t>(x) * r.value != l.value) {
            powers |= kHasInexactDiv;
        }
        int32_t value = x;
        if (m.sign != kNoSign && steps::OpStep(0, x, m.sign, kAllowAll, value, total) != EvalOk) {
            return;
        }
        // Each result of 10 is met once, by its lookup.
        if ((value == points::kTarget) != tens) {
            return;
        }
        const int c = ClassOf(powers);
        const int32_t jp = m.joinCount + (powers & kPowerCount);
        if (tens) {
            tens_[c] += l.count * r.count * m.weight;
        }
        const bool plain = best_[c][0].Offer(points::FinalPoints(total, value, 0), value, jp);
        const bool other = best_[c][1].Offer(points::FinalPoints(total, value, 1), value, jp);
        stale_ = stale_ || plain || other;
    }

    // Whether a result other than 10 of class c, with at most `most` points before the end and
    // at least `fewest` joins and powers, could beat what class c already holds.
    bool MayImprove(int c, int32_t most, int32_t fewest) {
        if (stale_) {
            Refresh();
        }
        return CanBeat(bar_[c][1], most + kMostOtherBonus, fewest) ||
               CanBeat(bar_[c][0], std::min(most, 0), fewest);
    }

    static bool CanBeat(const Best& bar, int32_t points, int32_t fewest) {
        if (!bar.found || points > bar.points) {
            return true;
        }
        return points == bar.points && bar.value != points::kTarget && fewest <= bar.jp;
    }

    // The least total before the end with which a result other than 10 could beat or tie the
    // bar of a class, with or without other results scored: MayImprove by points alone, for a
    // quick first test.
    static int32_t Need(const Best& other, const Best& plain) {
        constexpr int32_t kAny = std::numeric_limits<int32_t>::min();
        const int32_t withOthers = other.found ? other.points - kMostOtherBonus : kAny;
        // Without them a positive total ends at 0.
        const int32_t without = !plain.found        ? kAny
                                : plain.points <= 0 ? plain.points
                                                    : std::numeric_limits<int32_t>::max();
        return std::min(withOthers, without);
    }

    // A class's bar is the best of the classes inside it: every combination that admits the
    // class admits those too.
    void Refresh() {
        for (int c = 0; c < kClasses; ++c) {
            for (int rto = 0; rto < 2; ++rto) {
                Best bar;
                for (int inner = 0; inner < kClasses; ++inner) {
                    const Best& b = best_[inner][rto];
                    if ((inner & ~c) == 0 && b.found) {
                        bar.Offer(b.points, b.value, b.jp);
                    }
                }
                bar_[c][rto] = bar;
            }
            need_[c] = Need(bar_[c][1], bar_[c][0]);
        }
        for (int sc = 0; sc < kClasses; ++sc) {
            floor_[sc] = std::numeric_limits<int32_t>::max();
            for (int c = 0; c < kClasses; ++c) {
                floor_[sc] = std::min(floor_[sc], need_[sc | c]);
            }
        }
        stale_ = false;
    }

    const Item* pool_;
    uint32_t tens_[kClasses] = {};
    Best best_[kClasses][2]; // by class and scoreOtherResults
    Best bar_[kClasses][2];
    int32_t need_[kClasses] = {};
    int32_t floor_[kClasses] = {}; // by the class of a row's own side: the least of need_

    bool stale_ = true;
};

class AllSwitchesSearch {
public:
    explicit AllSwitchesSearch(Workspace& ws) : ws_(ws) {}

    void Middle(int32_t d1, int32_t d2) {
        d1_ = d1;
        d2_ = d2;
        ws_.used = 0;
        for (unsigned joins = 0; joins < kPatterns; ++joins) {
            const Pattern p = search::MakePattern({0, d1, d2, 0}, joins);
            PartBuilder build(ws_, p, ws_.middle, ws_.middle);
            const int m = p.operands - 1;
            for (int len = 0; len + 2 < m; ++len) {
                for (int i = 2; i + len < m; ++i) {
                    if (len == 0) {
                        build.Leaf(i);
                    } else {
                        build.Node(i, i + len);
                    }
                }
            }
        }
    }

    // The parts that hold the first digit but not the last.
    void Prefix(int32_t d0) {
        for (unsigned joins = 0; joins < kPatterns; ++joins) {
            const Pattern p = search::MakePattern({d0, d1_, d2_, 0}, joins);
            Parts& out = ws_.prefix[d0];
            PartBuilder build(ws_, p, out, ws_.middle);
            build.Zero();
            const int m = p.operands - 1;
            for (int k = 1; k < m; ++k) {
                if (k == 1) {
                    build.Leaf(1);
                } else {
                    build.Node(1, k);
                }
                build.Node(0, k);
            }
        }
    }

    // The parts that hold the last digit but not the first.
    void Suffix(int32_t d3) {
        for (unsigned joins = 0; joins < kPatterns; ++joins) {
            const Pattern p = search::MakePattern({0, d1_, d2_, d3}, joins);
            Parts& out = ws_.suffix[d3];
            PartBuilder build(ws_, p, out, ws_.middle);
            const int m = p.operands - 1;
            for (int i = m; i >= 2; --i) {
                if (i == m) {
                    build.Leaf(m);
                } else {
                    build.Node(i, m);
                }
            }
        }
    }

    AllSwitchesResult Ticket(int32_t d0, int32_t d3) {
        const Digits digits = {d0, d1_, d2_, d3};
        const uint32_t mark = ws_.used;
        Meeting meetings[kPatterns * 2 * kPositions];
        int count = 0;
        for (unsigned joins = 0; joins < kPatterns; ++joins) {
            const Pattern p = search::MakePattern(digits, joins);
            const int m = p.operands - 1;
            const auto part = [&](int i, int j) -> const Part* {
                if (i <= 1) {
                    return &ws_.prefix[d0][joins][i][j];
                }
                return j == m ? &ws_.suffix[d3][joins][i][j] : &ws_.middle[joins][i][j];
            };
            if (m == 1) {
                PartBuilder build(ws_, p, ws_.prefix[d0], ws_.middle);
                build.Leaf(1, ws_.joinedLeaf);
                meetings[count++] = {
                    part(0, 0), &ws_.joinedLeaf, shape::OperatorChoices(p.first[1]),
                    kNoSign,    p.topPoints,     1,
                    p.joinCount};
                continue;
            }
            for (int r = 2; r <= m; ++r) {
                meetings[count++] = {part(0, r - 1),
                                     part(r, m),
                                     shape::OperatorChoices(p.first[r]),
                                     kNoSign,
                                     p.topPoints + search::RootBonus(p, r, m),
                                     search::Binomial(m - 1, r - 1),
                                     p.joinCount};
                // Under the sign: the sign's own order bonus too.
                const int32_t underSign =
                    p.topPoints + search::RootBonus(p, 1, m) + search::RootBonus(p, r, m);
                for (int32_t sign = 0; sign < shape::OperatorChoices(p.first[1]); ++sign) {
                    meetings[count++] = {
                        part(1, r - 1), part(r, m), shape::OperatorChoices(p.first[r]),
                        sign,           underSign,  search::Binomial(m - 2, r - 2),
                        p.joinCount};
                }
            }
        }
        TopSearch top(ws_.pool);
        for (int k = 0; k < count; ++k) {
            top.Tens(meetings[k]);
        }
        for (int k = 0; k < count; ++k) {
            top.Others(meetings[k]);
        }
        ws_.used = mark;
        AllSwitchesResult all{};
        for (int index = 0; index < kSwitchCombinations; ++index) {
            all[static_cast<size_t>(index)] = top.Summary(index);
        }
        return all;
    }

private:
    Workspace& ws_;
    int32_t d1_ = 0;
    int32_t d2_ = 0;
};

AllSwitchesResult BadInput() {
    AllSwitchesResult all{};
    for (SolveSummary& s : all) {
        s.status = EvalBadInput;
    }
    return all;
}

} // namespace

SolveSwitches SwitchCombination(int index) {
    SolveSwitches sw;
    sw.score.scoreInexactDivision = index & 1;
    sw.score.scoreInexactRoot = (index >> 1) & 1;
    sw.score.scoreOtherResults = (index >> 2) & 1;
    sw.usePower = (index >> 3) & 1;
    return sw;
}

int SwitchCombinationIndex(const SolveSwitches& sw) {
    return (sw.score.scoreInexactDivision != 0 ? 1 : 0) | (sw.score.scoreInexactRoot != 0 ? 2 : 0) |
           (sw.score.scoreOtherResults != 0 ? 4 : 0) | (sw.usePower != 0 ? 8 : 0);
}

AllSwitchesResult SolveAllSwitches(const Digits& digits) {
    if (!search::ValidDigits(digits)) {
        return BadInput();
    }
    AllSwitchesSearch s(ThreadWorkspace());
    s.Middle(digits[1], digits[2]);
    s.Prefix(digits[0]);
    s.Suffix(digits[3]);
    return s.Ticket(digits[0], digits[3]);
}

void SolveAllSwitchesMiddle(int32_t d1, int32_t d2, MiddleBlock& out) {
    if (!search::ValidDigits({0, d1, d2, 0})) {
        out.fill(BadInput());
        return;
    }
    AllSwitchesSearch s(ThreadWorkspace());
    s.Middle(d1, d2);
    for (int32_t d = 0; d < kDigitValues; ++d) {
        s.Prefix(d);
        s.Suffix(d);
    }
    for (int32_t d0 = 0; d0 < kDigitValues; ++d0) {
        for (int32_t d3 = 0; d3 < kDigitValues; ++d3) {
            out[static_cast<size_t>(d0 * kDigitValues + d3)] = s.Ticket(d0, d3);
        }
    }
}

} // namespace vostrel
