#include "search/Solver.h"

#include "engine/ArithmeticSteps.h"
#include "engine/Evaluator.h"
#include "engine/PointRules.h"
#include "search/ChoiceSets.h"
#include "search/RootMeeting.h"
#include "search/SearchParts.h"

#include <algorithm>
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

using search::Item;
using search::kMaxOperands;
using search::Meeting;
using search::OpField;
using search::Pattern;
using search::PowerField;
using search::RankField;
using search::Side;
using search::Span;

constexpr int kPatterns = shape::kJoinPatterns;

// Every part that is stored, for all join patterns at once: all but the two that hold the
// first and the last operand (the whole expression, and the same right of the zero), which
// only the root meets.
constexpr uint32_t PoolBound() {
    uint32_t sum = 0;
    for (unsigned joins = 0; joins < kPatterns; ++joins) {
        const int m = shape::OperandsOf(joins).count;
        for (int i = 0; i <= m; ++i) {
            for (int j = i; j <= m; ++j) {
                if (i > 1 || j < m || m == 1) {
                    sum += search::RawBound(j - i + 1, i == 0);
                }
            }
        }
    }
    return sum;
}
constexpr uint32_t kPoolCap = 1u << 16;
static_assert(PoolBound() <= kPoolCap);
// The largest part, three operands behind the zero, never fills its table past half.
static_assert(2 * search::RawBound(4, true) <= (1u << search::MergeTable::kBits));

struct Workspace {
    Item pool[kPoolCap];
    // Per part, its items' offsets by value and by points.
    uint32_t byValue[kPoolCap];
    uint32_t byPoints[kPoolCap];
    uint64_t sortScratch[kPoolCap];
    uint32_t used = 0;
    search::MergeTable merge;
};

// The parts of every join pattern: sub-expressions over consecutive operands, merged by value.
class Search {
public:
    Search(Workspace& ws, const SolveSwitches& sw) : ws_(ws), sw_(sw) { ws_.used = 0; }

    // Builds the stored parts of one pattern and adds the meetings at its root.
    void Run(const Pattern& p, Meeting* meetings, int& count) {
        p_ = &p;
        const int m = p.operands - 1;
        spans_[0][0] = {ws_.used, 1};
        // The implicit zero: no power; its points are the pattern's.
        ws_.pool[ws_.used++] = {0, 0, 1, 0, 0};
        for (int q = 1; q <= m; ++q) {
            BuildLeaf(q);
        }
        for (int len = 1; len < m; ++len) {
            for (int i = 0; i + len <= m; ++i) {
                const int j = i + len;
                if (i <= 1 && j == m) {
                    continue;
                }
                ws_.merge.Begin(ws_.pool, &ws_.used);
                const uint32_t begin = ws_.used;
                Combine(i, j);
                spans_[i][j] = {begin, ws_.used - begin};
            }
        }
        AddMeetings(meetings, count);
    }

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

    void Combine(int i, int j) {
        const Pattern& p = *p_;
        for (int r = i + 1; r <= j; ++r) {
            const int a = r - 1 - i;
            const int b = j - r;
            const uint32_t weight = search::Binomial(a + b, a);
            const uint32_t shift = RightShift(r, j, a);
            uint32_t rootCode[OpJoin];
            for (int32_t op = 0; op < OpJoin; ++op) {
                rootCode[op] = OpField(p.first[r], op) | RankField(p.first[r], a + b);
            }
            search::ForEachPair(
                ws_.pool, spans_[i][r - 1], spans_[r][j], p.first[r], search::RootBonus(p, r, j),
                sw_.score,
                [&](int32_t op, const Item& l, const Item& rt, int32_t out, int32_t points) {
                    ws_.merge.Insert(Item{out, points, l.count * rt.count * weight,
                                          l.code | (rt.code + shift) | rootCode[op],
                                          l.powers + rt.powers});
                });
        }
    }

    // What the right side's ranks move by under a root whose left side holds a operators.
    uint32_t RightShift(int r, int j, int a) const {
        uint32_t shift = 0;
        for (int q = r + 1; q <= j; ++q) {
            shift += RankField(p_->first[q], a);
        }
        return shift;
    }

    // The root of the whole expression: the sign over two parts right of the zero, or any
    // other operand's operator between the zero's side and the rest. The search's order: the
    // sign's pairs first, then by the root's operand.
    void AddMeetings(Meeting* meetings, int& count) {
        const Pattern& p = *p_;
        const int m = p.operands - 1;
        const uint64_t patternKey = uint64_t{p.joins} << 46;
        const auto base = [&](int r) {
            Meeting mt;
            mt.ops = shape::OperatorChoices(p.first[r]);
            mt.joinCount = p.joinCount;
            mt.joins = p.joins;
            mt.opPos = p.first[r];
            return mt;
        };
        if (m == 1) {
            Meeting mt = base(1);
            mt.left = SideOf(0, 0);
            mt.right = SideOf(1, 1);
            mt.points = p.topPoints;
            mt.keyBase = patternKey | uint64_t{1} << 43;
            mt.keyOpShift = 41;
            meetings[count++] = mt;
            return;
        }
        for (int32_t sign = 0; sign < shape::OperatorChoices(0); ++sign) {
            for (int r = 2; r <= m; ++r) {
                const int a = r - 2;
                Meeting mt = base(r);
                mt.left = SideOf(1, r - 1);
                mt.right = SideOf(r, m);
                mt.sign = sign;
                mt.points = p.topPoints + search::RootBonus(p, 1, m) + search::RootBonus(p, r, m);
                mt.weight = search::Binomial(m - 2, a);
                mt.rightShift = RightShift(r, m, a);
                mt.fixedCode =
                    RankField(p.first[r], m - 2) | OpField(0, sign) | RankField(0, m - 1);
                mt.keyBase =
                    patternKey | uint64_t{1} << 43 | uint64_t(sign) << 41 | uint64_t(r) << 38;
                mt.keyOpShift = 36;
                mt.merged = true;
                meetings[count++] = mt;
            }
        }
        for (int r = 2; r <= m; ++r) {
            const int a = r - 1;
            Meeting mt = base(r);
            mt.left = SideOf(0, r - 1);
            mt.right = SideOf(r, m);
            mt.points = p.topPoints + search::RootBonus(p, r, m);
            mt.weight = search::Binomial(m - 1, a);
            mt.rightShift = RightShift(r, m, a);
            mt.fixedCode = RankField(p.first[r], m - 1);
            mt.keyBase = patternKey | uint64_t(r) << 43;
            mt.keyOpShift = 41;
            meetings[count++] = mt;
        }
    }

    // The part over operands i..j as the root meets it.
    Side* SideOf(int i, int j) {
        Side& s = sides_[p_->joins][i][j];
        if (s.Items() == nullptr) {
            const Span span = spans_[i][j];
            s = Side(ws_.pool + span.begin, span.size, ws_.byValue + span.begin,
                     ws_.byPoints + span.begin, ws_.sortScratch + span.begin);
        }
        return &s;
    }

    Workspace& ws_;
    const SolveSwitches& sw_;
    const Pattern* p_ = nullptr;
    Span spans_[kMaxOperands][kMaxOperands];
    // By pattern: the meetings point at them.
    Side sides_[kPatterns][kMaxOperands][kMaxOperands];
};

Workspace& ThreadWorkspace() {
    // Allocated once per thread, outside the search. Not cleared: the search writes every item
    // before it reads it, and untouched pages of the pool then cost nothing.
    thread_local std::unique_ptr<Workspace> ws(new Workspace);
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
    // Three root operands with the sign over two of them, the most a pattern has.
    Meeting meetings[kPatterns * 3 * 3];
    int count = 0;
    for (unsigned joins = 0; joins < kPatterns; ++joins) {
        search.Run(search::MakePattern(digits, joins), meetings, count);
        res.states += search::CountChoiceSets(joins, sw.usePower);
    }
    search::RootSearch root(sw);
    for (int k = 0; k < count; ++k) {
        root.Tens(meetings[k]);
    }
    for (int k = 0; k < count; ++k) {
        root.Others(meetings[k]);
    }
    res.tens = root.TenCount();
    const search::RootSearch::Answer best = root.Best();
    if (best.found) {
        res.found = true;
        res.best = best.points;
        res.value = best.value;
        res.choice = DecodeChoice(digits, best.joins, best.code, sw.usePower);
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
