#include "tools/cli/ChoiceText.h"

#include <cstdio>

namespace vostrel::cli {

std::string ChoiceText(const ExpressionState& s) {
    char line[64];
    std::snprintf(line, sizeof line, "power=%d%d%d%d op=%d%d%d%d rank=%d%d%d%d", s.power[0],
                  s.power[1], s.power[2], s.power[3], s.op[0], s.op[1], s.op[2], s.op[3], s.rank[0],
                  s.rank[1], s.rank[2], s.rank[3]);
    return line;
}

} // namespace vostrel::cli
