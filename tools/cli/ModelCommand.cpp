// vostrel-cli model: the choices a player commits, one a line, applied to one expression.
#include "engine/ExpressionModel.h"
#include "tools/cli/ChoiceText.h"
#include "tools/cli/Commands.h"
#include "tools/cli/LineLoop.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace vostrel::cli {

namespace {

constexpr int kMaxWords = 4;

// A small non-negative decimal number; anything else reads as -1, which no range admits.
int32_t Number(std::string_view w) {
    if (w.empty() || w.size() > 4) {
        return -1;
    }
    int32_t v = 0;
    for (char c : w) {
        if (c < '0' || c > '9') {
            return -1;
        }
        v = v * 10 + (c - '0');
    }
    return v;
}

bool In(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi;
}

// Applies one command as the window would, or names why the window could not issue it.
const char* Apply(std::string_view line, ExpressionState& s, int32_t usePower) {
    // One more than any command takes, so that too many words read as a usage error.
    std::string_view w[kMaxWords + 1];
    const int n = SplitWords(line, w, kMaxWords + 1);
    if (n == 0) {
        return "empty line; expected reset, power K KIND, sign KIND, gap K KIND or rank P R";
    }
    const std::string_view cmd = w[0];
    if (cmd == "reset") {
        if (n != 1) {
            return "usage: reset";
        }
        ResetExpression(s, usePower);
        return nullptr;
    }
    if (cmd == "power") {
        if (n != 3) {
            return "usage: power K KIND";
        }
        const int32_t k = Number(w[1]);
        const int32_t kind = Number(w[2]);
        if (!In(k, 0, 3)) {
            return "power: digit K must be 0-3";
        }
        if (!In(kind, PowNone, PowCube)) {
            return "power: KIND must be 0-4";
        }
        if (!s.powerOn[k]) {
            return usePower != 0 ? "power: the label is disabled (left digit of a join)"
                                 : "power: the label is disabled (powers are off)";
        }
        SetPower(s, k, kind);
        return nullptr;
    }
    if (cmd == "sign") {
        if (n != 2) {
            return "usage: sign KIND";
        }
        const int32_t kind = Number(w[1]);
        if (!In(kind, kSignPlus, kSignMinus)) {
            return "sign: KIND must be 0-1";
        }
        SetSign(s, kind);
        return nullptr;
    }
    if (cmd == "gap") {
        if (n != 3) {
            return "usage: gap K KIND";
        }
        const int32_t k = Number(w[1]);
        const int32_t kind = Number(w[2]);
        if (!In(k, 1, 3)) {
            return "gap: K must be 1-3";
        }
        if (!In(kind, OpAdd, OpJoin)) {
            return "gap: KIND must be 0-4";
        }
        SetGapOp(s, k, kind, usePower);
        return nullptr;
    }
    if (cmd == "rank") {
        if (n != 3) {
            return "usage: rank P R";
        }
        const int32_t p = Number(w[1]);
        const int32_t r = Number(w[2]);
        if (!In(p, 0, 3)) {
            return "rank: position P must be 0-3";
        }
        if (!In(r, 0, 3)) {
            return "rank: R must be 0-3";
        }
        if (!s.rankOn[p]) {
            return "rank: the label is disabled (joined gap)";
        }
        SetRank(s, p, r);
        return nullptr;
    }
    return "unknown command; expected reset, power, sign, gap or rank";
}

void PrintState(const ExpressionState& s) {
    std::printf("%s power_on=%d%d%d%d rank_on=%d%d%d%d\n", ChoiceText(s).c_str(), s.powerOn[0],
                s.powerOn[1], s.powerOn[2], s.powerOn[3], s.rankOn[0], s.rankOn[1], s.rankOn[2],
                s.rankOn[3]);
}

} // namespace

int RunModel(int argc, char** argv) {
    int32_t usePower = 1;
    for (int i = 0; i < argc; ++i) {
        const std::string_view a = argv[i];
        std::string_view value;
        if (a == "--help" || a == "-h") {
            std::fputs(kHelpText, stdout);
            return 0;
        }
        if (a == "--use-power" && i + 1 < argc) {
            value = argv[++i];
        } else if (a.substr(0, 12) == "--use-power=") {
            value = a.substr(12);
        } else {
            std::fprintf(stderr,
                         "vostrel-cli model: unknown argument '%s' (usage: model "
                         "[--use-power 0|1])\n",
                         argv[i]);
            return 2;
        }
        if (value != "0" && value != "1") {
            std::fprintf(stderr, "vostrel-cli model: --use-power takes 0 or 1, not '%.*s'\n",
                         static_cast<int>(value.size()), value.data());
            return 2;
        }
        usePower = value == "1" ? 1 : 0;
    }

    ExpressionState s;
    ResetExpression(s, usePower);
    return RunLineLoop("model", [&s, usePower](std::string_view line) -> const char* {
        const char* error = Apply(line, s, usePower);
        if (error == nullptr) {
            PrintState(s);
        }
        return error;
    });
}

} // namespace vostrel::cli
