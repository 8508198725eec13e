#include "ui/ApplicationAccessible.h"

#include "app/Version.h"

#include <QCoreApplication>

namespace vostrel {
namespace {

QAccessibleInterface* Factory(const QString& /*className*/, QObject* object) {
    if (object != nullptr && object == QCoreApplication::instance()) {
        return new ApplicationAccessible();
    }
    return nullptr;
}

} // namespace

void ApplicationAccessible::Install() {
    QAccessible::installFactory(Factory);
}

QString ApplicationAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) {
        return QString::fromLatin1(kProductName);
    }
    return QAccessibleApplication::text(t);
}

} // namespace vostrel
