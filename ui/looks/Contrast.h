#pragma once
// Readability of a colour on another, by the WCAG contrast ratio of their relative luminances.

#include <QColor>

#include <initializer_list>

namespace vostrel {

// The smallest ratio at which normal-sized text reads well.
constexpr double kReadableContrast = 4.5;
// The smallest ratio at which a mark that is not text (a focus frame) stands out.
constexpr double kMarkContrast = 3.0;

// (L1 + 0.05) / (L2 + 0.05) of the lighter and the darker colour: 1 for equal luminance, 21
// for black on white.
double ContrastRatio(const QColor& a, const QColor& b);

// preferred when it reads on back; otherwise black or white, whichever reads better there.
QColor ReadableColor(const QColor& preferred, const QColor& back);

// A colour for a mark drawn among the colours around it (a frame with the window outside and
// a button face inside): preferred when it stands out from each by kMarkContrast; otherwise
// preferred made lighter or darker, as little as it takes; black or white when nothing of the
// same hue does.
QColor MarkColor(const QColor& preferred, std::initializer_list<QColor> around);

} // namespace vostrel
