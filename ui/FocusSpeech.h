#pragma once
// Says a sentence to a screen reader without moving the focus. With Orca 43 and Qt 6.4 two ways
// reach the player: the accessible description of a control as it takes the focus is read with
// it, and an object of role Notification that appears is spoken wherever the focus is. A change
// of a description or a name is not: Qt 6.4 reports it without the new text, and Orca then has
// nothing to speak; nor has Qt 6.4 an announcement event.
// So, once the current event is done, the sentence goes
// - to the description of the watched control that takes the focus before then, or took it
//   moments before (the program answers no reader before the current event is done, so the
//   reader asks it what it is after the sentence is in place), or that has the focus of a
//   window that is not active (read when the window is active again): said with the control's
//   name, once, leaving out a sentence that the name already says; the description is gone
//   when the focus leaves, so the control reads as before when the player comes back to it;
// - otherwise, the control having been read already, to a notification that appears, outside
//   every window so that the reader says no window's name before it.
// A popup that takes no focus of its own (a menu) leaves the focus where it was, and Qt tells
// the reader nothing as it closes: the reader would stay on the popup's last entry, and meet
// that entry again in silence at the next opening. The watched control that has the focus
// then tells the reader it has it again.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
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

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Deliver();
    void Place(QWidget* control);
    void Withdraw();
    void Notify(const QString& text);

    QWidget* window_;
    QObject* note_;
    // The sentences to say, in order.
    QStringList pending_;
    // The control whose description holds the last sentence.
    QPointer<QWidget> holder_;
    // The control that took the focus moments ago: the reader has yet to ask it what it is.
    QPointer<QWidget> arrived_;
    // The control that kept the focus under a popup that took none.
    QPointer<QWidget> underPopup_;
    QTimer arrival_;
};

} // namespace vostrel
