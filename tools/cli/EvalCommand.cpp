#include "tools/cli/Commands.h"

#include <cstdio>

namespace vostrel::cli {

int RunEval(int, char**) {
    std::fputs("vostrel-cli: not available in this build yet\n", stderr);
    return 2;
}

} // namespace vostrel::cli
