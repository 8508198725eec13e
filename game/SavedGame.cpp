#include "game/SavedGame.h"

#include "engine/ExpressionModel.h"
#include "engine/PointRules.h"
#include "game/GameScore.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

namespace vostrel {

namespace {

constexpr std::string_view kFormatLine = ":Vostrel saved game";

void Put(std::string& out, std::string_view key, const std::vector<int64_t>& values) {
    out += key;
    out += ':';
    bool first = true;
    for (const int64_t v : values) {
        out += first ? "" : " ";
        out += std::to_string(v);
        first = false;
    }
    out += '\n';
}

std::vector<int64_t> Four(const int32_t (&a)[kPositions]) {
    return {a[0], a[1], a[2], a[3]};
}

// Reads the lines in the order they are written; any deviation fails the whole text.
class Reader {
public:
    explicit Reader(std::string_view text) : rest_(text) {}

    std::optional<std::string_view> Line() {
        const size_t end = rest_.find('\n');
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view line = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
        return line;
    }
    // The numbers of the line with this key: exactly n decimal numbers, one space apart, each
    // within int32_t.
    bool Numbers(std::string_view key, int n, int32_t* out) {
        const std::optional<std::string_view> line = Line();
        if (!line || line->size() <= key.size() || line->substr(0, key.size()) != key ||
            (*line)[key.size()] != ':') {
            return false;
        }
        std::string_view v = line->substr(key.size() + 1);
        for (int i = 0; i < n; ++i) {
            if (i > 0) {
                if (v.empty() || v.front() != ' ') {
                    return false;
                }
                v.remove_prefix(1);
            }
            // No sign but '-', no leading zeros: one text per number.
            const bool negative = !v.empty() && v.front() == '-';
            const std::string_view digits = v.substr(negative ? 1 : 0);
            if (digits.empty() || digits.front() < '0' || digits.front() > '9' ||
                (digits.front() == '0' && digits.size() > 1 && digits[1] >= '0' &&
                 digits[1] <= '9')) {
                return false;
            }
            const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), out[i]);
            if (ec != std::errc{} || (negative && out[i] == 0)) {
                return false;
            }
            v.remove_prefix(static_cast<size_t>(end - v.data()));
        }
        return v.empty();
    }
    bool AtEnd() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

bool In(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi;
}

// The expression the player's choices make, made by the model from a fresh problem with the
// saved digits: the signs and gaps, then the powers, then the ranks from the first computed
// on. Whatever the model refuses or changes differs from what was saved.
ExpressionState Rebuilt(const ExpressionState& saved, int32_t usePower) {
    ExpressionState e;
    ResetExpression(e, usePower);
    for (int k = 0; k < kPositions; ++k) {
        e.digits[k] = saved.digits[k];
    }
    SetSign(e, saved.op[0]);
    for (int g = 1; g < kPositions; ++g) {
        SetGapOp(e, g, saved.op[g], usePower);
    }
    for (int k = 0; k < kPositions; ++k) {
        SetPower(e, k, saved.power[k]);
    }
    for (int32_t r = 0; r < kPositions; ++r) {
        for (int k = 0; k < kPositions; ++k) {
            if (saved.rank[k] == r && e.rankOn[k]) {
                SetRank(e, k, r);
            }
        }
    }
    return e;
}

bool Possible(const GameState& s, const SettingsRecord& settings) {
    for (const int32_t d : s.expr.digits) {
        if (!In(d, 0, 9)) {
            return false;
        }
    }
    if (!In(s.tries, 0, points::kMaxTries) || s.hints < 0 || (s.hinted & ~kAllLabels) != 0 ||
        !In(s.problemIndex, 0, std::max(settings.repeatCount, 1) - 1)) {
        return false;
    }
    // The model decides which states exist; the saved enabled states are its own.
    if (Rebuilt(s.expr, settings.usePower) != s.expr) {
        return false;
    }
    if (!s.touched) {
        ExpressionState fresh;
        ResetExpression(fresh, settings.usePower);
        for (int k = 0; k < kPositions; ++k) {
            fresh.digits[k] = s.expr.digits[k];
        }
        if (s.expr != fresh || s.tries != 0) {
            return false;
        }
    }
    int32_t sum = 0;
    for (size_t i = 0; i < s.graded.size(); ++i) {
        const ProblemResult& p = s.graded[i];
        if (static_cast<int32_t>(i) >= s.problemIndex) {
            if (p != ProblemResult{}) {
                return false;
            }
            continue;
        }
        if (!In(p.tries, 0, points::kMaxTries) || p.hints < 0) {
            return false;
        }
        sum = SaturatingAdd(sum, p.points);
    }
    if (s.problemIndex <= static_cast<int32_t>(s.graded.size()) && sum != s.gameScore) {
        return false;
    }
    const GradedProblem& g = s.lastGraded;
    if (!g.valid) {
        return g == GradedProblem{};
    }
    for (const int32_t d : g.digits) {
        if (!In(d, 0, 9)) {
            return false;
        }
    }
    const ScoreSwitches& w = g.switches.score;
    return In(w.scoreInexactDivision, 0, 1) && In(w.scoreInexactRoot, 0, 1) &&
           In(w.scoreOtherResults, 0, 1) && In(g.switches.usePower, 0, 1);
}

} // namespace

std::string FormatSavedGame(const GameState& s) {
    std::string out;
    out += kFormatLine;
    out += '\n';
    Put(out, "version", {kSavedGameVersion});
    Put(out, "digits", Four(s.expr.digits));
    Put(out, "power", Four(s.expr.power));
    Put(out, "op", Four(s.expr.op));
    Put(out, "rank", Four(s.expr.rank));
    Put(out, "tries", {s.tries});
    Put(out, "hints", {s.hints});
    Put(out, "hinted", {s.hinted});
    Put(out, "touched", {s.touched ? 1 : 0});
    Put(out, "problem", {s.problemIndex});
    Put(out, "score", {s.gameScore});
    for (const ProblemResult& p : s.graded) {
        Put(out, "graded", {p.value, p.points, p.tries, p.hints});
    }
    const GradedProblem& g = s.lastGraded;
    Put(out, "last",
        {g.valid ? 1 : 0, g.digits[0], g.digits[1], g.digits[2], g.digits[3],
         g.switches.score.scoreInexactDivision, g.switches.score.scoreInexactRoot,
         g.switches.score.scoreOtherResults, g.switches.usePower});
    return out;
}

SavedGameStatus ParseSavedGame(std::string_view text, const SettingsRecord& settings,
                               GameState& out) {
    Reader in(text);
    if (in.Line() != kFormatLine) {
        return SavedGameStatus::Damaged;
    }
    int32_t version = 0;
    if (!in.Numbers("version", 1, &version) || version < 1) {
        return SavedGameStatus::Damaged;
    }
    if (version > kSavedGameVersion) {
        return SavedGameStatus::Newer;
    }
    GameState s;
    int32_t n[9] = {};
    const auto four = [&](std::string_view key, int32_t(&to)[kPositions]) {
        return in.Numbers(key, kPositions, to);
    };
    bool ok = four("digits", s.expr.digits) && four("power", s.expr.power) &&
              four("op", s.expr.op) && four("rank", s.expr.rank);
    ok = ok && in.Numbers("tries", 1, &s.tries) && in.Numbers("hints", 1, &s.hints);
    ok = ok && in.Numbers("hinted", 1, n);
    const int32_t hinted = n[0];
    ok = ok && in.Numbers("touched", 1, n) && In(n[0], 0, 1);
    s.touched = n[0] == 1;
    ok = ok && in.Numbers("problem", 1, &s.problemIndex) && in.Numbers("score", 1, &s.gameScore);
    for (ProblemResult& p : s.graded) {
        ok = ok && in.Numbers("graded", 4, n);
        p = {n[0], n[1], n[2], n[3]};
    }
    ok = ok && in.Numbers("last", 9, n) && In(n[0], 0, 1) && in.AtEnd();
    if (!ok) {
        return SavedGameStatus::Damaged;
    }
    s.hinted = static_cast<LabelMask>(hinted);
    if (hinted < 0) {
        return SavedGameStatus::Impossible;
    }
    GradedProblem& g = s.lastGraded;
    g.valid = n[0] == 1;
    for (int k = 0; k < kPositions; ++k) {
        g.digits[k] = n[1 + k];
    }
    g.switches.score = {n[5], n[6], n[7]};
    g.switches.usePower = n[8];
    // The enabled states are no choice of the player's: the model sets them.
    const ExpressionState rebuilt = Rebuilt(s.expr, settings.usePower);
    for (int k = 0; k < kPositions; ++k) {
        s.expr.powerOn[k] = rebuilt.powerOn[k];
        s.expr.rankOn[k] = rebuilt.rankOn[k];
    }
    if (!Possible(s, settings)) {
        return SavedGameStatus::Impossible;
    }
    out = s;
    return SavedGameStatus::Ok;
}

} // namespace vostrel
