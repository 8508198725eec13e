#pragma once
// The application's style with focus marks that stand out on any colour scheme, and a default
// button that looks like any other button.
// - A focused push button, text box or editable list is framed by a 2-pixel line in the
//   scheme's highlight colour, made lighter or darker until it stands out by at least 3:1
//   (the non-text contrast of accessibility guidelines) from the window around it and from
//   the face inside it, shading included; the base style's own focus outline (in Fusion, the
//   highlight darkened, 1.8:1 on a dark scheme) is not drawn.
// - The default button (the one Enter presses when the focus is on no button) is drawn as a
//   plain button: in Fusion it wore the same outline as a focused one and was taken for a
//   second focus.
// Other focus rectangles (check boxes) are drawn as a 1-pixel line of the same colour.

#include <QProxyStyle>

namespace vostrel {

class FocusMarkStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Takes ownership of base.
    explicit FocusMarkStyle(QStyle* base);

    // Wraps the application's style, once; a second call does nothing.
    static void Install();

    void drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p,
                       const QWidget* w = nullptr) const override;
    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                            const QWidget* w = nullptr) const override;

    // The colour of the focus frame of a control with the face colour inside, on palette.
    static QColor MarkFor(const QPalette& palette, QPalette::ColorRole face);

private:
    // Frames rect with a focus line of the given width.
    static void DrawMark(QPainter* p, const QRect& rect, const QColor& color, int width);
};

} // namespace vostrel
