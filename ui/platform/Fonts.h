#pragma once
// Fonts as the program asks for them: Windows face names, sizes by character cell height.

#include <QFont>
#include <QString>

namespace vostrel {

// Maps the Windows Japanese Gothic faces to the installed IPA Gothic faces, so Japanese text
// never shows as boxes. Called once at start-up, before any window.
void InstallFontSubstitutions();

// A normal-weight sans-serif font whose character cell (ascent plus descent) is at most
// cellHeight pixels, as a positive height asks for on the original platform.
QFont MakeCellFont(int cellHeight, const QString& face);

// The font at the largest pixel size, down to `smallest`, at which text is at most `width` pixels
// wide.
QFont ShrinkToWidth(const QFont& font, const QString& text, int width, int smallest);

// The dialog templates' font: "MS UI Gothic", 9 points at 96 dots per inch.
QFont DialogFont();

} // namespace vostrel
