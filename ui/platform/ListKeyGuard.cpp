#include "ui/platform/ListKeyGuard.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWindow>

#include <algorithm>

namespace vostrel {

ListKeyGuard::ListKeyGuard(QWidget* owner) : QObject(owner), owner_(owner) {
    QCoreApplication::instance()->installEventFilter(this);
}

ListKeyGuard::~ListKeyGuard() {
    QCoreApplication::instance()->removeEventFilter(this);
}

void ListKeyGuard::Watch(QComboBox* chooser) {
    lists_.push_back(chooser->view()->window());
}

bool ListKeyGuard::AnyListShown() const {
    return std::any_of(lists_.begin(), lists_.end(),
                       [](const QPointer<QWidget>& l) { return l != nullptr && l->isVisible(); });
}

bool ListKeyGuard::Redirect(QObject* watched, const QKeyEvent& e) {
    if (!watched->isWindowType() || owner_ == nullptr ||
        owner_->window()->windowHandle() == nullptr) {
        return false;
    }
    const bool closedList = std::any_of(lists_.begin(), lists_.end(), [watched](const auto& l) {
        return l != nullptr && !l->isVisible() && l->windowHandle() == watched;
    });
    if (!closedList) {
        return false;
    }
    QKeyEvent copy(e.type(), e.key(), e.modifiers(), e.nativeScanCode(), e.nativeVirtualKey(),
                   e.nativeModifiers(), e.text(), e.isAutoRepeat(), e.count(), e.device());
    QCoreApplication::sendEvent(owner_->window()->windowHandle(), &copy);
    return true;
}

bool ListKeyGuard::IsList(const QObject* watched) const {
    return std::any_of(lists_.begin(), lists_.end(),
                       [watched](const auto& l) { return l.data() == watched; });
}

bool ListKeyGuard::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (Redirect(watched, *static_cast<QKeyEvent*>(e))) {
            return true;
        }
        break;
    default:
        break;
    }
    switch (e->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (closingKey_ != 0) {
            if (key == closingKey_) {
                // The override check of the closing press itself is harmless; the press is not.
                return e->type() == QEvent::KeyPress;
            }
            closingKey_ = 0;
        }
        // A key comes to a window first; the widgets it passes on to come after.
        if (watched->isWindowType() && keyArriving_) {
            keyArriving_();
        }
        if (AnyListShown()) {
            // Whatever this press does is done before queued calls run; presses that come
            // together in one batch each take the place of the one before.
            keyInList_ = key;
            QMetaObject::invokeMethod(
                this, [this] { keyInList_ = 0; }, Qt::QueuedConnection);
        }
        break;
    }
    case QEvent::KeyRelease:
        if (closingKey_ != 0 && static_cast<QKeyEvent*>(e)->key() == closingKey_) {
            if (!static_cast<QKeyEvent*>(e)->isAutoRepeat()) {
                closingKey_ = 0;
            }
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
        closingKey_ = 0;
        break;
    case QEvent::Close:
        // A list that the platform closes was not closed by the key being handled.
        if (IsList(watched)) {
            keyInList_ = 0;
        }
        break;
    case QEvent::Hide:
        if (keyInList_ != 0 && IsList(watched)) {
            closingKey_ = keyInList_;
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace vostrel
