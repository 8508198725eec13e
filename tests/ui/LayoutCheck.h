#pragma once
// Checks that every visible control of a window lies inside its client area, overlaps no
// other control and is large enough for its text.

#include <QWidget>

#include <string>
#include <vector>

namespace vostrel {

std::vector<std::string> LayoutProblems(const QWidget& window);

} // namespace vostrel
