#include "LayoutCheck.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionButton>

namespace vostrel {
namespace {

std::string NameOf(const QWidget* w) {
    const QLabel* label = qobject_cast<const QLabel*>(w);
    const QAbstractButton* button = qobject_cast<const QAbstractButton*>(w);
    QString text = label ? label->text() : button ? button->text() : w->objectName();
    return (QString::fromLatin1(w->metaObject()->className()) + " '" + text + "'").toStdString();
}

// The room the text needs, without the style's minimum button width.
QSize TextNeed(const QWidget* w) {
    const QFontMetrics fm(w->font());
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        const QRect r = fm.boundingRect(QRect(), Qt::TextShowMnemonic, label->text());
        const int frame = 2 * label->frameWidth();
        return QSize(r.width() + frame, fm.height() + frame);
    }
    if (qobject_cast<const QCheckBox*>(w) != nullptr) {
        return w->sizeHint();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        const QRect r = fm.boundingRect(QRect(), Qt::TextShowMnemonic, button->text());
        return QSize(r.width() + 8, fm.height() + 4);
    }
    if (qobject_cast<const QLineEdit*>(w) != nullptr) {
        return QSize(0, fm.height() + 2);
    }
    return QSize(0, 0);
}

} // namespace

std::vector<std::string> LayoutProblems(const QWidget& window) {
    std::vector<std::string> problems;
    std::vector<const QWidget*> controls;
    for (const QWidget* w : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isVisibleTo(&window) && !w->isWindow()) {
            controls.push_back(w);
        }
    }
    const QRect client = window.rect();
    for (size_t i = 0; i < controls.size(); ++i) {
        const QWidget* w = controls[i];
        if (!client.contains(w->geometry())) {
            problems.push_back(NameOf(w) + " leaves the client area");
        }
        const QSize need = TextNeed(w);
        if (w->width() < need.width() || w->height() < need.height()) {
            problems.push_back(NameOf(w) + " is too small for its text");
        }
        for (size_t j = i + 1; j < controls.size(); ++j) {
            if (w->geometry().intersects(controls[j]->geometry())) {
                problems.push_back(NameOf(w) + " overlaps " + NameOf(controls[j]));
            }
        }
    }
    return problems;
}

} // namespace vostrel
