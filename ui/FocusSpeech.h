#pragma once
// Says a sentence to a screen reader without moving the focus. Orca 43 speaks the accessible
// description of the object that takes the focus and every change of that description while
// the object keeps the focus, but no change of a label that lacks the focus, and Qt 6.4 has no
// announcement event. So the sentence becomes the description of the watched control that has
// the focus once the current event is done:
// - a control that takes the focus before then gets it as the focus arrives, and the reader says
//   it with the control's name, once;
// - so does a control that took it moments before (the reader has not yet asked it what it is:
//   the program answers no reader before the current event is done);
// - a window that is not active keeps it on its focus control until it is active again.
// A control that has had the focus for a while has been read already: the sentence is shown to
// the reader as a notification (Qt 6.4 reports a description change without the new text, which
// Orca cannot speak), and Orca speaks a notification as it appears, wherever the focus is.
// The description is the sentence's only for as long as the control keeps the focus: it is gone
// when the focus leaves, so the control reads as before when the player comes back to it.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QWidget;

namespace vostrel {

class FocusSpeech : public QObject {
public:
    // Speaks through the controls of window that Watch is given.
    explicit FocusSpeech(QWidget* window);

    // A control that may hold the focus when there is something to say.
    void Watch(QWidget* control);

    // Said once, after the current event; a second sentence before then follows the first.
    void Say(const QString& text);

    // The sentence that the control holds as its description now; empty for none.
    QString Holding(const QWidget* control) const;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Deliver();
    void Place(QWidget* control);
    void Withdraw();
    void Notify(const QString& text);

    QWidget* window_;
    QObject* note_;
    QString pending_;
    QString spoken_;
    QPointer<QWidget> holder_;
    // The control that took the focus moments ago: the reader has yet to ask it what it is.
    QPointer<QWidget> arrived_;
    QTimer arrival_;
};

} // namespace vostrel
