#include "ui/platform/MessageBoxes.h"

#include "app/WinConstants.h"
#include "game/SpokenText.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QPushButton>
#include <QVariant>

#include <utility>

namespace vostrel {

namespace {

const char* const kResultProperty = "vostrelResult";

MessageBoxResponder& Responder() {
    static MessageBoxResponder responder;
    return responder;
}

QMessageBox::Icon IconOf(uint32_t style) {
    switch (style & MB_ICONMASK) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QPushButton* AddButton(QMessageBox& box, const QString& text, QMessageBox::ButtonRole role,
                       int32_t result) {
    QPushButton* b = box.addButton(text, role);
    b->setProperty(kResultProperty, result);
    return b;
}

} // namespace

MessageBoxResponder SetMessageBoxResponder(MessageBoxResponder responder) {
    return std::exchange(Responder(), std::move(responder));
}

std::unique_ptr<QMessageBox> BuildMessageBox(QWidget* owner, const std::string& text,
                                             const std::string& caption, uint32_t style) {
    auto box = std::make_unique<QMessageBox>(owner);
    box->setWindowTitle(QString::fromStdString(caption));
    box->setTextFormat(Qt::PlainText);
    box->setText(QString::fromStdString(text));
    // Named by its title and its text: Orca shows an alert's name, not its text, on the
    // braille display, and speaks the name before the text that the name does not hold.
    box->setAccessibleName(QString::fromStdString(JoinedSpeech(caption, text)));
    box->setIcon(IconOf(style));
    if ((style & MB_TYPEMASK) == MB_YESNO) {
        //: Button of every yes-or-no question. Keep the letter Y.
        QPushButton* yes = AddButton(*box, QCoreApplication::translate("MessageBoxes", "はい(&Y)"),
                                     QMessageBox::YesRole, IDYES);
        //: Button of every yes-or-no question. Keep the letter N.
        QPushButton* no = AddButton(*box, QCoreApplication::translate("MessageBoxes", "いいえ(&N)"),
                                    QMessageBox::NoRole, IDNO);
        box->setDefaultButton((style & MB_DEFMASK) == MB_DEFBUTTON2 ? no : yes);
        // Closing the box without an answer is a No: nothing goes ahead without a Yes.
        box->setEscapeButton(no);
    } else {
        QPushButton* ok = AddButton(*box, QStringLiteral("OK"), QMessageBox::AcceptRole, IDOK);
        box->setDefaultButton(ok);
        box->setEscapeButton(ok);
    }
    return box;
}

int32_t MessageBoxResultOf(const QAbstractButton* button) {
    if (button == nullptr) {
        return IDOK;
    }
    const QVariant v = button->property(kResultProperty);
    return v.isValid() ? v.toInt() : IDOK;
}

int32_t ShowMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                       uint32_t style) {
    if (Responder()) {
        return Responder()(owner, text, caption, style);
    }
    std::unique_ptr<QMessageBox> box = BuildMessageBox(owner, text, caption, style);
    box->exec();
    const int32_t result = MessageBoxResultOf(box->clickedButton());
    // A Yes/No box closed some other way counts as No.
    if ((style & MB_TYPEMASK) == MB_YESNO && box->clickedButton() == nullptr) {
        return IDNO;
    }
    return result;
}

} // namespace vostrel
