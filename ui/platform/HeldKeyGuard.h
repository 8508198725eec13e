#pragma once
// Lets a held key press a button once. The platform repeats a held key as release and press
// pairs, and a button clicks on each press of Return or a shortcut and on each release of
// Space; X11 tells a repeat by finding its press already queued behind the release, which a
// busy machine may not have read yet, so repeats can come as new presses. A pair from one
// repeat carries one time stamp: a press stamped as the release before it is a repeat too, and
// so is a press of a key that is still down (a platform that repeats presses alone).
// A screen reader's bridge in Qt takes each key the platform sends, asks the reader, and then
// sends on a copy without a time stamp, the release of a pair after its press: the guard moves
// in front of such a filter as soon as it meets a copy, and keeps to the platform's own keys.

#include <QObject>
#include <QPointer>

class QAbstractButton;
class QKeyEvent;

namespace vostrel {

class HeldKeyGuard : public QObject {
    Q_OBJECT
public:
    // Sees every key event of the application while it lives; guards button's keys (Space,
    // Return, Enter and Select with the focus on it, its shortcut anywhere in its window).
    explicit HeldKeyGuard(QAbstractButton* button);
    ~HeldKeyGuard() override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The press would press the button.
    bool PressesButton(const QObject* watched, const QKeyEvent& e) const;
    // The press repeats a key that has not been let go.
    bool Repeats(const QKeyEvent& e) const;

    QPointer<QAbstractButton> button_;
    // The keyboard's code of the last key let go, and when.
    quint32 releasedKey_ = 0;
    quint64 releasedAt_ = 0;
    // The keyboard's code of the last key pressed and not let go since, and when.
    quint32 downKey_ = 0;
    quint64 downAt_ = 0;
    bool downRepeats_ = false; // that press repeated the one before
};

} // namespace vostrel
