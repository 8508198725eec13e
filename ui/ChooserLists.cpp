#include "ui/ChooserLists.h"

#include "game/SpokenText.h"
#include "ui/looks/DropDownListStyle.h"
#include "ui/looks/ListRowDelegate.h"
#include "ui/platform/ListKeyGuard.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMouseEvent>
#include <QWindow>

#include <utility>

namespace vostrel {

namespace {

int IndexOf(ChooserKind kind) {
    return static_cast<int>(kind) - static_cast<int>(ChooserPower);
}

ChooserKind KindAt(int k) {
    return static_cast<ChooserKind>(ChooserPower + k);
}

} // namespace

ChooserLists::ChooserLists(QWidget* window, QWidget* back, const QFont& signFont, const QFont& font)
    : QObject(window), window_(window), back_(back), signFont_(signFont), font_(font) {
    style_ = new DropDownListStyle();
    style_->setParent(this);
    for (int k = 0; k < 4; ++k) {
        auto* c = new QComboBox(window);
        // Only its dropped list takes the keyboard: a field with the focus would be read as a
        // combo box named by its item's text ("+", or nothing at all).
        c->setFocusPolicy(Qt::NoFocus);
        // The lists hold the engine's item texts; an item's index is its code.
        for (int32_t i = 0; i < ChooserItems(KindAt(k)); ++i) {
            c->addItem(QString::fromUtf8(ChooserItemText(KindAt(k), i)));
            c->setItemData(i, QString::fromUtf8(ChooserItemWord(KindAt(k), i)),
                           Qt::AccessibleTextRole);
        }
        connect(c, &QComboBox::currentIndexChanged, this, [this](int item) {
            if (!presetting_ && itemChosen_) {
                itemChosen_(item);
            }
        });
        c->setMaxVisibleItems(c->count());
        c->hide();
        lists_[k] = c;
    }
}

void ChooserLists::CreateNamesAndKeyGuard() {
    keyGuard_ = new ListKeyGuard(window_);
    // A key typed before the closing is reported would reach the hidden list's field (Space
    // drops it again, an arrow changes its item) instead of the label that gets the focus back.
    keyGuard_->OnKeyArriving([this] { TakeClosed(); });
    for (int k = 0; k < 4; ++k) {
        auto* name = new QLabel(window_);
        name->hide();
        name->setBuddy(lists_[k]);
        names_[k] = name;
    }
}

QComboBox* ChooserLists::List(ChooserKind kind) const {
    const int k = IndexOf(kind);
    return k >= 0 && k < 4 ? lists_[k] : nullptr;
}

void ChooserLists::Prepare(ChooserKind kind) {
    const int k = IndexOf(kind);
    // The style, fonts and list of a chooser are set up as it first drops: done for all four
    // up front they were a tenth of the work before the window could show.
    if (std::exchange(ready_[k], true)) {
        return;
    }
    QComboBox* c = lists_[k];
    const QFont& font = kind == ChooserSign ? signFont_ : font_;
    c->setStyle(style_);
    c->setFont(font);
    c->resize(40, c->sizeHint().height());
    // The popup's hiding is the one sign that a list closed, whichever way it closed.
    c->view()->window()->installEventFilter(this);
    c->view()->viewport()->installEventFilter(this);
    keyGuard_->Watch(c);
    c->view()->setFont(font);
    c->view()->setAccessibleName(QString::fromStdString(ChooserListName()));
    ListRowDelegate::Install(c);
}

void ChooserLists::Drop(const ListView& list, QPoint at, bool raise, const QString& name) {
    QComboBox* c = List(list.kind);
    Prepare(list.kind);
    c->move(at);
    c->show();
    if (raise) {
        c->raise();
    }
    presetting_ = true;
    c->setCurrentIndex(list.selection);
    presetting_ = false;
    // One list serves several labels: a reader hears which one it is choosing for, as the
    // name of the dropped combo box that holds the list (Qt names a combo box by its item, so
    // a hidden label names it).
    names_[IndexOf(list.kind)]->setText(name);
    open_ = list.kind;
    ++generation_;
    // Opened by a press on a label: the list stays down when that button comes up, as a
    // dropped list does on the original platform.
    swallowRelease_ = (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0;
    // The list alone has the keyboard while it is down; nothing in the window keeps the focus
    // to be read again as the list closes.
    if (QWidget* fw = window_->focusWidget()) {
        fw->clearFocus();
    }
    hasFocus_ = true;
    DropList(c);
}

void ChooserLists::DropList(QComboBox* c) {
    drawn_ = false;
    refused_ = false;
    // A reader keeps the state it first read of an object, and Qt does not tell it that a
    // combo box expanded: one that met the closed list (as a window's contents are read after
    // a message box) would call it collapsed as it drops. The list is a new object to it at
    // each drop, read afresh.
    // The list and what holds it are new too: a reader that kept the list would find it under
    // the combo box it met before, gone, and say nothing of the label it chooses for.
    for (QObject* o : {static_cast<QObject*>(c), static_cast<QObject*>(c->view()->window()),
                       static_cast<QObject*>(c->view())}) {
        if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(o)) {
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
        }
    }
    c->showPopup();
    // Under its field whatever item is current, as the original list drops down; a style or
    // a screen edge must not lay it over the labels above.
    QWidget* list = c->view()->window();
    list->move(c->mapToGlobal(QPoint(0, c->height())));
    // Qt tells the reader that the list has the focus, not which item: the item already chosen
    // is read, and shown, once the list has been.
    QMetaObject::invokeMethod(
        this,
        [c] {
            QAbstractItemView* v = c->view();
            if (v->isVisible() && v->currentIndex().isValid()) {
                QAccessibleEvent ev(v, QAccessible::Focus);
                ev.setChild(v->currentIndex().row());
                QAccessible::updateAccessibility(&ev);
            }
        },
        Qt::QueuedConnection);
}

void ChooserLists::Hide(ChooserKind kind) {
    QComboBox* c = List(kind);
    if (c == nullptr) {
        return;
    }
    if (open_ == kind) {
        open_ = ChooserNone;
    }
    ++generation_;
    const bool ready = ready_[IndexOf(kind)];
    if (ready && c->view()->window()->isVisible()) {
        c->hidePopup();
    }
    // The focus leaves the list for the label that opened it from the keyboard, else for "=";
    // a label hidden under the list takes it once it is shown again.
    // The window's focus child, active or not: a platform may report the window inactive
    // for a moment after a list closes.
    QWidget* fw = window_->focusWidget();
    if (std::exchange(hasFocus_, false) && (fw == nullptr || fw == c)) {
        QWidget* back = focusBack_ != nullptr ? focusBack_.data() : back_;
        if (back->isVisible()) {
            back->setFocus(Qt::OtherFocusReason);
        } else {
            pendingFocus_ = back;
        }
    }
    focusBack_ = nullptr;
    // A closed list's items are neither current nor selected for assistive technology; the
    // next opening selects its item again.
    if (ready) {
        c->view()->selectionModel()->clear();
    }
    c->hide();
}

void ChooserLists::LabelShown(QWidget* label) {
    if (label == pendingFocus_) {
        pendingFocus_ = nullptr;
        (label->isEnabled() ? label : back_)->setFocus(Qt::OtherFocusReason);
    }
}

bool ChooserLists::eventFilter(QObject* watched, QEvent* e) {
    QComboBox* c = List(open_);
    if (e->type() == QEvent::MouseButtonPress) {
        swallowRelease_ = false;
        if (c != nullptr && watched == c->view()->window() &&
            PressOutside(c, *static_cast<QMouseEvent*>(e))) {
            return true;
        }
    } else if (e->type() == QEvent::MouseButtonRelease && swallowRelease_) {
        swallowRelease_ = false;
        return true;
    }
    if (c != nullptr) {
        if (e->type() == QEvent::Paint && watched == c->view()->viewport()) {
            drawn_ = true;
        } else if (e->type() == QEvent::Close && watched == c->view()->window() && !drawn_) {
            // Closed by the platform before the player could see it: the keys typed since
            // it dropped are meant for it, so it drops again.
            refused_ = true;
        } else if (e->type() == QEvent::Hide && watched == c->view()->window()) {
            // The list hides before the combo box takes a clicked item, so the closing is
            // reported once the event that closed it is done.
            const ChooserKind kind = open_;
            const uint32_t generation = generation_;
            QMetaObject::invokeMethod(
                this, [this, kind, generation] { Closed(kind, generation); }, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, e);
}

bool ChooserLists::PressOutside(QComboBox* c, const QMouseEvent& press) {
    QWidget* list = c->view()->window();
    const QPoint global = press.globalPosition().toPoint();
    if (list->rect().contains(list->mapFromGlobal(global))) {
        return false;
    }
    // The press closes the list and then does what it would have done with no list open.
    // Qt would swallow it on some platforms and replay it on others; it is replayed here,
    // once, after the list is taken.
    list->setAttribute(Qt::WA_NoMouseReplay);
    const bool onField = c->rect().contains(c->mapFromGlobal(global));
    if (closed_) {
        closed_();
    }
    QWindow* win = window_->windowHandle();
    if (onField || press.button() != Qt::LeftButton || win == nullptr) {
        return true; // a press on the list's own field only closes it
    }
    const QPointF local = win->mapFromGlobal(global);
    if (!QRectF(QPointF(0, 0), win->size()).contains(local)) {
        return true;
    }
    QMouseEvent replay(QEvent::MouseButtonPress, local, local, press.globalPosition(),
                       press.button(), press.buttons(), press.modifiers(), press.pointingDevice());
    QCoreApplication::sendEvent(win, &replay);
    return true;
}

void ChooserLists::Closed(ChooserKind kind, uint32_t generation) {
    if (open_ != kind || generation != generation_) {
        return;
    }
    QComboBox* c = List(kind);
    if (c->view()->window()->isVisible()) {
        return; // opened again meanwhile
    }
    if (refused_) {
        // The item the player had moved to before it closed stays the current one.
        if (const int row = c->view()->currentIndex().row(); row >= 0) {
            c->setCurrentIndex(row);
        }
        DropList(c);
        return;
    }
    open_ = ChooserNone;
    if (closed_) {
        closed_();
    }
}

void ChooserLists::TakeClosed() {
    if (const QComboBox* c = List(open_); c != nullptr && !c->view()->window()->isVisible()) {
        Closed(open_, generation_);
    }
}

} // namespace vostrel
