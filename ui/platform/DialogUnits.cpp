#include "ui/platform/DialogUnits.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QString>
#include <QWidget>

#include <cstdint>

namespace vostrel {

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics fm(font);
    const int width = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // The mean over 52 letters, rounded: (width / 26 + 1) / 2. The height is the character
    // height the template's font asks for, as the original face's cell is: the substituted
    // face adds a pixel or two of leading, which would push every template control below the
    // labels placed in pixels beside it.
    return DialogBaseUnits{(width / 26 + 1) / 2, QFontInfo(font).pixelSize()};
}

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const int64_t p = static_cast<int64_t>(a) * b;
    const int64_t half = (c > 0 ? c : -c) / 2;
    const bool negative = (p < 0) != (c < 0);
    const int64_t q = ((p < 0 ? -p : p) + half) / (c > 0 ? c : -c);
    return static_cast<int>(negative ? -q : q);
}

QRect MapDialogRect(const DialogBaseUnits& bu, int x, int y, int cx, int cy) {
    const int left = MulDiv(x, bu.x, 4);
    const int top = MulDiv(y, bu.y, 8);
    const int right = MulDiv(x + cx, bu.x, 4);
    const int bottom = MulDiv(y + cy, bu.y, 8);
    return QRect(left, top, right - left, bottom - top);
}

void PlaceInDialogUnits(QWidget* w, const DialogBaseUnits& bu, int x, int y, int cx, int cy) {
    w->setGeometry(MapDialogRect(bu, x, y, cx, cy));
}

} // namespace vostrel
