#include "ui/FocusSpeech.h"

#include "game/SpokenText.h"

#include <QAccessibleObject>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <utility>

namespace vostrel {

namespace {

const QLatin1String kNoteName("vostrelSpokenNote");
const QLatin1String kNoteTextName("vostrelSpokenNoteText");
constexpr const char* kTextProperty = "vostrelSpokenText";

// What a reader meets of a spoken note: a notification outside every window, whose appearance
// Orca speaks wherever the focus is, without the window's name before it. The sentence stands
// in a label inside it, as in a desktop's notification: Orca puts the labels of a
// notification, not its name, on the braille display.
class NoteAccessible : public QAccessibleObject {
public:
    explicit NoteAccessible(QObject* note) : QAccessibleObject(note) {}
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(QCoreApplication::instance());
    }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(TextObject()) : nullptr;
    }
    int childCount() const override { return TextObject() != nullptr ? 1 : 0; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == TextObject() ? 0 : -1;
    }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }
    QString text(QAccessible::Text /*t*/) const override { return {}; }

private:
    QObject* TextObject() const {
        return object()->findChild<QObject*>(kNoteTextName, Qt::FindDirectChildrenOnly);
    }
};

class NoteTextAccessible : public QAccessibleObject {
public:
    explicit NoteTextAccessible(QObject* text) : QAccessibleObject(text) {}
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        return s;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? object()->parent()->property(kTextProperty).toString()
                                      : QString();
    }
};

QAccessibleInterface* NoteFactory(const QString& /*className*/, QObject* object) {
    if (object == nullptr) {
        return nullptr;
    }
    if (object->objectName() == kNoteName) {
        return new NoteAccessible(object);
    }
    if (object->objectName() == kNoteTextName) {
        return new NoteTextAccessible(object);
    }
    return nullptr;
}

} // namespace

FocusSpeech::FocusSpeech(QWidget* window)
    : QObject(window), window_(window), note_(new QObject(this)) {
    static const bool installed = [] {
        QAccessible::installFactory(NoteFactory);
        return true;
    }();
    (void)installed;
    note_->setObjectName(kNoteName);
    (new QObject(note_))->setObjectName(kNoteTextName);
    // Long enough for the rest of the event that moved the focus, far shorter than a reader
    // takes to answer a focus event.
    arrival_.setSingleShot(true);
    arrival_.setInterval(100);
    connect(&arrival_, &QTimer::timeout, this, [this] { arrived_ = nullptr; });
}

void FocusSpeech::Watch(QWidget* control) {
    control->installEventFilter(this);
}

void FocusSpeech::Say(const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    const bool queued = !pending_.isEmpty();
    pending_ =
        queued ? QString::fromStdString(JoinedSpeech(pending_.toStdString(), text.toStdString()))
               : text;
    if (!queued) {
        QMetaObject::invokeMethod(this, &FocusSpeech::Deliver, Qt::QueuedConnection);
    }
}

void FocusSpeech::Deliver() {
    if (pending_.isEmpty()) {
        return;
    }
    QWidget* focus = window_->focusWidget();
    if (focus == nullptr) {
        pending_.clear();
        return;
    }
    if (focus->hasFocus() && focus != arrived_) {
        Notify(std::exchange(pending_, QString()));
        return;
    }
    Place(focus);
}

void FocusSpeech::Notify(const QString& text) {
    note_->setProperty(kTextProperty, text);
    QAccessibleEvent shown(note_, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void FocusSpeech::Place(QWidget* control) {
    const QString text = std::exchange(pending_, QString());
    if (control != holder_) {
        Withdraw();
    }
    holder_ = control;
    control->setAccessibleDescription(text);
}

void FocusSpeech::Withdraw() {
    if (QWidget* old = holder_) {
        holder_ = nullptr;
        old->setAccessibleDescription(QString());
    }
}

bool FocusSpeech::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusIn) {
        auto* w = qobject_cast<QWidget*>(watched);
        arrived_ = w;
        arrival_.start();
        if (w != nullptr && !pending_.isEmpty()) {
            // Before Qt reports the focus to the reader: the reader says it with the control.
            Place(w);
        }
    } else if (e->type() == QEvent::FocusOut && watched == holder_) {
        Withdraw();
    }
    return QObject::eventFilter(watched, e);
}

} // namespace vostrel
