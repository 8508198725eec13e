#include "tools/cli/Commands.h"

namespace vostrel::cli {

const Command kCommands[] = {
    {"eval", RunEval},   {"model", RunModel}, {"settings", RunSettings},
    {"solve", RunSolve}, {"atlas", RunAtlas}, {nullptr, nullptr},
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
    "  solve DDDD [--nsd 0|1] [--nsr 0|1] [--rto 0|1] [--use-power 0|1]\n"
    "                       the best choice set for the digits DDDD over every choice set\n"
    "                       the game window can build, scored at 0 tries with the switches\n"
    "                       (defaults 0, 0, 1, 1 as in a new settings file); prints\n"
    "                       'best POINTS', 'value VALUE', 'choice power=pppp op=oooo\n"
    "                       rank=rrrr', 'expression TEXT', 'tens COUNT' (choice sets that\n"
    "                       make 10) and 'states COUNT' (choice sets considered).\n"
    "                       --brute-force evaluates every choice set one by one instead\n"
    "  atlas [--nsd 0|1] [--nsr 0|1] [--rto 0|1] [--use-power 0|1] [--out FILE.csv]\n"
    "                       solve every ticket 0000-9999 on every core (progress on standard\n"
    "                       error); FILE.csv gets 'ticket,best,value,tens' rows; prints\n"
    "                       'tickets N', 'make10 COUNT PERCENT%' and a histogram of the best\n"
    "                       points as 'best FROM..TO COUNT' lines\n"
    "  atlas --all-switches [--out FILE.csv]\n"
    "                       every ticket under all 16 switch combinations in one pass;\n"
    "                       prints a table of the tickets that make 10 under each;\n"
    "                       FILE.csv gets 'nsd,nsr,rto,eu,ticket,best,value,tens' rows\n"
    "  --help               this text\n"
    "\n"
    "Unknown commands or arguments: exit status 2.\n";

} // namespace vostrel::cli
