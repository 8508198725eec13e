#pragma once
// The game's command line, read before any window is made: the game itself takes no
// arguments, answers --help and --version without a display, and ends with one sentence
// instead of the toolkit's abort when there is no desktop to show its window on.

#include <string>

namespace vostrel {

struct CommandLine {
    // Looks up an environment variable (std::getenv); null when unset.
    using Environment = const char* (*)(const char* name);

    // What the arguments and the environment say. The toolkit's own options are unknown here.
    static CommandLine Check(int argc, const char* const* argv, Environment env);

    // false: the program ends at once with `status`, having printed `out` to standard output
    // and `err` to standard error.
    bool play = true;
    int status = 0;
    std::string out;
    std::string err;
};

} // namespace vostrel
