// vostrel-cli solve: the best choice set for one ticket.
#include "engine/ExpressionText.h"
#include "search/Solver.h"
#include "tools/cli/ChoiceText.h"
#include "tools/cli/Commands.h"
#include "tools/cli/SolverOptions.h"

#include <cstdio>
#include <string_view>

namespace vostrel::cli {

int RunSolve(int argc, char** argv) {
    const char* ticket = nullptr;
    bool brute = false;
    SolveSwitches sw;
    for (int i = 0; i < argc;) {
        const int took = ParseSwitch("solve", argc, argv, &i, &sw);
        if (took < 0) {
            return 2;
        }
        if (took > 0) {
            continue;
        }
        const std::string_view a = argv[i];
        if (a == "--brute-force") {
            brute = true;
        } else if (ticket == nullptr && !a.starts_with("-")) {
            ticket = argv[i];
        } else {
            UsageError("solve", "unexpected argument", argv[i]);
            return 2;
        }
        ++i;
    }
    if (ticket == nullptr) {
        std::fprintf(stderr, "vostrel-cli solve: missing DDDD (four digits 0-9)\n");
        return 2;
    }
    const std::string_view t = ticket;
    Digits d{};
    bool ok = t.size() == 4;
    for (size_t k = 0; ok && k < 4; ++k) {
        ok = t[k] >= '0' && t[k] <= '9';
        d[k] = t[k] - '0';
    }
    if (!ok) {
        UsageError("solve", "expected four digits 0-9, got", ticket);
        return 2;
    }
    const SolveResult r = brute ? SolveBruteForce(d, sw) : Solve(d, sw);
    const ExpressionState& c = r.choice;
    std::printf("best %d\nvalue %d\n", r.best, r.value);
    std::printf("choice %s\n", ChoiceText(c).c_str());
    std::printf("expression %s\n", r.found ? FormatExpression(c).c_str() : "none");
    std::printf("tens %u\nstates %u\n", r.tens, r.states);
    return 0;
}

} // namespace vostrel::cli
