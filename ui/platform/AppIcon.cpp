#include "ui/platform/AppIcon.h"

#include <QString>

namespace vostrel {

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/vostrel-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace vostrel
