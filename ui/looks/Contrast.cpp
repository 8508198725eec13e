#include "ui/looks/Contrast.h"

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

QColor MarkColor(const QColor& preferred, std::initializer_list<QColor> around) {
    // The lowest contrast of c with any colour around it.
    const auto least = [around](const QColor& c) {
        double ratio = 21.0;
        for (const QColor& a : around) {
            ratio = std::min(ratio, ContrastRatio(c, a));
        }
        return ratio;
    };
    const auto standsOut = [&least](const QColor& c) { return least(c) >= kMarkContrast; };
    if (standsOut(preferred)) {
        return preferred;
    }
    const QColor hsl = preferred.toHsl();
    const int hue = hsl.hslHue();
    const int sat = hsl.hslSaturation();
    const int light = hsl.lightness();
    for (int step = 1; step <= 255; ++step) {
        for (const int l : {light + step, light - step}) {
            if (l < 0 || l > 255) {
                continue;
            }
            const QColor c = QColor::fromHsl(hue, sat, l).toRgb();
            if (standsOut(c)) {
                return c;
            }
        }
    }
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    return least(black) >= least(white) ? black : white;
}

} // namespace vostrel
