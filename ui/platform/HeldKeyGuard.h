#pragma once
// Lets a held key press a button once. The platform repeats a held key as release and press
// pairs, and a button clicks on each press of Return or a shortcut and on each release of
// Space; X11 tells a repeat by finding its press already queued behind the release, which a
// busy machine may not have read yet, so repeats can come as new presses. A pair from one
// repeat carries one time stamp: a press stamped as the release before it is a repeat too.

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

    QPointer<QAbstractButton> button_;
    // The keyboard's code of the last key let go, and when.
    quint32 releasedKey_ = 0;
    quint64 releasedAt_ = 0;
};

} // namespace vostrel
