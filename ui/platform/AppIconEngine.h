#pragma once
// The application icon's sizes, each read from the resources when asked for and not kept: the
// decoded images of every size would stay in memory for the whole run, while a window asks for
// them only as it is made.

#include <QIconEngine>

namespace vostrel {

class AppIconEngine : public QIconEngine {
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;
};

} // namespace vostrel
