#pragma once
// What assistive technology sees of a coloured label (CStaticEx): a label that opens a list is a
// combo box that the player can focus and open; any other label is static text. Its name says which
// control it is and what it shows, so a screen reader that speaks only names still hears both.

#include <QAccessibleWidget>

namespace vostrel {

class IAccessibleLabel;

class CStaticExAccessible : public QAccessibleWidget {
public:
    CStaticExAccessible(QWidget* widget, IAccessibleLabel* label);

    // Makes Qt build this interface for every coloured label; once per process.
    static void Install();

    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match = QAccessible::AllRelations) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    IAccessibleLabel* label_;
};

} // namespace vostrel
