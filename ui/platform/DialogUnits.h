#pragma once
// Dialog units, the measure of the dialog templates, turned into pixels through the base units
// of the dialog's font, computed the way the original platform computes them.

#include <QFont>
#include <QRect>

class QWidget;

namespace vostrel {

struct DialogBaseUnits {
    int x = 0; // average width of the Latin letters, in pixels
    int y = 0; // character height of the font, in pixels
};

DialogBaseUnits BaseUnitsOf(const QFont& font);

// a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c);

// The pixel rectangle of a template rectangle (x, y, width, height in dialog units).
QRect MapDialogRect(const DialogBaseUnits& bu, int x, int y, int cx, int cy);

// Gives w the pixel geometry of a template rectangle.
void PlaceInDialogUnits(QWidget* w, const DialogBaseUnits& bu, int x, int y, int cx, int cy);

} // namespace vostrel
