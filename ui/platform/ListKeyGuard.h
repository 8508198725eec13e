#pragma once
// Keeps a key that closed a dropped list from reaching anything else. On Wayland the keyboard
// stays with the main window while a list is down: the list takes Return or Esc as the
// window's shortcut check offers it to the list, and the same key press then comes to the
// window, where Return presses the default button and Esc rejects the dialog.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

class QComboBox;

namespace vostrel {

class ListKeyGuard : public QObject {
    Q_OBJECT
public:
    // Sees every event of the application while it lives.
    explicit ListKeyGuard(QObject* parent);
    ~ListKeyGuard() override;

    void Watch(QComboBox* chooser);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool AnyListShown() const;

    std::vector<QPointer<QWidget>> lists_; // the popup windows, owned by their choosers
    // The key whose press is being handled while a list is down.
    int keyInList_ = 0;
    // The key that closed a list: its press and release go no further until it is let go.
    int closingKey_ = 0;
};

} // namespace vostrel
