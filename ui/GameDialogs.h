#pragma once
// The dialogs of the game window, registered once: those the flow asks for by kind and those
// the window menu opens. The window runs them and builds its menu from this list; the tests
// open and drive every dialog they find in it.

#include "game/IGameView.h"

#include <QKeySequence>

#include <memory>
#include <optional>
#include <span>

class QWidget;
struct QMetaObject;

namespace vostrel {

class CGameApp;

struct GameDialog {
    const char* name;               // what tests call it
    const QMetaObject* type;        // the dialog's class
    std::optional<DialogKind> kind; // the flow's kind; none: opened from the window menu
    const char* menuText;           // its window menu entry, as marked for translation; or none
    QKeySequence::StandardKey shortcut = QKeySequence::UnknownKey;
    // Opens a dialog of the window menu over parent, modal or beside it; none for the flow's.
    void (*run)(CGameApp& app, QWidget* parent) = nullptr;
    // A dialog of its own, not yet shown, as the game would open it now.
    std::unique_ptr<QWidget> (*make)(CGameApp& app) = nullptr;
    // A key of its own, where no standard key fits.
    QKeyCombination key = Qt::Key_unknown;
};

std::span<const GameDialog> GameDialogs();
const GameDialog& GameDialogOf(DialogKind kind);
// A menu entry's text in the player's language.
QString MenuText(const GameDialog& d);

} // namespace vostrel
