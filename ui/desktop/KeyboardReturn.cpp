#include "ui/desktop/KeyboardReturn.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace vostrel {

KeyboardReturn::KeyboardReturn(QWidget* owner) : QObject(owner), owner_(owner) {
    QCoreApplication::instance()->installEventFilter(this);
}

KeyboardReturn::~KeyboardReturn() {
    QCoreApplication::instance()->removeEventFilter(this);
}

void KeyboardReturn::GiveBack() {
    pending_ = false;
    QWidget* next = QApplication::activeModalWidget();
    for (const QPointer<QWidget>& w : under_) {
        if (next == nullptr && w != nullptr && w->isVisible()) {
            next = w;
        }
    }
    under_.clear();
    if (next == nullptr || !next->isVisible() || next->isMinimized()) {
        return;
    }
    if (QGuiApplication::focusWindow() != next->windowHandle()) {
        next->activateWindow();
    }
}

bool KeyboardReturn::eventFilter(QObject* watched, QEvent* e) {
    // A spontaneous hiding is the window manager's (a minimised window), not a closing.
    if (e->type() != QEvent::Hide || e->spontaneous() || !watched->isWidgetType() ||
        owner_ == nullptr) {
        return false;
    }
    auto* w = static_cast<QWidget*>(watched);
    // Only a dialog or box that had the keyboard as it closed; lists and menus are the window
    // system's own business.
    const QWindow* focus = QGuiApplication::focusWindow();
    if (!w->isWindow() || w->windowType() != Qt::Dialog || focus == nullptr ||
        focus != w->windowHandle()) {
        return false;
    }
    under_.clear();
    for (QWidget* p = w->parentWidget(); p != nullptr; p = p->window()->parentWidget()) {
        under_.emplace_back(p->window());
    }
    if (!pending_) {
        pending_ = true;
        // Once the closing is done: a question may end its dialog in the same breath.
        QMetaObject::invokeMethod(
            this, [this] { GiveBack(); }, Qt::QueuedConnection);
    }
    return false;
}

} // namespace vostrel
