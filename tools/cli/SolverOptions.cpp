#include "tools/cli/SolverOptions.h"

#include <cstdio>
#include <string_view>

namespace vostrel::cli {

void UsageError(const char* command, const char* what, const char* arg) {
    std::fprintf(stderr, "vostrel-cli %s: %s '%s' (see vostrel-cli --help)\n", command, what, arg);
}

int ParseSwitch(const char* command, int argc, char** argv, int* i, SolveSwitches* sw) {
    const std::string_view opt = argv[*i];
    int32_t* target = nullptr;
    if (opt == "--nsd") {
        target = &sw->score.scoreInexactDivision;
    } else if (opt == "--nsr") {
        target = &sw->score.scoreInexactRoot;
    } else if (opt == "--rto") {
        target = &sw->score.scoreOtherResults;
    } else if (opt == "--use-power") {
        target = &sw->usePower;
    } else {
        return 0;
    }
    if (*i + 1 >= argc) {
        UsageError(command, "missing value 0 or 1 after", argv[*i]);
        return -1;
    }
    const std::string_view v = argv[*i + 1];
    if (v != "0" && v != "1") {
        UsageError(command, "expected 0 or 1, got", argv[*i + 1]);
        return -1;
    }
    *target = v == "1" ? 1 : 0;
    *i += 2;
    return 1;
}

} // namespace vostrel::cli
