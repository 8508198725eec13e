#pragma once
// Keeps a key that closed a dropped list from reaching anything else. On Wayland the keyboard
// stays with the main window while a list is down: the list takes Return or Esc as the
// window's shortcut check offers it to the list, and the same key press then comes to the
// window, where Return presses the default button and Esc rejects the dialog.
// A list that closed is taken by its owner a moment later; keys typed quickly may come first,
// and the owner is told before each new key goes anywhere, so it can take the list at once.
// On X11 a list's window may be told it has the keyboard after it has closed; keys sent to a
// closed list go to the owner's window instead.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class QComboBox;

namespace vostrel {

class ListKeyGuard : public QObject {
    Q_OBJECT
public:
    // Sees every event of the application while it lives; owner's window takes the keys
    // that come to a closed list.
    explicit ListKeyGuard(QWidget* owner);
    ~ListKeyGuard() override;

    void Watch(QComboBox* chooser);
    // Called as each new key press reaches the application, before it reaches any widget.
    void OnKeyArriving(std::function<void()> f) { keyArriving_ = std::move(f); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool AnyListShown() const;
    bool IsList(const QObject* watched) const;
    // Sends a key that came to a closed list's window to the owner's window; false if none.
    bool Redirect(QObject* watched, const QKeyEvent& e);

    QPointer<QWidget> owner_;
    std::function<void()> keyArriving_;
    std::vector<QPointer<QWidget>> lists_; // the popup windows, owned by their choosers
    // The key whose press is being handled while a list is down.
    int keyInList_ = 0;
    // The key that closed a list: its press and release go no further until it is let go.
    int closingKey_ = 0;
};

} // namespace vostrel
