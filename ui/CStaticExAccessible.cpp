#include "ui/CStaticExAccessible.h"

#include "ui/IAccessibleLabel.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vostrel {

namespace {

QAccessibleInterface* Factory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    auto* label = dynamic_cast<IAccessibleLabel*>(widget);
    return label != nullptr ? new CStaticExAccessible(widget, label) : nullptr;
}

} // namespace

CStaticExAccessible::CStaticExAccessible(QWidget* widget, IAccessibleLabel* label)
    : QAccessibleWidget(widget), label_(label) {}

void CStaticExAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

QRect CStaticExAccessible::rect() const {
    // Qt hands its own scaled pixels to the accessibility bus, where a magnifier takes them
    // for the screen's: at a scale of 2 the focus would be shown at half its place. The
    // screen's pixels are given instead. A Wayland client knows no place on the screen.
    const QRect r = QAccessibleWidget::rect();
    const QWidget* w = widget();
    const QScreen* screen = w->screen();
    const qreal f = w->devicePixelRatioF();
    if (f == 1.0 || screen == nullptr ||
        QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        return r;
    }
    // A screen's corner is the same point in both kinds of pixels.
    const QPointF corner = screen->geometry().topLeft();
    const QPointF topLeft = (QPointF(r.topLeft()) - corner) * f + corner;
    return QRect(topLeft.toPoint(), (QSizeF(r.size()) * f).toSize());
}

QAccessible::Role CStaticExAccessible::role() const {
    // Over AT-SPI a combo box is announced as one that drops a list; ButtonDropDown would be
    // read as a plain push button.
    return label_->OpensList() ? QAccessible::ComboBox : QAccessible::StaticText;
}

QAccessible::State CStaticExAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    if (label_->OpensList()) {
        s.hasPopup = true;
    }
    return s;
}

QString CStaticExAccessible::text(QAccessible::Text t) const {
    const QString value = label_->SpokenValue();
    switch (t) {
    case QAccessible::Name: {
        const QString control = widget()->accessibleName();
        if (control.isEmpty()) {
            return value;
        }
        return value.isEmpty()
                   ? control
                   //: Spoken name of a label of the game window: %1 what it is, %2 what it shows.
                   : QCoreApplication::translate("CStaticExAccessible", "%1、%2")
                         .arg(control, value);
    }
    case QAccessible::Value:
        return value;
    default:
        return QAccessibleWidget::text(t);
    }
}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
CStaticExAccessible::relations(QAccessible::Relation match) const {
    auto rels = QAccessibleWidget::relations(match);
    const QWidget* self = widget();
    if ((match & QAccessible::Label) && label_->LabelledBy() != nullptr) {
        if (QAccessibleInterface* by =
                QAccessible::queryAccessibleInterface(label_->LabelledBy())) {
            rels.append({by, QAccessible::Label});
        }
    }
    // And the other way: the labels among its siblings that this one names.
    if ((match & QAccessible::Labelled) && self->parentWidget() != nullptr) {
        const auto siblings =
            self->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* named : siblings) {
            const auto* other = dynamic_cast<const IAccessibleLabel*>(named);
            if (other != nullptr && other->LabelledBy() == self) {
                if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(named)) {
                    rels.append({iface, QAccessible::Labelled});
                }
            }
        }
    }
    return rels;
}

QStringList CStaticExAccessible::actionNames() const {
    if (!label_->OpensList() || !widget()->isEnabled()) {
        return QAccessibleWidget::actionNames();
    }
    // The first is the default action.
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
}

void CStaticExAccessible::doAction(const QString& actionName) {
    if (label_->OpensList() && widget()->isEnabled() &&
        (actionName == showMenuAction() || actionName == pressAction())) {
        label_->Activate();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

} // namespace vostrel
