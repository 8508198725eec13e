#include "ui/platform/Contrast.h"

#include <algorithm>
#include <cmath>

namespace vostrel {
namespace {

double Linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c) {
    const QColor rgb = c.toRgb();
    return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) +
           0.0722 * Linear(rgb.blueF());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableColor(const QColor& preferred, const QColor& back) {
    if (ContrastRatio(preferred, back) >= kReadableContrast) {
        return preferred;
    }
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    return ContrastRatio(black, back) >= ContrastRatio(white, back) ? black : white;
}

} // namespace vostrel
