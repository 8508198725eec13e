#include "ui/FocusSpeech.h"

#include "game/SpokenText.h"

#include <QAccessibleObject>
#include <QApplication>
#include <QCoreApplication>
#include <QFocusEvent>
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

QString Joined(const QStringList& sentences) {
    std::string text;
    for (const QString& s : sentences) {
        text = JoinedSpeech(text, s.toStdString());
    }
    return QString::fromStdString(text);
}

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
    if (pending_.isEmpty()) {
        QMetaObject::invokeMethod(this, &FocusSpeech::Deliver, Qt::QueuedConnection);
    }
    pending_.append(text);
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
        Notify(Joined(std::exchange(pending_, {})));
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
    QStringList sentences = std::exchange(pending_, {});
    // The reader says the name anyway: said again in the description, it would be heard twice.
    const QString name = control->accessibleName();
    sentences.removeIf([&name](const QString& s) { return name.contains(s); });
    if (control != holder_) {
        Withdraw();
    }
    holder_ = control;
    control->setAccessibleDescription(Joined(sentences));
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
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        if (reason == Qt::PopupFocusReason && w != nullptr && w == underPopup_) {
            QAccessibleEvent back(w, QAccessible::Focus);
            QAccessible::updateAccessibility(&back);
        }
        underPopup_ = nullptr;
    } else if (e->type() == QEvent::FocusOut) {
        // Still the focus widget as a popup opens: the popup took no focus of its own.
        auto* w = qobject_cast<QWidget*>(watched);
        underPopup_ = static_cast<QFocusEvent*>(e)->reason() == Qt::PopupFocusReason &&
                              w != nullptr && w == QApplication::focusWidget()
                          ? w
                          : nullptr;
        if (watched == holder_) {
            Withdraw();
        }
    }
    return QObject::eventFilter(watched, e);
}

} // namespace vostrel
