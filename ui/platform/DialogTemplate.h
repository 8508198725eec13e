#pragma once
// What every dialog of the program shares with its template: a modal frame with a caption and
// a system menu, the dialog font, and plain static texts.

#include <QLabel>
#include <QString>

class QDialog;
class QWidget;

namespace vostrel {

// Caption, frame buttons (close, plus any in extraButtons) and the dialog font.
void InitDialogWindow(QDialog* dialog, const QString& title,
                      Qt::WindowFlags extraButtons = Qt::WindowFlags());

// A static text control: plain text (no markup), aligned as given.
QLabel* MakeStatic(QWidget* parent, const QString& text, Qt::Alignment align);

// The template sizes a static text for lines of the original face; a line of the substituted
// face is a pixel taller, so the box grows downward until its lines fit.
void GrowToLines(QLabel* label);

} // namespace vostrel
