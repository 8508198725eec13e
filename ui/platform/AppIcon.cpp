#include "ui/platform/AppIcon.h"

#include "ui/platform/AppIconEngine.h"

#include <QGuiApplication>

namespace vostrel {

QIcon AppIcon() {
    // Made once: the game window and the boxes share the application's.
    QIcon icon = QGuiApplication::windowIcon();
    if (!icon.isNull()) {
        return icon;
    }
    return QIcon(new AppIconEngine);
}

} // namespace vostrel
