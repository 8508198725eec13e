#pragma once
// Gives the keyboard back to the window under a dialog or message box as it closes. A window
// manager is left to choose where the keyboard goes: openbox may hand it to the box's parent
// dialog as that closes too (a question that ends its dialog), and then to nothing; a player
// without a mouse would be left stranded. Only a player who was in the closing window gets the
// keyboard back, never one who has gone to another program meanwhile.

#include <QObject>
#include <QPointer>

#include <vector>

class QWidget;

namespace vostrel {

class KeyboardReturn : public QObject {
    Q_OBJECT
public:
    // Sees the application's windows while it lives; owner's window is the last to go back to.
    explicit KeyboardReturn(QWidget* owner);
    ~KeyboardReturn() override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void GiveBack();

    QPointer<QWidget> owner_;
    // A return is on its way, for a window that closed with the keyboard: the windows under
    // it, nearest first (a box's dialog may close with it).
    bool pending_ = false;
    std::vector<QPointer<QWidget>> under_;
};

} // namespace vostrel
