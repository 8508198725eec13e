#include "ui/platform/DialogTemplate.h"

#include "ui/platform/Fonts.h"

#include <QDialog>

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

} // namespace vostrel
