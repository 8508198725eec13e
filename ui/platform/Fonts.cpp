#include "ui/platform/Fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QRawFont>
#include <QStringList>

#include <functional>

namespace vostrel {

namespace {

// The installed face that stands for a Windows face. Asked for by a face that is not installed,
// the font database first searches every installed font for fallbacks, for each script of the
// text, and only then takes the substitute; asked for by the substitute's own name, it does not.
QString InstalledFace(const QString& face) {
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(face, Qt::CaseInsensitive)) {
        return face;
    }
    for (const QString& s : QFont::substitutes(face)) {
        if (installed.contains(s, Qt::CaseInsensitive)) {
            return s;
        }
    }
    return face;
}

// The dialog font's pixel size: 9 points at 96 dpi. Its font engine is set up before any other,
// so measuring at this size sets up no engine of its own.
constexpr int kDialogPixelSize = 12;

// The largest pixel size from top down at which fits(raw font) holds, measured on a raw font of
// f's face: one font engine sizes itself without fontconfig's set-up of a new engine for each
// size tried, a millisecond or so each, and the window's fonts are then set up only as they
// are drawn. 0 when the face cannot be measured so.
int LargestFitting(const QFont& f, int top, const std::function<bool(const QRawFont&)>& fits) {
    QFont measuring = f;
    measuring.setPixelSize(kDialogPixelSize);
    // Latin, as the window's first text layout asks for the face: a font engine is made and
    // cached per script, and another one would cost as much as all this measuring.
    QRawFont raw = QRawFont::fromFont(measuring, QFontDatabase::Latin);
    if (!raw.isValid()) {
        return 0;
    }
    int px = top;
    for (; px > 1; --px) {
        raw.setPixelSize(px);
        if (fits(raw)) {
            break;
        }
    }
    return px;
}

} // namespace

void InstallFontSubstitutions() {
    const QStringList gothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")};
    QFont::insertSubstitutions(QStringLiteral("MS UI Gothic"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), gothic);
}

QFont MakeCellFont(int cellHeight, const QString& face) {
    QFont f(InstalledFace(face));
    f.setStyleHint(QFont::SansSerif);
    f.setWeight(QFont::Normal);
    int px = cellHeight > 1 ? cellHeight : 1;
    const int raw = LargestFitting(f, px, [cellHeight](const QRawFont& r) {
        // As QFontMetrics::height() adds them.
        return qRound(r.ascent()) + qRound(r.descent()) <= cellHeight;
    });
    if (raw > 0) {
        f.setPixelSize(raw);
        return f;
    }
    f.setPixelSize(px);
    while (px > 1 && QFontMetrics(f).height() > cellHeight) {
        f.setPixelSize(--px);
    }
    return f;
}

QFont ShrinkToWidth(const QFont& font, const QString& text, int width, int smallest) {
    QFont f = font;
    const int top = f.pixelSize();
    if (top <= smallest) {
        return f;
    }
    const int raw = LargestFitting(f, top, [&text, width, smallest](const QRawFont& r) {
        if (r.pixelSize() <= smallest) {
            return true;
        }
        // As QFontMetrics::horizontalAdvance() adds them, for a text without kerned pairs.
        qreal advance = 0;
        for (const QPointF& a : r.advancesForGlyphIndexes(r.glyphIndexesForString(text))) {
            advance += a.x();
        }
        return qRound(advance) <= width;
    });
    if (raw > 0) {
        f.setPixelSize(raw);
        return f;
    }
    while (f.pixelSize() > smallest && QFontMetrics(f).horizontalAdvance(text) > width) {
        f.setPixelSize(f.pixelSize() - 1);
    }
    return f;
}

QFont DialogFont() {
    QFont f(InstalledFace(QStringLiteral("MS UI Gothic")));
    f.setStyleHint(QFont::SansSerif);
    // Fixed in pixels, so the layout does not move with the screen's resolution setting.
    f.setPixelSize(kDialogPixelSize);
    return f;
}

} // namespace vostrel
