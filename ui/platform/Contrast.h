#pragma once
// Readability of a colour on another, by the WCAG contrast ratio of their relative luminances.

#include <QColor>

namespace vostrel {

// The smallest ratio at which normal-sized text reads well.
constexpr double kReadableContrast = 4.5;

// (L1 + 0.05) / (L2 + 0.05) of the lighter and the darker colour: 1 for equal luminance, 21
// for black on white.
double ContrastRatio(const QColor& a, const QColor& b);

// preferred when it reads on back; otherwise black or white, whichever reads better there.
QColor ReadableColor(const QColor& preferred, const QColor& back);

} // namespace vostrel
