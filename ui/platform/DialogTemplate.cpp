#include "ui/platform/DialogTemplate.h"

#include "ui/platform/Fonts.h"

#include <QDialog>
#include <QFontMetrics>

namespace vostrel {

void InitDialogWindow(QDialog* dialog, const QString& title, Qt::WindowFlags extraButtons) {
    dialog->setWindowTitle(title);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | extraButtons);
    dialog->setFont(DialogFont());
}

QLabel* MakeStatic(QWidget* parent, const QString& text, Qt::Alignment align) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(align);
    label->setText(text);
    return label;
}

void GrowToLines(QLabel* label) {
    const int lines = static_cast<int>(label->text().count(QLatin1Char('\n'))) + 1;
    const int need = lines * QFontMetrics(label->font()).lineSpacing() + 2 * label->frameWidth();
    if (label->height() < need) {
        label->resize(label->width(), need);
    }
}

} // namespace vostrel
