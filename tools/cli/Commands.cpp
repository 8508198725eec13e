#include "tools/cli/Commands.h"

namespace vostrel::cli {

const Command kCommands[] = {
    {"eval", RunEval},
    {"model", RunModel},
    {"settings", RunSettings},
    {nullptr, nullptr},
};

const char* const kHelpText =
    "usage: vostrel-cli COMMAND [ARGS]\n"
    "\n"
    "  eval                 read lines 'DDDD PPPP OOOO RRRR T FFF' from standard input and\n"
    "                       print 'STATUS VALUE POINTS' for each\n"
    "                         DDDD  four digits 0-9\n"
    "                         PPPP  four power codes 0-4 (none, sqrt, cbrt, square, cube)\n"
    "                         OOOO  sign code 0-1, then three gap codes 0-4\n"
    "                               (+, -, *, /, join)\n"
    "                         RRRR  ranks of the four positions, a permutation of 0-3\n"
    "                         T     tries so far, 0-10\n"
    "                         FFF   switches 0/1: inexact division, inexact root, other results\n"
    "                       STATUS: 0 ok, -1 division by 0, -2 overflow, -3 inexact division,\n"
    "                       -4 inexact root. A malformed line prints 'error: REASON' in its\n"
    "                       place; the exit status is then 1\n"
    "  model [--use-power 0|1]\n"
    "                       apply commands from standard input to a fresh expression, one a\n"
    "                       line: reset | power K KIND | sign KIND | gap K KIND | rank P R\n"
    "                       (K digit 0-3 or gap 1-3, KIND a code as above, P position 0-3,\n"
    "                       R rank 0-3); after each print\n"
    "                       'power=pppp op=oooo rank=rrrr power_on=eeee rank_on=eeee'.\n"
    "                       A command the game window could not issue (out of range, or a\n"
    "                       disabled power or rank label) prints 'error: REASON', changes\n"
    "                       nothing, and makes the exit status 1\n"
    "  settings FILE        load a settings file, print 'load N' and the bytes a save would\n"
    "                       write\n"
    "  --help               this text\n"
    "\n"
    "Unknown commands or arguments: exit status 2.\n";

} // namespace vostrel::cli
