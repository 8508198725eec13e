#pragma once
// The drop-down lists of the game window, one per kind of choice, each dropped in place of a
// label. They report the item the player takes and their closing, however the platform closes
// them (a click, a key, a press outside, a compositor that refuses a list), and give the
// keyboard back to the label that opened them or to "=".

#include "game/Screen.h"

#include <QFont>
#include <QObject>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>

class QComboBox;
class QLabel;
class QMouseEvent;
class QWidget;

namespace vostrel {

class DropDownListStyle;
class ListKeyGuard;

class ChooserLists : public QObject {
    Q_OBJECT
public:
    // The lists are children of window; `back` takes the keyboard when no label does.
    ChooserLists(QWidget* window, QWidget* back, const QFont& signFont, const QFont& font);
    // The hidden labels that name the lists for a reader, and the guard of the keys that close
    // them; made once the window's labels are (they follow them among its children).
    void CreateNamesAndKeyGuard();

    void OnItemChosen(std::function<void(int32_t)> f) { itemChosen_ = std::move(f); }
    void OnClosed(std::function<void()> f) { closed_ = std::move(f); }

    QComboBox* List(ChooserKind kind) const;
    // The label that had the keyboard as its list was asked for; it gets the keyboard back.
    void SetFocusBack(QWidget* label) { focusBack_ = label; }
    bool IsOpen() const { return open_ != ChooserNone; }
    // Drops list.kind's list at `at` in the window, above the labels around it when `raise`,
    // on list.selection, named for a reader after the label it chooses for.
    void Drop(const ListView& list, QPoint at, bool raise, const QString& name);
    // Hides kind's list; no closing is reported for it.
    void Hide(ChooserKind kind);
    // A label shown again that waits for the keyboard takes it.
    void LabelShown(QWidget* label);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The list of kind as it drops for the first time.
    void Prepare(ChooserKind kind);
    // Shows c's list under its field.
    void DropList(QComboBox* c);
    void Closed(ChooserKind kind, uint32_t generation);
    // A list that has closed but is not yet taken is taken now.
    void TakeClosed();
    // A press outside the open list c: true when it was taken here (the list committed and the
    // press handed on to what lies under it).
    bool PressOutside(QComboBox* c, const QMouseEvent& press);

    QWidget* window_;
    QWidget* back_;
    QFont signFont_;
    QFont font_;
    std::array<QComboBox*, 4> lists_{};
    std::array<QLabel*, 4> names_{}; // hidden; what a reader calls each list
    std::array<bool, 4> ready_{};
    DropDownListStyle* style_ = nullptr;
    ListKeyGuard* keyGuard_ = nullptr;
    std::function<void(int32_t)> itemChosen_;
    std::function<void()> closed_;

    // The list the player may close, and a count that tells one opening of a list from the
    // next.
    ChooserKind open_ = ChooserNone;
    uint32_t generation_ = 0;
    // The list's item is being set to the one the flow presets, which is no choice.
    bool presetting_ = false;
    // The release of the press that opened the list is still to come.
    bool swallowRelease_ = false;
    // The open list has been drawn; one that the platform closes before that was refused
    // (a Wayland compositor refuses a list whose opening key is no longer the latest).
    bool drawn_ = false;
    bool refused_ = false;
    // A list was dropped and holds the keyboard until the window takes it back; the label it
    // goes back to, and one hidden under its own list that waits to be shown again.
    bool hasFocus_ = false;
    QPointer<QWidget> focusBack_;
    QPointer<QWidget> pendingFocus_;
};

} // namespace vostrel
