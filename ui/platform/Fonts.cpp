#include "ui/platform/Fonts.h"

#include <QFontMetrics>
#include <QStringList>

namespace vostrel {

void InstallFontSubstitutions() {
    const QStringList gothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")};
    QFont::insertSubstitutions(QStringLiteral("MS UI Gothic"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), gothic);
}

QFont MakeCellFont(int cellHeight, const QString& face) {
    QFont f(face);
    f.setStyleHint(QFont::SansSerif);
    f.setWeight(QFont::Normal);
    int px = cellHeight > 1 ? cellHeight : 1;
    f.setPixelSize(px);
    while (px > 1 && QFontMetrics(f).height() > cellHeight) {
        f.setPixelSize(--px);
    }
    return f;
}

QFont DialogFont() {
    QFont f(QStringLiteral("MS UI Gothic"));
    f.setStyleHint(QFont::SansSerif);
    // 9 points at 96 dpi: a 12-pixel character height, fixed so the layout does not move with
    // the screen's resolution setting.
    f.setPixelSize(12);
    return f;
}

} // namespace vostrel
