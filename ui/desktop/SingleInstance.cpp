#include "ui/desktop/SingleInstance.h"

#include "app/GuardFolder.h"
#include "app/PosixFileSystemView.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace vostrel {

namespace {

// How long a later start waits for the running game, which may still be starting or ending,
// before it tells the player it cannot reach it.
constexpr int kWaitMs = 2000;
// After this, a window that the window manager did not activate asks for attention instead.
constexpr int kActivationMs = 500;

std::string FolderOrWarn(const std::string& settingsPath) {
    if (settingsPath.empty()) {
        return {};
    }
    std::string folder = GuardFolder(PosixFileSystemView());
    if (folder.empty()) {
        std::fprintf(stderr, "vostrel: no private folder for the one-game socket\n");
    }
    return folder;
}

// The window the player sees: a message box or dialog over the game, else the game.
QWidget* FrontWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !(w->windowFlags() & Qt::Popup) && !w->parentWidget()) {
            return w;
        }
    }
    return nullptr;
}

void BringForward() {
    QWidget* front = FrontWindow();
    if (front == nullptr) {
        return;
    }
    // A dialog over a minimised game window brings the game back with it.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->isMinimized()) {
            w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        }
    }
    front->raise();
    front->activateWindow();
    QTimer::singleShot(kActivationMs, front, [front] {
        if (!front->isActiveWindow()) {
            QApplication::alert(front);
        }
    });
}

} // namespace

SingleInstance::SingleInstance(const std::string& settingsPath)
    : guard_(settingsPath, FolderOrWarn(settingsPath), kWaitMs) {
    Watch();
}

SingleInstance::SingleInstance(const std::string& settingsPath, const std::string& folder,
                               int waitMs)
    : guard_(settingsPath, folder, waitMs) {
    Watch();
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::Watch() {
    if (guard_.ListenFd() < 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(guard_.ListenFd(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { guard_.Answer(BringForward); });
}

} // namespace vostrel
