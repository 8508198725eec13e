#include "ui/platform/AppIconEngine.h"

#include <QImageReader>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <iterator>

namespace vostrel {

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The smallest size that covers the request, else the largest.
int SizeFor(const QSize& request) {
    const int wanted = std::max(request.width(), request.height());
    for (int s : kSizes) {
        if (s >= wanted) {
            return s;
        }
    }
    return kSizes[std::size(kSizes) - 1];
}

} // namespace

QPixmap AppIconEngine::pixmap(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) {
    if (size.isEmpty()) {
        return {};
    }
    const int side = SizeFor(size);
    // The format named, not guessed: a reader that guesses first asks every image-format
    // plugin, loading each with its libraries, before it takes the built-in PNG reader.
    QImageReader reader(QStringLiteral(":/icons/vostrel-%1.png").arg(side), "png");
    reader.setAutoDetectImageFormat(false);
    QPixmap pm = QPixmap::fromImage(reader.read());
    if (side > size.width() || side > size.height()) {
        pm = pm.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return pm;
}

void AppIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                          QIcon::State state) {
    const qreal dpr = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1;
    QPixmap pm = pixmap(rect.size() * dpr, mode, state);
    pm.setDevicePixelRatio(dpr);
    painter->drawPixmap(rect, pm);
}

QSize AppIconEngine::actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) {
    const int side = SizeFor(size);
    return QSize(side, side).scaled(size, Qt::KeepAspectRatio).boundedTo(QSize(side, side));
}

QList<QSize> AppIconEngine::availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) {
    QList<QSize> sizes;
    for (int s : kSizes) {
        sizes.append(QSize(s, s));
    }
    return sizes;
}

QIconEngine* AppIconEngine::clone() const {
    return new AppIconEngine;
}

QString AppIconEngine::key() const {
    return QStringLiteral("vostrel-app");
}

} // namespace vostrel
