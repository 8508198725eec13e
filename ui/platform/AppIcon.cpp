#include "ui/platform/AppIcon.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QString>

namespace vostrel {

QIcon AppIcon() {
    // Made once: the game window and the boxes share the application's.
    QIcon icon = QGuiApplication::windowIcon();
    if (!icon.isNull()) {
        return icon;
    }
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        // The format named, not guessed: a reader that guesses first asks every image-format
        // plugin, loading each with its libraries, before it takes the built-in PNG reader.
        QImageReader reader(QStringLiteral(":/icons/vostrel-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace vostrel
