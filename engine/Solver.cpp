#include "engine/Solver.h"

#include "engine/ArithmeticSteps.h"
#include "engine/ChoiceSets.h"
#include "engine/Evaluator.h"
#include "engine/PointRules.h"

#include <bit>
#include <cstdlib>
#include <limits>
#include <memory>

namespace vostrel {

// Why the search can work on trees instead of rank orders:
// - With distinct ranks the two-stack reduction builds the tree whose root is the operator of
//   highest rank, with the same rule below it on either side. Every step of that tree runs
//   exactly once, each operand's power with it, so whether the evaluation fails, its value and
//   the sum of its step points depend on the tree alone, not on the order of the reduces.
// - The order bonus depends on the tree too. Of two neighbouring free positions the one of
//   higher rank is the other's ancestor, so "left outranks right" means: the left operator is a
//   node whose right side holds the right one. A free position followed by a joined gap always
//   outranks it, a joined gap never outranks what follows it.
// - The rank orders that give one tree are its heap orders; merging the sides of a node with a
//   and b operators interleaves them in C(a+b, a) ways. Counts are weighted by that.
// So a sub-expression over consecutive operands contributes its value, its points and its
// count, and sub-results with equal value and equal number of powers merge: only the highest
// points can end up best, and every one of them counts towards the result.

namespace {

constexpr int kMaxOperands = kPositions + 1; // the implicit zero and four digits

// One merged sub-result. `code` holds a representative choice set: per position k, byte k
// holds the power of digit k (bits 0-2), the operator of position k (bits 3-5) and its rank
// among the free positions of the sub-expression (bits 6-7).
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

// The largest sub-expression that is stored is four digits with three operators: 5 trees,
// 4^3 operators, 5^4 powers. All stored sub-expressions of one join pattern together hold
// fewer than this many raw combinations, so the pool can never run out.
constexpr uint32_t kPoolCap = 1u << 18;
constexpr int kTableBits = 19;
constexpr int kMinTableBits = 8;
// Raw combinations of the no-join pattern (five items per leaf at most): the leaves, then the
// sub-expressions of two, three and four operands that are stored.
static_assert(1 + 4 * 5 + (10 + 3 * 100) + (400 + 2 * 4000) + (20000 + 200000) <= kPoolCap);
static_assert(2 * 200000 <= (1u << kTableBits)); // the table never fills past half

struct Span {
    uint32_t begin = 0;
    uint32_t size = 0;
};

struct Workspace {
    Item pool[kPoolCap];
    uint32_t used = 0;
    // Open addressing over (value, powers); a slot is live when its stamp is the current one.
    // Each table starts small and doubles when half full, so that the slots in use stay in the
    // cache: most sub-expressions hold far fewer items than their bound.
    struct Slot {
        uint32_t stamp;
        uint32_t index; // into pool
    };
    Slot table[1u << kTableBits] = {};
    uint32_t current = 0;
    int bits = 0;
    uint32_t live = 0;
    uint32_t begin = 0; // the table's first item in pool
};

uint32_t Binomial(int n, int k) {
    static constexpr uint32_t kTable[4][4] = {
        {1, 0, 0, 0}, {1, 1, 0, 0}, {1, 2, 1, 0}, {1, 3, 3, 1}};
    return kTable[n][k];
}

// The operands of one join pattern: the implicit zero, then runs of joined digits.
struct Pattern {
    unsigned joins = 0;
    int32_t joinCount = 0;
    int operands = 0;             // the implicit zero included
    int first[kMaxOperands] = {}; // first digit of operand q >= 1: its operator's position
    int last[kMaxOperands] = {};  // last digit: where its power sits
    int32_t number[kMaxOperands] = {};
    int32_t topPoints = 0; // base points, joins and the order bonus that joins alone fix
};

Pattern MakePattern(const Digits& d, unsigned joins) {
    Pattern p;
    p.joins = joins;
    p.joinCount = std::popcount(joins);
    const auto joined = [joins](int pos) { return pos >= 1 && ((joins >> (pos - 1)) & 1u); };
    int q = 0;
    for (int k = 0; k < kPositions; ++k) {
        if (joined(k)) {
            p.number[q] = p.number[q] * 10 + d[k];
            p.last[q] = k;
        } else {
            ++q;
            p.first[q] = k;
            p.last[q] = k;
            p.number[q] = d[k];
        }
    }
    p.operands = q + 1;
    p.topPoints = points::BasePoints(0) + points::kJoin * p.joinCount;
    for (int k = 0; k + 1 < kPositions; ++k) {
        if (!joined(k) && joined(k + 1)) {
            p.topPoints += points::kOrderBonus;
        }
    }
    return p;
}

// The widest switches: every choice set that any combination admits evaluates without error.
// The narrowest tell a leaf's inexact root from an exact one.
constexpr ScoreSwitches kAllowAll = {1, 1, 1};
constexpr ScoreSwitches kAllowNone = {0, 0, 1};

// In the search of every switch combination, an item's `powers` also flags the inexact steps
// that it holds, above the count of powers, so that only items that the same switches admit
// merge. Flags are or-ed, counts added.
constexpr int32_t kPowerCount = 0xF;
constexpr int32_t kHasInexactDiv = 0x10;
constexpr int32_t kHasInexactRoot = 0x20;
// Classes of final items: the two flags, and bit 2 for any power.
constexpr int kClasses = 8;
constexpr int kClassPowered = 4;

int32_t MergePowers(int32_t l, int32_t r) {
    return ((l | r) & ~kPowerCount) + (l & kPowerCount) + (r & kPowerCount);
}

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

// kAllSwitches: search once under the widest switches, flag each item's inexact steps and keep
// the best and the count of tens per class of final item and per scoreOtherResults, so that
// every switch combination can be read off afterwards.
template <bool kAllSwitches> class Search {
public:
    Search(Workspace& ws, const SolveSwitches& sw) : ws_(ws), sw_(sw) {}

    void Run(const Pattern& p) {
        p_ = &p;
        ws_.used = 0;
        const int m = p.operands - 1;
        // The implicit zero: no power, a plain operand's points at the sign's reduce.
        spans_[0][0] = {ws_.used, 1};
        ws_.pool[ws_.used++] = {0, points::kPlainOperand, 1, 0, 0};
        for (int q = 1; q <= m; ++q) {
            BuildLeaf(q);
        }
        for (int len = 1; len <= m; ++len) {
            for (int i = 0; i + len <= m; ++i) {
                const int j = i + len;
                if (i == 0 && j == m) {
                    Combine(i, j, [this](const Item& it) { Finish(it); });
                } else {
                    BeginTable();
                    const uint32_t begin = ws_.used;
                    Combine(i, j, [this](const Item& it) { Insert(it); });
                    spans_[i][j] = {begin, ws_.used - begin};
                }
            }
        }
    }

    // The single search's result.
    Best best;
    uint32_t tens = 0;
    // The search of every combination: by class, and by scoreOtherResults for the best.
    Best classBest[kClasses][2];
    uint32_t classTens[kClasses] = {};

private:
    void BuildLeaf(int q) {
        const Pattern& p = *p_;
        BeginTable();
        const uint32_t begin = ws_.used;
        const int32_t kinds = sw_.usePower != 0 ? PowCube : PowNone;
        for (int32_t kind = PowNone; kind <= kinds; ++kind) {
            int32_t out = 0;
            int32_t points = 0;
            int32_t flags = 0;
            int32_t status = steps::PowerStep(p.number[q], kind,
                                              kAllSwitches ? kAllowNone : sw_.score, out, points);
            if (kAllSwitches && status == EvalInexactRoot) {
                status = steps::PowerStep(p.number[q], kind, kAllowAll, out, points);
                flags = kHasInexactRoot;
            }
            if (status != EvalOk) {
                continue;
            }
            // Powers of 0 and 1 change nothing and earn what no power earns: they merge here.
            Insert(
                {out, points, 1, PowerField(p.last[q], kind), (kind != PowNone ? 1 : 0) | flags});
        }
        spans_[q][q] = {begin, ws_.used - begin};
    }
    template <class Sink> void Combine(int i, int j, Sink&& sink) {
        const Pattern& p = *p_;
        for (int r = i + 1; r <= j; ++r) {
            const int a = r - 1 - i;
            const int b = j - r;
            const uint32_t weight = Binomial(a + b, a);
            // The root outranks its right neighbour when they are neighbouring positions.
            const int32_t bonus = (r < j && p.first[r] == p.last[r]) ? points::kOrderBonus : 0;
            uint32_t shift = 0;
            for (int q = r + 1; q <= j; ++q) {
                shift += RankField(p.first[q], a);
            }
            const uint32_t rootRank = RankField(p.first[r], a + b);
            const int32_t ops = r == 1 ? 2 : 4;
            const Span ls = spans_[i][r - 1];
            const Span rs = spans_[r][j];
            for (int32_t op = 0; op < ops; ++op) {
                const uint32_t rootCode = OpField(p.first[r], op) | rootRank;
                for (uint32_t li = 0; li < ls.size; ++li) {
                    const Item& l = ws_.pool[ls.begin + li];
                    for (uint32_t ri = 0; ri < rs.size; ++ri) {
                        const Item& rt = ws_.pool[rs.begin + ri];
                        int32_t out = 0;
                        int32_t points = l.points + rt.points + bonus;
                        if (steps::OpStep(l.value, rt.value, op, sw_.score, out, points) !=
                            EvalOk) {
                            continue;
                        }
                        int32_t powers = l.powers + rt.powers;
                        if constexpr (kAllSwitches) {
                            powers = MergePowers(l.powers, rt.powers);
                            if (op == OpDiv && static_cast<int64_t>(out) * rt.value != l.value) {
                                powers |= kHasInexactDiv;
                            }
                        }
                        sink(Item{out, points, l.count * rt.count * weight,
                                  l.code | (rt.code + shift) | rootCode, powers});
                    }
                }
            }
        }
    }

    void BeginTable() {
        NewStamp();
        ws_.bits = kMinTableBits;
        ws_.live = 0;
        ws_.begin = ws_.used;
    }

    void NewStamp() {
        if (++ws_.current == 0) {
            for (Workspace::Slot& s : ws_.table) {
                s.stamp = 0;
            }
            ws_.current = 1;
        }
    }

    uint32_t HashOf(const Item& it) const {
        const uint64_t key = static_cast<uint64_t>(static_cast<uint32_t>(it.value)) << 8 ^
                             static_cast<uint32_t>(it.powers);
        return static_cast<uint32_t>((key * 0x9E3779B97F4A7C15ull) >> (64 - ws_.bits));
    }

    // Merges by value and powers (with the flags in the search of every combination).
    void Insert(const Item& it) {
        const uint32_t mask = (1u << ws_.bits) - 1;
        for (uint32_t h = HashOf(it);; h = (h + 1) & mask) {
            Workspace::Slot& slot = ws_.table[h];
            if (slot.stamp != ws_.current) {
                slot = {ws_.current, ws_.used};
                ws_.pool[ws_.used++] = it;
                if (++ws_.live * 2 > mask && ws_.bits < kTableBits) {
                    Grow();
                }
                return;
            }
            Item& e = ws_.pool[slot.index];
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

    // Twice the slots; the items, all distinct, go back in without comparing.
    void Grow() {
        NewStamp();
        ++ws_.bits;
        const uint32_t mask = (1u << ws_.bits) - 1;
        for (uint32_t i = ws_.begin; i < ws_.used; ++i) {
            uint32_t h = HashOf(ws_.pool[i]);
            while (ws_.table[h].stamp == ws_.current) {
                h = (h + 1) & mask;
            }
            ws_.table[h] = {ws_.current, i};
        }
    }

    void Finish(const Item& it) {
        const Pattern& p = *p_;
        const int32_t total = p.topPoints + it.points;
        const int32_t jp = p.joinCount + (it.powers & kPowerCount);
        if constexpr (kAllSwitches) {
            const int cls = it.powers >> 4 | ((it.powers & kPowerCount) != 0 ? kClassPowered : 0);
            classTens[cls] += it.value == points::kTarget ? it.count : 0;
            const int32_t plain = points::FinalPoints(total, it.value, 0);
            classBest[cls][0].Offer(plain, it.value, jp);
            // Other results change only multiples of 10.
            const int32_t other =
                it.value % 10 == 0 ? points::FinalPoints(total, it.value, 1) : plain;
            classBest[cls][1].Offer(other, it.value, jp);
        } else {
            if (it.value == points::kTarget) {
                tens += it.count;
            }
            if (best.Offer(points::FinalPoints(total, it.value, sw_.score.scoreOtherResults),
                           it.value, jp)) {
                best.code = it.code;
                best.joins = p.joins;
            }
        }
    }

    Workspace& ws_;
    const SolveSwitches& sw_;
    const Pattern* p_ = nullptr;
    Span spans_[kMaxOperands][kMaxOperands];
};

Workspace& ThreadWorkspace() {
    // Allocated once per thread, outside the search.
    thread_local std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    return *ws;
}

uint32_t CountChoiceSets(unsigned joins, int32_t usePower) {
    const int free = kPositions - std::popcount(joins);
    uint32_t n = 2;
    for (int k = 1; k < free; ++k) {
        n *= 4 * static_cast<uint32_t>(k + 1); // a gap operator and one more rank order step
    }
    if (usePower != 0) {
        for (int k = 0; k < free; ++k) {
            n *= 5;
        }
    }
    return n;
}

bool ValidDigits(const Digits& d) {
    for (int32_t v : d) {
        if (v < 0 || v > 9) {
            return false;
        }
    }
    return true;
}

ExpressionState FreshState(const Digits& d, int32_t usePower) {
    ExpressionState s;
    for (int k = 0; k < kPositions; ++k) {
        s.digits[k] = d[k];
        s.powerOn[k] = usePower != 0;
    }
    return s;
}

// Nothing found yet: the fresh expression, or EvalBadInput for digits outside 0..9.
SolveResult Unsolved(const Digits& d, int32_t usePower) {
    SolveResult res;
    res.choice = FreshState(d, usePower);
    if (!ValidDigits(d)) {
        res.status = EvalBadInput;
    }
    return res;
}

ExpressionState DecodeChoice(const Digits& d, unsigned joins, uint32_t code, int32_t usePower) {
    ExpressionState s = FreshState(d, usePower);
    const int32_t j = std::popcount(joins);
    int32_t joinRank = 0;
    for (int k = 0; k < kPositions; ++k) {
        const uint32_t byte = (code >> (8 * k)) & 0xFFu;
        s.power[k] = static_cast<int32_t>(byte & 7u);
        const bool joined = k >= 1 && ((joins >> (k - 1)) & 1u);
        if (joined) {
            s.op[k] = OpJoin;
            s.rank[k] = joinRank++;
            s.rankOn[k] = false;
            s.powerOn[k - 1] = false;
        } else {
            s.op[k] = static_cast<int32_t>((byte >> 3) & 7u);
            s.rank[k] = static_cast<int32_t>(byte >> 6) + j;
        }
    }
    return s;
}

} // namespace

bool BetterSolution(int32_t points, int32_t value, int32_t joinsAndPowers, int32_t bestPoints,
                    int32_t bestValue, int32_t bestJoinsAndPowers) {
    if (points != bestPoints) {
        return points > bestPoints;
    }
    if ((value == 10) != (bestValue == 10)) {
        return value == 10;
    }
    if (joinsAndPowers != bestJoinsAndPowers) {
        return joinsAndPowers < bestJoinsAndPowers;
    }
    const int64_t d = std::llabs(static_cast<int64_t>(value) - 10);
    const int64_t bd = std::llabs(static_cast<int64_t>(bestValue) - 10);
    if (d != bd) {
        return d < bd;
    }
    return value < bestValue;
}

int32_t JoinsAndPowers(const ExpressionState& s) {
    int32_t n = 0;
    for (int k = 0; k < kPositions; ++k) {
        n += (k > 0 && s.op[k] == OpJoin) ? 1 : 0;
        n += s.power[k] != PowNone ? 1 : 0;
    }
    return n;
}

SolveResult Solve(const Digits& digits, const SolveSwitches& sw) {
    SolveResult res = Unsolved(digits, sw.usePower);
    if (res.status != EvalOk) {
        return res;
    }
    Search<false> search(ThreadWorkspace(), sw);
    for (unsigned joins = 0; joins < 8; ++joins) {
        search.Run(MakePattern(digits, joins));
        res.states += CountChoiceSets(joins, sw.usePower);
    }
    res.tens = search.tens;
    if (search.best.found) {
        res.found = true;
        res.best = search.best.points;
        res.value = search.best.value;
        res.choice = DecodeChoice(digits, search.best.joins, search.best.code, sw.usePower);
    }
    return res;
}

SolveSwitches SwitchCombination(int index) {
    SolveSwitches sw;
    sw.score.scoreInexactDivision = index & 1;
    sw.score.scoreInexactRoot = (index >> 1) & 1;
    sw.score.scoreOtherResults = (index >> 2) & 1;
    sw.usePower = (index >> 3) & 1;
    return sw;
}

AllSwitchesResult SolveAllSwitches(const Digits& digits) {
    AllSwitchesResult all{};
    if (!ValidDigits(digits)) {
        for (SolveSummary& s : all) {
            s.status = EvalBadInput;
        }
        return all;
    }
    constexpr SolveSwitches kWidest = {kAllowAll, 1};
    Search<true> search(ThreadWorkspace(), kWidest);
    for (unsigned joins = 0; joins < 8; ++joins) {
        search.Run(MakePattern(digits, joins));
    }
    for (int index = 0; index < kSwitchCombinations; ++index) {
        const SolveSwitches sw = SwitchCombination(index);
        const int allowed = (sw.score.scoreInexactDivision != 0 ? 1 : 0) |
                            (sw.score.scoreInexactRoot != 0 ? 2 : 0) |
                            (sw.usePower != 0 ? kClassPowered : 0);
        // Ties carry equal points and values, so the order of the classes does not matter.
        Best best;
        SolveSummary& s = all[static_cast<size_t>(index)];
        for (int cls = 0; cls < kClasses; ++cls) {
            if ((cls & ~allowed) != 0) {
                continue;
            }
            s.tens += search.classTens[cls];
            const Best& b = search.classBest[cls][sw.score.scoreOtherResults];
            if (b.found) {
                best.Offer(b.points, b.value, b.jp);
            }
        }
        for (unsigned joins = 0; joins < 8; ++joins) {
            s.states += CountChoiceSets(joins, sw.usePower);
        }
        if (best.found) {
            s.found = true;
            s.best = best.points;
            s.value = best.value;
        }
    }
    return all;
}

SolveResult SolveBruteForce(const Digits& digits, const SolveSwitches& sw) {
    SolveResult res = Unsolved(digits, sw.usePower);
    if (res.status != EvalOk) {
        return res;
    }
    int32_t bestJp = 0;
    res.states = ForEachChoiceSet(digits, sw.usePower, [&](const ExpressionState& s) {
        const EvalResult r = Evaluate(s, 0, sw.score);
        if (r.status != EvalOk) {
            return;
        }
        if (r.value == 10) {
            ++res.tens;
        }
        const int32_t jp = JoinsAndPowers(s);
        if (!res.found || BetterSolution(r.points, r.value, jp, res.best, res.value, bestJp)) {
            res.found = true;
            res.best = r.points;
            res.value = r.value;
            res.choice = s;
            bestJp = jp;
        }
    });
    return res;
}

} // namespace vostrel
