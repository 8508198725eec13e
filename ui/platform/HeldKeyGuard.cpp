#include "ui/platform/HeldKeyGuard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWindow>

namespace vostrel {

namespace {

// Milliseconds: the longest wait of a platform before it repeats a held key, and more.
constexpr quint64 kRepeatWithin = 1000;

} // namespace

HeldKeyGuard::HeldKeyGuard(QAbstractButton* button) : QObject(button), button_(button) {
    QCoreApplication::instance()->installEventFilter(this);
}

HeldKeyGuard::~HeldKeyGuard() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool HeldKeyGuard::PressesButton(const QObject* watched, const QKeyEvent& e) const {
    if (button_ == nullptr) {
        return false;
    }
    // The platform's keys come to the window first, and a reader's bridge takes them there.
    const auto* w = qobject_cast<const QWidget*>(watched);
    if (const auto* win = qobject_cast<const QWindow*>(watched);
        win != nullptr && win == button_->window()->windowHandle()) {
        w = button_->window();
    }
    if (w == nullptr || w->window() != button_->window()) {
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

bool HeldKeyGuard::Repeats(const QKeyEvent& e) const {
    // Keys made up inside the program have no key code of the keyboard's, and keys passed on by
    // an input method or a reader's bridge no stamp: such keys may share a stamp without
    // repeating.
    const quint32 code = e.nativeScanCode();
    const quint64 at = e.timestamp();
    if (e.isAutoRepeat()) {
        return true;
    }
    if (code == 0 || at == 0) {
        return false;
    }
    if (code == releasedKey_ && at == releasedAt_) {
        return true;
    }
    if (code == downKey_ && at == downAt_) {
        return downRepeats_; // the same press, to another receiver or as its override check
    }
    // A release lost to another window must not hold the key for ever: a platform repeats
    // within its delay, well under a second.
    return code == downKey_ && at > downAt_ && at - downAt_ < kRepeatWithin;
}

bool HeldKeyGuard::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::KeyRelease && e->type() != QEvent::KeyPress &&
        e->type() != QEvent::ShortcutOverride) {
        return false;
    }
    const auto* k = static_cast<QKeyEvent*>(e);
    const bool copy = !e->spontaneous() && k->timestamp() == 0 && k->nativeScanCode() != 0;
    if (copy && e->type() != QEvent::ShortcutOverride) {
        // Another filter took the platform's key and sent this on: this guard goes first from
        // now on (installing again puts a filter in front).
        QCoreApplication::instance()->installEventFilter(this);
    }
    if (e->type() == QEvent::KeyRelease) {
        if (k->nativeScanCode() == downKey_) {
            downKey_ = 0;
        }
        if (!copy) {
            releasedKey_ = k->nativeScanCode();
            releasedAt_ = k->timestamp();
        }
        return false;
    }
    const bool repeat = Repeats(*k);
    if (k->timestamp() != 0 && k->nativeScanCode() != 0) {
        downKey_ = k->nativeScanCode();
        downAt_ = k->timestamp();
        downRepeats_ = repeat;
    }
    if (repeat && PressesButton(watched, *k)) {
        // An accepted override keeps the shortcut from firing; the press then goes to the
        // widget with the focus, and no further.
        e->accept();
        return e->type() == QEvent::KeyPress;
    }
    return false;
}

} // namespace vostrel
