#include "ui/platform/HeldKeyGuard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>

namespace vostrel {

HeldKeyGuard::HeldKeyGuard(QAbstractButton* button) : QObject(button), button_(button) {
    QCoreApplication::instance()->installEventFilter(this);
}

HeldKeyGuard::~HeldKeyGuard() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool HeldKeyGuard::PressesButton(const QObject* watched, const QKeyEvent& e) const {
    const auto* w = qobject_cast<const QWidget*>(watched);
    if (button_ == nullptr || w == nullptr || w->window() != button_->window()) {
        return false;
    }
    // Its shortcut, whatever else the layout needs Shift for.
    const QKeySequence mnemonic = button_->shortcut();
    const Qt::KeyboardModifiers mods = e.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (!mnemonic.isEmpty() && mnemonic[0].key() == e.key() &&
        mnemonic[0].keyboardModifiers() == mods) {
        return true;
    }
    if (QApplication::focusWidget() != button_ || e.modifiers() != Qt::NoModifier) {
        return false;
    }
    switch (e.key()) {
    case Qt::Key_Space:
    case Qt::Key_Select:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return false;
    }
}

bool HeldKeyGuard::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyRelease: {
        const auto* k = static_cast<QKeyEvent*>(e);
        releasedKey_ = k->nativeScanCode();
        releasedAt_ = k->timestamp();
        break;
    }
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        const auto* k = static_cast<QKeyEvent*>(e);
        // Keys made up inside the program have no key code of the keyboard's, and keys passed
        // on by an input method no stamp: such keys may share a stamp without repeating.
        const bool repeat = k->isAutoRepeat() ||
                            (k->nativeScanCode() != 0 && releasedAt_ != 0 &&
                             k->nativeScanCode() == releasedKey_ && k->timestamp() == releasedAt_);
        if (repeat && PressesButton(watched, *k)) {
            // An accepted override keeps the shortcut from firing; the press then goes to the
            // widget with the focus, and no further.
            e->accept();
            return e->type() == QEvent::KeyPress;
        }
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace vostrel
