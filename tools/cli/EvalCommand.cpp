// vostrel-cli eval: one expression a line in, its status, value and points out.
#include "engine/Evaluator.h"
#include "engine/PointRules.h"
#include "tools/cli/Commands.h"
#include "tools/cli/LineLoop.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace vostrel::cli {

namespace {

constexpr int kFields = 6;

// Four characters, each between lo and hi; the first may have its own upper bound.
bool CodeField(std::string_view f, char lo, char hi, int32_t out[4], char firstHi = 0) {
    if (f.size() != 4) {
        return false;
    }
    for (int k = 0; k < 4; ++k) {
        const char top = (k == 0 && firstHi != 0) ? firstHi : hi;
        if (f[k] < lo || f[k] > top) {
            return false;
        }
        out[k] = f[k] - '0';
    }
    return true;
}

// Fills the inputs of one evaluation, or names what is wrong with the line.
const char* ParseLine(std::string_view line, ExpressionState& s, int32_t& tries,
                      ScoreSwitches& sw) {
    // One more than a line holds, to tell a line that goes on.
    std::string_view f[kFields + 1];
    const int n = SplitWords(line, f, kFields + 1);
    if (n > kFields) {
        return "expected 6 fields 'DDDD PPPP OOOO RRRR T FFF', got more";
    }
    if (n == 0) {
        return "empty line; expected 'DDDD PPPP OOOO RRRR T FFF'";
    }
    if (n != kFields) {
        return "expected 6 fields 'DDDD PPPP OOOO RRRR T FFF'";
    }
    if (!CodeField(f[0], '0', '9', s.digits)) {
        return "digits must be four of 0-9";
    }
    if (!CodeField(f[1], '0', '4', s.power)) {
        return "powers must be four codes 0-4";
    }
    if (!CodeField(f[2], '0', '4', s.op, '1')) {
        return "operators must be a sign code 0-1 and three gap codes 0-4";
    }
    unsigned seen = 0;
    if (CodeField(f[3], '0', '3', s.rank)) {
        for (int k = 0; k < 4; ++k) {
            seen |= 1u << s.rank[k];
        }
    }
    if (seen != 0xFu) {
        return "ranks must be a permutation of 0-3";
    }
    tries = -1;
    if (f[4].size() <= 2) {
        const auto [end, ec] = std::from_chars(f[4].data(), f[4].data() + f[4].size(), tries);
        if (ec != std::errc() || end != f[4].data() + f[4].size()) {
            tries = -1;
        }
    }
    if (tries < 0 || tries > points::kMaxTries) {
        return "try count must be 0-10";
    }
    int32_t switches[3];
    if (f[5].size() != 3) {
        return "switches must be three of 0 or 1";
    }
    for (int k = 0; k < 3; ++k) {
        if (f[5][k] != '0' && f[5][k] != '1') {
            return "switches must be three of 0 or 1";
        }
        switches[k] = f[5][k] - '0';
    }
    sw = {switches[0], switches[1], switches[2]};
    return nullptr;
}

} // namespace

int RunEval(int argc, char** argv) {
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelpText, stdout);
            return 0;
        }
    }
    if (argc > 0) {
        std::fprintf(stderr,
                     "vostrel-cli eval: unexpected argument '%s' (it reads standard input)\n",
                     argv[0]);
        return 2;
    }

    return RunLineLoop("eval", [](std::string_view line) -> const char* {
        ExpressionState s;
        int32_t tries = 0;
        ScoreSwitches sw;
        if (const char* error = ParseLine(line, s, tries, sw)) {
            return error;
        }
        const EvalResult r = Evaluate(s, tries, sw);
        char out[64];
        const int n = std::snprintf(out, sizeof out, "%d %d %d\n", r.status, r.value, r.points);
        std::fwrite(out, 1, static_cast<size_t>(n), stdout);
        return nullptr;
    });
}

} // namespace vostrel::cli
