// The floor of the start-up benchmark: what every Qt Widgets program pays to show a dialog with
// a Japanese label in IPA Gothic and a button.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Vostrel"));
    QLabel label(QStringLiteral("10を作ってください"));
    label.setFont(QFont(QStringLiteral("IPAGothic"), 9));
    QPushButton button(QStringLiteral("OK"));
    QVBoxLayout layout(&dialog);
    layout.addWidget(&label);
    layout.addWidget(&button);
    QObject::connect(&button, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.show();
    return app.exec();
}
