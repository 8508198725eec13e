// vostrel-cli: the command-line companion over the engine.
#include "tools/cli/Commands.h"

#include <cstdio>
#include <string_view>

namespace {

void PrintHelp(FILE* out) {
    std::fputs(vostrel::cli::kHelpText, out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintHelp(stderr);
        return 2;
    }
    const std::string_view cmd = argv[1];
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
        PrintHelp(stdout);
        return 0;
    }
    for (const vostrel::cli::Command* c = vostrel::cli::kCommands; c->name != nullptr; ++c) {
        if (cmd == c->name) {
            return c->run(argc - 2, argv + 2);
        }
    }
    std::fprintf(stderr, "vostrel-cli: unknown command '%s' (see vostrel-cli --help)\n", argv[1]);
    return 2;
}
