#pragma once
// The subcommands of vostrel-cli. Each takes the arguments after its name and returns the exit
// status.

namespace vostrel::cli {

using CommandFn = int (*)(int argc, char** argv);

struct Command {
    const char* name;
    CommandFn run;
};

int RunEval(int argc, char** argv);
int RunModel(int argc, char** argv);
int RunSettings(int argc, char** argv);
int RunSolve(int argc, char** argv);
int RunAtlas(int argc, char** argv);
int RunStats(int argc, char** argv);

extern const Command kCommands[];
extern const char* const kHelpText;

} // namespace vostrel::cli
