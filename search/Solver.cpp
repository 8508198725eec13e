#include "search/Solver.h"

#include "engine/ArithmeticSteps.h"
#include "engine/Evaluator.h"
#include "engine/PointRules.h"
#include "search/ChoiceSets.h"
#include "search/SearchParts.h"

#include <bit>
#include <cstdlib>
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

using search::Best;
using search::Item;
using search::kMaxOperands;
using search::OpField;
using search::Pattern;
using search::PowerField;
using search::RankField;
using search::Span;

// The largest sub-expression that is stored is four digits with three operators: 5 trees,
// 4^3 operators, 5^4 powers. All stored sub-expressions of one join pattern together hold
// fewer than this many raw combinations, so the pool can never run out.
constexpr uint32_t kPoolCap = 1u << 18;
// Raw combinations of the no-join pattern (five items per leaf at most): the leaves, then the
// sub-expressions of two, three and four operands that are stored.
static_assert(1 + 4 * 5 + (10 + 3 * 100) + (400 + 2 * 4000) + (20000 + 200000) <= kPoolCap);
static_assert(2 * 200000 <= (1u << search::MergeTable::kBits)); // never fills past half

struct Workspace {
    Item pool[kPoolCap];
    uint32_t used = 0;
    search::MergeTable merge;
};

class Search {
public:
    Search(Workspace& ws, const SolveSwitches& sw) : ws_(ws), sw_(sw) {}

    void Run(const Pattern& p) {
        p_ = &p;
        ws_.used = 0;
        const int m = p.operands - 1;
        // The implicit zero: no power; its points are the pattern's.
        spans_[0][0] = {ws_.used, 1};
        ws_.pool[ws_.used++] = {0, 0, 1, 0, 0};
        for (int q = 1; q <= m; ++q) {
            BuildLeaf(q);
        }
        for (int len = 1; len <= m; ++len) {
            for (int i = 0; i + len <= m; ++i) {
                const int j = i + len;
                if (i == 0 && j == m) {
                    Combine(i, j, [this](const Item& it) { Finish(it); });
                } else {
                    ws_.merge.Begin(ws_.pool, &ws_.used);
                    const uint32_t begin = ws_.used;
                    Combine(i, j, [this](const Item& it) { ws_.merge.Insert(it); });
                    spans_[i][j] = {begin, ws_.used - begin};
                }
            }
        }
    }

    Best best;
    uint32_t tens = 0;

private:
    void BuildLeaf(int q) {
        const Pattern& p = *p_;
        ws_.merge.Begin(ws_.pool, &ws_.used);
        const uint32_t begin = ws_.used;
        const int32_t kinds = sw_.usePower != 0 ? PowCube : PowNone;
        for (int32_t kind = PowNone; kind <= kinds; ++kind) {
            int32_t out = 0;
            int32_t points = 0;
            if (steps::PowerStep(p.number[q], kind, sw_.score, out, points) != EvalOk) {
                continue;
            }
            // Powers of 0 and 1 change nothing and earn what no power earns: they merge here.
            ws_.merge.Insert(
                {out, points, 1, PowerField(p.last[q], kind), kind != PowNone ? 1 : 0});
        }
        spans_[q][q] = {begin, ws_.used - begin};
    }

    template <class Sink> void Combine(int i, int j, Sink&& sink) {
        const Pattern& p = *p_;
        for (int r = i + 1; r <= j; ++r) {
            const int a = r - 1 - i;
            const int b = j - r;
            const uint32_t weight = search::Binomial(a + b, a);
            const int32_t bonus = search::RootBonus(p, r, j);
            uint32_t shift = 0;
            for (int q = r + 1; q <= j; ++q) {
                shift += RankField(p.first[q], a);
            }
            const uint32_t rootRank = RankField(p.first[r], a + b);
            search::ForEachPair(
                ws_.pool, spans_[i][r - 1], spans_[r][j], p.first[r], bonus, sw_.score,
                [&](int32_t op, const Item& l, const Item& rt, int32_t out, int32_t points) {
                    const uint32_t rootCode = OpField(p.first[r], op) | rootRank;
                    sink(Item{out, points, l.count * rt.count * weight,
                              l.code | (rt.code + shift) | rootCode, l.powers + rt.powers});
                });
        }
    }

    void Finish(const Item& it) {
        const Pattern& p = *p_;
        const int32_t total = p.topPoints + it.points;
        if (it.value == points::kTarget) {
            tens += it.count;
        }
        if (best.Offer(points::FinalPoints(total, it.value, sw_.score.scoreOtherResults), it.value,
                       p.joinCount + it.powers)) {
            best.code = it.code;
            best.joins = p.joins;
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

// Nothing found yet: the fresh expression, or EvalBadInput for digits outside 0..9.
SolveResult Unsolved(const Digits& d, int32_t usePower) {
    SolveResult res;
    res.choice = search::PatternState(d, 0, usePower);
    if (!search::ValidDigits(d)) {
        res.status = EvalBadInput;
    }
    return res;
}

// The joined gaps as the model joins them; the free positions' operators, ranks (behind the
// joined ones) and the powers from the code.
ExpressionState DecodeChoice(const Digits& d, unsigned joins, uint32_t code, int32_t usePower) {
    ExpressionState s = search::PatternState(d, joins, usePower);
    const int32_t j = std::popcount(joins);
    for (int k = 0; k < kPositions; ++k) {
        const uint32_t byte = (code >> (8 * k)) & 0xFFu;
        s.power[k] = static_cast<int32_t>(byte & 7u);
        if (s.rankOn[k]) {
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
    Search search(ThreadWorkspace(), sw);
    for (unsigned joins = 0; joins < shape::kJoinPatterns; ++joins) {
        search.Run(search::MakePattern(digits, joins));
        res.states += search::CountChoiceSets(joins, sw.usePower);
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
