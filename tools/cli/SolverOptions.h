#pragma once
// The switch options shared by solve and atlas.

#include "search/Solver.h"

namespace vostrel::cli {

// Reads "--nsd 0|1", "--nsr 0|1", "--rto 0|1" and "--use-power 0|1" at argv[*i]; the defaults
// are those of a new settings file. Returns 1 when it took the option (and its value), 0 when
// argv[*i] is no switch option, -1 (with a message on stderr) when the value is bad.
int ParseSwitch(const char* command, int argc, char** argv, int* i, SolveSwitches* sw);

// A usage error: one line on stderr; the caller exits with status 2.
void UsageError(const char* command, const char* what, const char* arg);

} // namespace vostrel::cli
